#include "runtime/program_path.h"

namespace {

// Position of the last backslash outside double-byte characters, or npos.
size_t LastBackslash(const std::string& s) {
    size_t found = std::string::npos;
    for (size_t i = 0; i < s.size(); ++i) {
        auto c = static_cast<unsigned char>(s[i]);
        if (c >= 0x80) {
            ++i;  // the trail byte of a GBK character may be 0x5C and is not a separator
        } else if (c == '\\') {
            found = i;
        }
    }
    return found;
}

}  // namespace

ProgramPath SplitProgramPath(const std::string& fullPath) {
    size_t at = LastBackslash(fullPath);
    if (at == std::string::npos) return {std::string(), fullPath};
    return {fullPath.substr(0, at), fullPath.substr(at + 1)};
}

std::string DirectoryWithBackslash(const std::string& fullPath) {
    size_t at = LastBackslash(fullPath);
    return at == std::string::npos ? std::string() : fullPath.substr(0, at + 1);
}
