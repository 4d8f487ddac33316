// A host list file as the monitor reads it: the file's bytes turned into text (up to the
// first NUL), split at the separator box's text, taken in label and address pairs.
// Input layout: byte 0 the separator length (mod 4), the separator, then the file.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "runtime/text_split.h"
#include "runtime/value_text.h"
#include "toolbox/host_list_rules.h"

namespace {

// The file as a byte set block {1, n, bytes}, the way ReadFile hands it over.
std::vector<uint32_t> ByteSetBlock(const uint8_t* data, size_t size) {
    std::vector<uint32_t> words = {1, static_cast<uint32_t>(size)};
    words.resize(2 + (size + 3) / 4);
    if (size) std::memcpy(words.data() + 2, data, size);
    return words;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    size_t separatorLength = data[0] % 4;
    if (size < 1 + separatorLength) return 0;
    // The box holds a text: it ends at its first NUL, and may be empty.
    std::string separator(reinterpret_cast<const char*>(data + 1), separatorLength);
    separator = separator.c_str();

    std::vector<uint32_t> block = ByteSetBlock(data + 1 + separatorLength, size - 1 - separatorLength);
    std::string content = ValueToText(ArgValue::OfPointer(block.data(), kTagBytes));
    if (content.find('\0') != std::string::npos) std::abort();

    std::vector<std::string> fields = SplitText(content.c_str(), separator.c_str());
    int32_t hosts = HostCount(fields.size());
    // Every host has both of its fields; at most one unpaired field is left over.
    if (hosts < 0 || fields.size() - 2 * static_cast<size_t>(hosts) > 1) std::abort();
    for (int32_t host = 0; host < hosts; ++host) {
        if (AddressField(host) >= fields.size()) std::abort();
        (void)fields[LabelField(host)].size();
    }
    if (InsideGroupHeight(hosts) < 12 || OutsideGroupHeight(hosts) < 0) std::abort();
    return 0;
}
