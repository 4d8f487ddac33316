// Type data of the group box, maximum version 1, and its properties:
// one line per field, in the order of the type data.
#pragma once

#include "forms/type_data/described_properties.h"

#define MG_GROUP_BOX_FIELDS(F, V, U)                                                                 \
    F(uint32_t, frameStyle, 0, Prop(9, "FrameStyle", P::kPick))                                     \
    F(uint32_t, textColour, 0x00000000, Prop(10, "TextColour", P::kColour))                         \
    F(uint32_t, backgroundColour, kColourMarker, Prop(11, "BackgroundColour", P::kBackgroundColour)) \
    F(FontBlock, font, {}, Prop(12, "Font", P::kFont))                                              \
    F(std::string, caption, {}, Prop(8, "Caption", P::kText))
// The background colour's marker means the parent's colour.

struct GroupBoxData {
    static constexpr const char* kTypeName = "分组框";
    static constexpr const char* kEnglishName = "GroupBox";
    static constexpr uint32_t kMaxVersion = 1;
    MG_DESCRIBED_FIELDS(MG_GROUP_BOX_FIELDS)

    static std::optional<GroupBoxData> Parse(const uint8_t* data, size_t size) {
        return ParseTypeData<GroupBoxData>(data, size);
    }
    static std::vector<uint8_t> Write(const GroupBoxData& d) { return WriteTypeData(d); }
    bool operator==(const GroupBoxData&) const = default;
};
