// Type data of the list box, maximum version 3, and its properties:
// one line per field, in the order of the type data. At most 65535 items are stored.
#pragma once

#include "forms/type_data/described_properties.h"

#define MG_LIST_BOX_FIELDS(F, V, U)                                                                  \
    F(uint32_t, border, 1, Prop(8, "Border", P::kPick).Range(0, 5))                                 \
    F(uint32_t, switch9, 0, Prop(9, "Switch9", P::kSwitch))                                         \
    F(uint32_t, switch10, 0, Prop(10, "Switch10", P::kSwitch))                                      \
    F(uint32_t, itemSpacing, 1, Prop(11, "ItemSpacing", P::kInteger).Range(0, 32767))  /* pixels */  \
    F(uint32_t, textColour, 0x00000000, Prop(12, "TextColour", P::kColour))                         \
    F(uint32_t, backgroundColour, 0x00FFFFFF, Prop(13, "BackgroundColour", P::kBackgroundColour))   \
    F(uint32_t, switch15, 0, Prop(15, "Switch15", P::kSwitch))                                      \
    F(int32_t, currentSelection, -1, Prop(16, "CurrentSelection", P::kInteger))  /* -1 none */       \
    F(FontBlock, font, {}, Prop(14, "Font", P::kFont))                                              \
    F(std::vector<uint8_t>, itemValues, {}, Prop(18, "ItemValues", P::kCustomData))                 \
    F(std::vector<std::string>, items, {}, Prop(17, "Items", P::kCustomData))                       \
    F(std::string, dataSource, {}, Prop(19, "DataSource", P::kDataBinding).Since(2))                \
    F(std::string, dataColumn, {}, Prop(20, "DataColumn", P::kDataBinding).Since(2))                \
    F(uint32_t, switch21, 0, Prop(21, "Switch21", P::kSwitch).Since(3))

struct ListBoxData {
    static constexpr const char* kTypeName = "列表框";
    static constexpr const char* kEnglishName = "ListBox";
    static constexpr uint32_t kMaxVersion = 3;
    MG_DESCRIBED_FIELDS(MG_LIST_BOX_FIELDS)

    static std::optional<ListBoxData> Parse(const uint8_t* data, size_t size) {
        return ParseTypeData<ListBoxData>(data, size);
    }
    static std::vector<uint8_t> Write(const ListBoxData& d) { return WriteTypeData(d); }
    bool operator==(const ListBoxData&) const = default;
};
