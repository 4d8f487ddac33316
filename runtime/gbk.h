// GBK character scanning. Every text in the program is GBK: a byte of 0x80 or
// more starts a two-byte character whose second byte must never be taken for
// a delimiter, terminator or character of its own.
#pragma once

#include <cstddef>
#include <cstdint>

namespace gbk {

// True when the byte starts a two-byte character.
constexpr bool IsLeadByte(uint8_t b) { return b >= 0x80; }
constexpr bool IsLeadByte(char c) { return IsLeadByte(static_cast<uint8_t>(c)); }

// Byte length of the character at p in a NUL-terminated text: 0 at the
// terminator, 1 for a single byte and for a lead byte followed by the NUL
// (a cut-off character must not step over the terminator), 2 otherwise.
inline size_t CharLength(const char* p) {
    if (*p == '\0') return 0;
    if (IsLeadByte(*p) && p[1] != '\0') return 2;
    return 1;
}

}  // namespace gbk
