// Type data of the button, maximum version 1, and its properties: one
// line per field, in the order of the type data.
#pragma once

#include "forms/type_data/described_properties.h"

#define MG_BUTTON_FIELDS(F, V, U)                                                                    \
    F(uint32_t, buttonType, 0, Prop(9, "ButtonType", P::kPick).Range(0, 1))                         \
    F(uint32_t, horizontalAlignment, 1,                                                              \
      Prop(11, "HorizontalAlignment", P::kPick).Range(0, 2).Names(kHorizontalChoices))              \
    F(uint32_t, verticalAlignment, 1, Prop(12, "VerticalAlignment", P::kPick).Range(0, 2).Names(kVerticalChoices)) \
    F(std::vector<uint8_t>, picture, {}, Prop(8, "Picture", P::kPicture))                           \
    F(FontBlock, font, {}, Prop(13, "Font", P::kFont))                                              \
    F(std::string, caption, {}, Prop(10, "Caption", P::kText))

#define MG_BUTTON_EVENTS(E) E(0, Click, ())

struct ButtonData {
    static constexpr const char* kTypeName = "按钮";
    static constexpr const char* kEnglishName = "Button";
    static constexpr uint32_t kMaxVersion = 1;
    MG_DESCRIBED_FIELDS(MG_BUTTON_FIELDS)
    MG_DESCRIBED_EVENTS(MG_BUTTON_EVENTS)

    static std::optional<ButtonData> Parse(const uint8_t* data, size_t size) {
        return ParseTypeData<ButtonData>(data, size);
    }
    static std::vector<uint8_t> Write(const ButtonData& d) { return WriteTypeData(d); }
    bool operator==(const ButtonData&) const = default;
};
