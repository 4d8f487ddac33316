// Type data of the label, maximum version 2, and its properties: one
// line per field, in the order of the type data (the 16 words first, in their stored order,
// which is not the property order). Choices and colours without a name in this system are
// passed through as stored.
#pragma once

#include "forms/type_data/described_properties.h"

#define MG_LABEL_FIELDS(F, V, U)                                                                       \
    F(uint32_t, choice9, 0, Prop(9, "Choice9", P::kPick).Range(0, 3))                                  \
    F(uint32_t, integer11, 5, Prop(11, "Integer11", P::kInteger).Range(5, INT32_MAX))  /* at least 5 */ \
    F(uint32_t, border, 0, Prop(10, "Border", P::kPick).Range(0, 6))                                   \
    F(uint32_t, colour12, kColourMarker, Prop(12, "Colour12", P::kTransparentColour))                  \
    F(uint32_t, colour13, kColourMarker, Prop(13, "Colour13", P::kTransparentColour))                  \
    F(uint32_t, colour14, kColourMarker, Prop(14, "Colour14", P::kTransparentColour))                  \
    F(uint32_t, textColour, 0x00000000, Prop(16, "TextColour", P::kColour))                            \
    F(uint32_t, backgroundColour, kColourMarker, Prop(17, "BackgroundColour", P::kTransparentColour))  \
    F(uint32_t, choice19, 0, Prop(19, "Choice19", P::kPick).Range(0, 2))                               \
    F(uint32_t, choice20, 0, Prop(20, "Choice20", P::kPick).Range(0, 8))                               \
    F(uint32_t, colour21, kColourMarker, Prop(21, "Colour21", P::kColour))                             \
    F(uint32_t, colour22, kColourMarker, Prop(22, "Colour22", P::kColour))                             \
    F(uint32_t, colour23, kColourMarker, Prop(23, "Colour23", P::kColour))                             \
    F(uint32_t, choice24, 0, Prop(24, "Choice24", P::kPick).Range(0, 2))                               \
    F(uint32_t, choice26, 0, Prop(26, "Choice26", P::kPick).Range(0, 2))                               \
    F(uint32_t, switch25, 0, Prop(25, "Switch25", P::kSwitch))                                         \
    F(FontBlock, font, {}, Prop(15, "Font", P::kFont))                                                 \
    F(std::vector<uint8_t>, backgroundPicture, {}, Prop(18, "BackgroundPicture", P::kPicture))         \
    F(std::string, caption, {}, Prop(8, "Caption", P::kText))                                          \
    F(std::string, dataSource, {}, Prop(27, "DataSource", P::kDataBinding).Since(2))                   \
    F(std::string, dataColumn, {}, Prop(28, "DataColumn", P::kDataBinding).Since(2))
// A background colour of 0xFF000000 is transparent.

struct LabelData {
    static constexpr const char* kTypeName = "标签";
    static constexpr const char* kEnglishName = "Label";
    static constexpr uint32_t kMaxVersion = 2;
    MG_DESCRIBED_FIELDS(MG_LABEL_FIELDS)

    static std::optional<LabelData> Parse(const uint8_t* data, size_t size) {
        return ParseTypeData<LabelData>(data, size);
    }
    static std::vector<uint8_t> Write(const LabelData& d) { return WriteTypeData(d); }
    bool operator==(const LabelData&) const = default;
};
