// Type data of the transparent label, maximum version 1, and its
// properties: one line per field, in the order of the type data.
#pragma once

#include "forms/type_data/described_properties.h"

#define MG_TRANS_LABEL_FIELDS(F, V, U)                                                                          \
    F(uint32_t, effect, 0, Prop(9, "Effect", P::kPick).Range(0, 3))  /* 0 none, 1-3 raised and shadowed */      \
    F(uint32_t, textColour, 0x00000000, Prop(11, "TextColour", P::kColour))                                   \
    F(uint32_t, horizontalAlignment, 0,                                                                        \
      Prop(12, "HorizontalAlignment", P::kPick).Range(0, 2).Names(kHorizontalChoices))                        \
    F(uint32_t, verticalAlignment, 1, Prop(14, "VerticalAlignment", P::kPick).Range(0, 2).Names(kVerticalChoices)) \
    F(uint32_t, wordWrap, 0, Prop(13, "WordWrap", P::kSwitch))                                                \
    F(FontBlock, font, {}, Prop(10, "Font", P::kFont))  /* empty: the default GUI font */                      \
    F(std::string, caption, "\xCD\xB8\xC3\xF7\xB1\xEA\xC7\xA9", Prop(8, "Caption", P::kText))  /* "透明标签" */

struct TransLabelData {
    static constexpr const char* kTypeName = "透明标签";
    static constexpr const char* kEnglishName = "TransLabel";
    static constexpr uint32_t kMaxVersion = 1;
    MG_DESCRIBED_FIELDS(MG_TRANS_LABEL_FIELDS)

    static std::optional<TransLabelData> Parse(const uint8_t* data, size_t size) {
        return ParseTypeData<TransLabelData>(data, size);
    }
    static std::vector<uint8_t> Write(const TransLabelData& d) { return WriteTypeData(d); }
    bool operator==(const TransLabelData&) const = default;
};
