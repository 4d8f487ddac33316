// Type data of the combo box, maximum version 3, and its properties:
// one line per field, in the order of the type data. At most 65535 items are stored.
#pragma once

#include "forms/type_data/described_properties.h"

#define MG_COMBO_BOX_FIELDS(F, V, U)                                                                 \
    F(uint32_t, style, 1, Prop(8, "Style", P::kPick).Range(0, 2))                                   \
    F(uint32_t, maxLength, 0, Prop(10, "MaxLength", P::kInteger).Range(0, 32767))                   \
    F(uint32_t, selectionStart, 0, Prop(11, "SelectionStart", P::kInteger))                         \
    F(uint32_t, selectionLength, 0, Prop(12, "SelectionLength", P::kInteger))                       \
    F(uint32_t, switch14, 0, Prop(14, "Switch14", P::kSwitch))                                      \
    F(uint32_t, itemSpacing, 1, Prop(15, "ItemSpacing", P::kInteger).Range(0, 32767))  /* pixels */  \
    F(uint32_t, textColour, 0x00000000, Prop(16, "TextColour", P::kColour))                         \
    F(uint32_t, backgroundColour, 0x00FFFFFF, Prop(17, "BackgroundColour", P::kBackgroundColour))   \
    F(int32_t, currentSelection, -1, Prop(19, "CurrentSelection", P::kInteger))  /* -1 none */       \
    F(FontBlock, font, {}, Prop(18, "Font", P::kFont))                                              \
    F(std::vector<uint8_t>, itemValues, {}, Prop(21, "ItemValues", P::kCustomData))                 \
    F(std::string, content, {}, Prop(9, "Content", P::kPickText))                                   \
    F(std::vector<std::string>, items, {}, Prop(20, "Items", P::kCustomData))                       \
    F(std::string, dataSource, {}, Prop(22, "DataSource", P::kDataBinding).Since(2))                \
    F(std::string, dataColumn, {}, Prop(23, "DataColumn", P::kDataBinding).Since(2))                \
    F(uint32_t, switch24, 0, Prop(24, "Switch24", P::kSwitch).Since(3))                             \
    U(Prop(13, "SelectedText", P::kText))

#define MG_COMBO_BOX_EVENTS(E) E(0, SelectionChanged, ())

struct ComboBoxData {
    static constexpr const char* kTypeName = "组合框";
    static constexpr const char* kEnglishName = "ComboBox";
    static constexpr uint32_t kMaxVersion = 3;
    MG_DESCRIBED_FIELDS(MG_COMBO_BOX_FIELDS)
    MG_DESCRIBED_EVENTS(MG_COMBO_BOX_EVENTS)

    static std::optional<ComboBoxData> Parse(const uint8_t* data, size_t size) {
        return ParseTypeData<ComboBoxData>(data, size);
    }
    static std::vector<uint8_t> Write(const ComboBoxData& d) { return WriteTypeData(d); }
    bool operator==(const ComboBoxData&) const = default;
};
