// Pieces shared by the type-data codecs: fonts, colours, item lists and the version header.
//
// Every type-data block starts with a u32 format version; an empty block means that all
// properties keep their defaults. A codec refuses a version above its maximum and data
// that ends inside a field; bytes after the last field are ignored. Write always stores
// the maximum version, so Parse(Write(x)) == x for every x whose texts hold no NUL.
// Portable: no Windows header.
#pragma once

#include <cstdint>
#include <cstring>
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "forms/template_cursor.h"
#include "forms/template_writer.h"

// Colours are COLORREF values (0x00BBGGRR); a set top byte is the runtime's marker for a
// default or transparent colour (labels: transparent background) and is not an RGB value.
constexpr uint32_t kColourMarker = 0xFF000000;
constexpr bool IsColourMarker(uint32_t colour) { return (colour & 0xFF000000) != 0; }

// A LOGFONTA exactly as it lies in memory (LONG is 32 bits on every Windows target), so
// the Windows side can memcpy the 60 bytes into a LOGFONTA and back.
struct LogFontBytes {
    int32_t height = 0;
    int32_t width = 0;
    int32_t escapement = 0;
    int32_t orientation = 0;
    int32_t weight = 0;
    uint8_t italic = 0;
    uint8_t underline = 0;
    uint8_t strikeOut = 0;
    uint8_t charSet = 0;
    uint8_t outPrecision = 0;
    uint8_t clipPrecision = 0;
    uint8_t quality = 0;
    uint8_t pitchAndFamily = 0;
    char faceName[32] = {};  // GBK, NUL-terminated; a leading NUL is an empty face name

    std::string Face() const {
        size_t n = 0;
        while (n < sizeof faceName && faceName[n]) ++n;
        return std::string(faceName, n);
    }
    // Stores up to 31 bytes and zero-fills the rest; false when the name was longer.
    bool SetFace(std::string_view face) {
        std::memset(faceName, 0, sizeof faceName);
        size_t n = face.size() < sizeof faceName ? face.size() : sizeof faceName - 1;
        std::memcpy(faceName, face.data(), n);
        return n == face.size();
    }
    bool operator==(const LogFontBytes& o) const { return std::memcmp(this, &o, sizeof *this) == 0; }
};
static_assert(sizeof(LogFontBytes) == 60, "a stored font is the 60-byte LOGFONTA");

inline LogFontBytes LogFontFromBytes(const uint8_t* p) {
    LogFontBytes f;
    std::memcpy(&f, p, sizeof f);  // little-endian host, as on every target
    return f;
}
inline std::vector<uint8_t> LogFontToBytes(const LogFontBytes& f) {
    const uint8_t* p = reinterpret_cast<const uint8_t*>(&f);
    return std::vector<uint8_t>(p, p + sizeof f);
}

// A font property as stored: empty for the unit's default font, 60 bytes for a LOGFONTA.
// Other lengths also mean the default font; the bytes are kept so that nothing is lost.
using FontBlock = std::vector<uint8_t>;
inline std::optional<LogFontBytes> DecodeFont(const FontBlock& block) {
    if (block.size() != sizeof(LogFontBytes)) return std::nullopt;
    return LogFontFromBytes(block.data());
}
inline FontBlock EncodeFont(const LogFontBytes& f) { return LogFontToBytes(f); }

// Reads the version word; false for a version above max (the unit is then not created).
inline bool ReadTypeDataVersion(TemplateCursor& c, uint32_t maxVersion, uint32_t* version) {
    *version = c.U32();
    return c.ok() && *version <= maxVersion;
}

// A zero-terminated text of a type-data block. A text cannot hold a NUL there, so a
// text is written up to its first NUL.
inline void WriteZText(TemplateWriter& w, std::string_view s) { w.ZText(s.substr(0, s.find('\0'))); }

// Item list of combo and list boxes: u16 count, then each item as a counted text.
// More than 65535 items cannot be stored; Write keeps the first 65535.
inline std::vector<std::string> ReadItemList(TemplateCursor& c) {
    uint16_t count = c.U16();
    std::vector<std::string> items;
    if (!c.CountFits(count, 4)) return items;
    items.reserve(count);
    for (uint16_t i = 0; i < count && c.ok(); ++i) items.push_back(c.CountedText());
    return items;
}
// An item list written to its property as a block of its own: it must hold exactly its
// items, and the empty block is no items. nullopt for anything else, which is refused whole.
inline std::optional<std::vector<std::string>> ParseItemListBlock(const std::vector<uint8_t>& block) {
    if (block.empty()) return std::vector<std::string>{};
    TemplateCursor c(block.data(), block.size());
    std::vector<std::string> items = ReadItemList(c);
    if (!c.ok() || !c.AtEnd()) return std::nullopt;
    return items;
}
inline void WriteItemList(TemplateWriter& w, const std::vector<std::string>& items) {
    size_t count = items.size() < 0xFFFF ? items.size() : 0xFFFF;
    w.U16(static_cast<uint16_t>(count));
    for (size_t i = 0; i < count; ++i) w.CountedText(items[i]);
}
