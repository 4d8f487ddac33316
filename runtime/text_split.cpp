#include "runtime/text_split.h"

#include <cstring>

#include "runtime/gbk.h"

std::vector<std::string> SplitText(const char* text, const char* delimiter, std::optional<int32_t> maximum) {
    std::vector<std::string> members;
    if (!text) text = "";
    if (!delimiter) delimiter = "";
    bool limited = maximum.has_value();
    int64_t left = limited ? (*maximum < 0 ? 0 : *maximum) : 0;
    size_t length = std::strlen(text);
    if (length == 0 || (limited && left == 0)) return members;
    size_t delimiterLength = std::strlen(delimiter);
    if (delimiterLength == 0) {
        members.emplace_back(text, length);
        return members;
    }

    size_t pos = 0;
    size_t start = 0;
    while (length - pos >= delimiterLength) {
        if (std::memcmp(text + pos, delimiter, delimiterLength) == 0) {
            members.emplace_back(text + start, pos - start);
            pos += delimiterLength;
            start = pos;
            if (limited && --left == 0) break;
        } else if (gbk::IsLeadByte(text[pos])) {
            if (text[pos + 1] == '\0') break;  // a cut-off character ends the scan
            pos += 2;
        } else {
            ++pos;
        }
    }
    if (start < length && !(limited && left == 0)) members.emplace_back(text + start, length - start);
    return members;
}
