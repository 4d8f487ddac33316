// SplitText with delimiter and maximum taken from the input. Input layout:
// byte 0 the maximum (0xFF: none, otherwise a signed byte), byte 1 the
// delimiter length (mod 4), the delimiter, then the text.
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "runtime/gbk.h"
#include "runtime/text_split.h"

namespace {

std::string Join(const std::vector<std::string>& members, const std::string& delimiter) {
    std::string out;
    for (size_t i = 0; i < members.size(); ++i) {
        if (i) out += delimiter;
        out += members[i];
    }
    return out;
}

// Within a member the delimiter must not start at any character boundary, and
// a member that a delimiter ends must end on a boundary (the scan never cuts a
// character in two).
bool IsWellCut(const std::string& member, const std::string& delimiter, bool last) {
    size_t pos = 0;
    while (pos < member.size()) {
        if (pos + delimiter.size() <= member.size() && member.compare(pos, delimiter.size(), delimiter) == 0)
            return false;
        pos += gbk::IsLeadByte(member[pos]) ? 2 : 1;
    }
    return last || pos == member.size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    std::optional<int32_t> maximum;
    if (data[0] != 0xFF) maximum = static_cast<int8_t>(data[0]);
    size_t delimiterLength = data[1] % 4;
    if (size < 2 + delimiterLength) return 0;
    std::string delimiter(reinterpret_cast<const char*>(data + 2), delimiterLength);
    delimiter = delimiter.c_str();
    std::string text(reinterpret_cast<const char*>(data + 2 + delimiterLength), size - 2 - delimiterLength);
    text = text.c_str();

    std::vector<std::string> all = SplitText(text.c_str(), delimiter.c_str());
    std::vector<std::string> limited = SplitText(text.c_str(), delimiter.c_str(), maximum);

    // A maximum only cuts the list.
    if (maximum) {
        size_t keep = *maximum < 0 ? 0 : static_cast<size_t>(*maximum);
        std::vector<std::string> prefix(all.begin(), all.begin() + std::min(keep, all.size()));
        if (limited != prefix) std::abort();
    } else if (limited != all) {
        std::abort();
    }

    if (text.empty()) {
        if (!all.empty()) std::abort();
        return 0;
    }
    if (delimiter.empty()) {
        if (all.size() != 1 || all[0] != text) std::abort();
        return 0;
    }
    // Members and delimiters give back the text, less at most one trailing delimiter.
    std::string joined = Join(all, delimiter);
    if (joined != text && joined + delimiter != text) std::abort();
    for (size_t i = 0; i < all.size(); ++i)
        if (!IsWellCut(all[i], delimiter, i + 1 == all.size() && joined == text)) std::abort();
    return 0;
}
