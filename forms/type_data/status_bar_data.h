// Type data of the status bar, maximum version 1, and its properties:
// one line per field, in the order of the type data.
//
// The parts block (property 13) is a u32 part count, then per part: i32 width, u32 flags,
// i32 image index (-1 none), the text and the tip text (zero-terminated). An empty block
// means no parts; Write stores an empty part list as an empty block. The block must hold
// exactly its parts: a short or overlong parts block makes Parse fail, since the property
// is rebuilt from the parsed parts and anything else in it would be lost silently.
#pragma once

#include "forms/type_data/described_properties.h"

#define MG_STATUS_BAR_PART_FIELDS(F, V, U)                                  \
    F(int32_t, width, -1, Stored("width"))  /* pixels; -1 reaches the right edge */ \
    F(uint32_t, flags, 0, Stored("flags"))                                  \
    F(int32_t, image, -1, Stored("image"))  /* image list index, -1 none */ \
    F(std::string, text, {}, Stored("text").ZeroEnded())                    \
    F(std::string, tip, {}, Stored("tip").ZeroEnded())

struct StatusBarPart {
    MG_DESCRIBED_FIELDS(MG_STATUS_BAR_PART_FIELDS)
    bool operator==(const StatusBarPart&) const = default;
};

template <>
struct BlockCodec<std::vector<StatusBarPart>> {
    static std::optional<std::vector<StatusBarPart>> Parse(const uint8_t* data, size_t size);
    static std::vector<uint8_t> Write(const std::vector<StatusBarPart>& parts);
};

#define MG_STATUS_BAR_FIELDS(F, V, U)                                                               \
    F(uint32_t, backgroundColour, kColourMarker, Prop(8, "BackgroundColour", P::kBackgroundColour)) \
    F(uint32_t, style, 0, Prop(9, "Style", P::kPick))                                              \
    F(uint32_t, switch10, 0, Prop(10, "Switch10", P::kSwitch))                                     \
    F(FontBlock, font, {}, Prop(11, "Font", P::kFont))                                             \
    F(std::vector<uint8_t>, imageList, {}, Prop(12, "ImageList", P::kImageList))                   \
    F(std::vector<StatusBarPart>, parts, {}, Prop(13, "Parts", P::kCustomData))
// The background colour's marker means the system's colour; the image list is a "MITL"
// block, empty for none.

struct StatusBarData {
    static constexpr const char* kTypeName = "状态条";
    static constexpr const char* kEnglishName = "StatusBar";
    static constexpr uint32_t kMaxVersion = 1;
    MG_DESCRIBED_FIELDS(MG_STATUS_BAR_FIELDS)

    static std::optional<std::vector<StatusBarPart>> ParseParts(const uint8_t* data, size_t size) {
        return BlockCodec<std::vector<StatusBarPart>>::Parse(data, size);
    }
    static std::vector<uint8_t> WriteParts(const std::vector<StatusBarPart>& parts) {
        return BlockCodec<std::vector<StatusBarPart>>::Write(parts);
    }
    static std::optional<StatusBarData> Parse(const uint8_t* data, size_t size) {
        return ParseTypeData<StatusBarData>(data, size);
    }
    static std::vector<uint8_t> Write(const StatusBarData& d) { return WriteTypeData(d); }
    bool operator==(const StatusBarData&) const = default;
};
