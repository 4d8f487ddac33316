// The one description of each unit type's properties: complete property tables, property
// values read and written through it (ranges, parts of arrays, blocks that must be whole,
// versions), the form keys it gives, and the tools' names the form compiler writes from it.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "controls/list_view_data.h"
#include "controls/page_control_data.h"
#include "controls/trans_label_data.h"
#include "forms/type_data/button_data.h"
#include "forms/type_data/combo_box_data.h"
#include "forms/type_data/edit_box_data.h"
#include "forms/type_data/group_box_data.h"
#include "forms/type_data/label_data.h"
#include "forms/type_data/list_box_data.h"
#include "forms/type_data/status_bar_data.h"
#include "forms/units/timer_type.h"
#include "forms/type_data/window_data.h"
#include "tools/formc/form_compiler.h"

namespace {

UnitPropertyValue Int(int32_t v) {
    UnitPropertyValue p;
    p.integer = v;
    return p;
}

UnitPropertyValue Bytes(std::vector<uint8_t> b) {
    UnitPropertyValue p;
    p.bytes = std::move(b);
    return p;
}

// Every index from 8 on is described once, with a name, and the count is the framework's.
template <class Data>
void ExpectCompleteTable(size_t own) {
    SCOPED_TRACE(Data::kEnglishName);
    std::vector<FieldDescription> all = DescribedProperties<Data>();
    ASSERT_EQ(all.size(), own);
    std::set<std::string> names;
    for (size_t i = 0; i < all.size(); ++i) {
        EXPECT_EQ(all[i].index, static_cast<int32_t>(i) + kCommonPropertyCount);
        ASSERT_NE(all[i].name, nullptr);
        EXPECT_TRUE(names.insert(all[i].name).second) << all[i].name << " twice";
    }
}

}  // namespace

TEST(TypeDescription, EveryTypeDescribesEachOfItsPropertiesOnce) {
    ExpectCompleteTable<WindowData>(24);
    ExpectCompleteTable<EditBoxData>(21);
    ExpectCompleteTable<GroupBoxData>(5);
    ExpectCompleteTable<LabelData>(21);
    ExpectCompleteTable<ButtonData>(6);
    ExpectCompleteTable<ComboBoxData>(17);
    ExpectCompleteTable<ListBoxData>(14);
    ExpectCompleteTable<TimerData>(1);
    ExpectCompleteTable<PageControlData>(55);
    ExpectCompleteTable<StatusBarData>(6);
    ExpectCompleteTable<ListViewData>(31);
    ExpectCompleteTable<TransLabelData>(7);
}

TEST(TypeDescription, PropertyValuesGoThroughTheDescription) {
    // A write is clamped to the property's range; a read gives what was stored.
    TransLabelData label;
    ASSERT_TRUE(StoreDescribedProperty(label, 9, Int(7)));
    EXPECT_EQ(label.effect, 3u);
    ASSERT_TRUE(StoreDescribedProperty(label, 12, Int(-4)));
    EXPECT_EQ(label.horizontalAlignment, 0u);
    UnitPropertyValue v;
    ASSERT_TRUE(LoadDescribedProperty(label, 9, &v));
    EXPECT_EQ(v.integer, 3);
    EXPECT_FALSE(LoadDescribedProperty(label, 15, &v)) << "past the last property";

    // A property that is one element of a stored array reads and writes that element.
    PageControlData pages;
    ASSERT_TRUE(StoreDescribedProperty(pages, 28, Int(0x123456)));
    EXPECT_EQ(pages.colours[9], 0x123456u);
    ASSERT_TRUE(StoreDescribedProperty(pages, 16, Int(5)));
    EXPECT_EQ(pages.settingsB[1], 5u);
    EXPECT_FALSE(StoreDescribedProperty(pages, 50, Int(1))) << "not stored";

    // A block is taken whole or not at all, and read back as the block it was.
    StatusBarData bar;
    StatusBarPart part;
    part.text = "a";
    std::vector<uint8_t> block = StatusBarData::WriteParts({part});
    ASSERT_TRUE(StoreDescribedProperty(bar, PropertyIndex<StatusBarData>("Parts"), Bytes(block)));
    ASSERT_EQ(bar.parts.size(), 1u);
    std::vector<uint8_t> longer = block;
    longer.push_back(0);
    EXPECT_FALSE(StoreDescribedProperty(bar, PropertyIndex<StatusBarData>("Parts"), Bytes(longer)));
    EXPECT_EQ(bar.parts.size(), 1u) << "a refused block leaves the parts alone";
    ASSERT_TRUE(LoadDescribedProperty(bar, 13, &v));
    EXPECT_EQ(v.bytes, block);

    // An item list travels as an item list block.
    ComboBoxData combo;
    combo.items = {"x", "yz"};
    ASSERT_TRUE(LoadDescribedProperty(combo, 20, &v));
    ComboBoxData other;
    ASSERT_TRUE(StoreDescribedProperty(other, 20, v));
    EXPECT_EQ(other.items, combo.items);
    // ... and, like every block, it is refused unless it holds exactly its items.
    std::vector<uint8_t> cut = v.bytes;
    cut.pop_back();
    for (const std::vector<uint8_t>& bad : {std::vector<uint8_t>{1, 2, 3}, cut})
        EXPECT_FALSE(StoreDescribedProperty(other, 20, Bytes(bad)));
    EXPECT_EQ(other.items, combo.items);
    EXPECT_TRUE(StoreDescribedProperty(other, 20, Bytes({})));
    EXPECT_TRUE(other.items.empty()) << "the empty block is no items";
}

TEST(TypeDescription, FieldsFromALaterVersionKeepTheirDefaultsInOlderData) {
    WindowData d;
    d.className = "C";
    d.alwaysOnTop = 1;
    std::vector<uint8_t> stored = WindowData::Write(d);
    // Version 3 data has neither the always-on-top switch (4), the switch 30 (5) nor the class
    // name (6): drop their bytes and mark the data version 3.
    const size_t words = 4 + 4 * 16;  // version, then the words up to choice 28
    std::vector<uint8_t> old(stored.begin(), stored.begin() + words);
    old.insert(old.end(), stored.begin() + words + 4 + 4 + 4 + 1, stored.end());
    old[0] = 3;
    std::optional<WindowData> back = WindowData::Parse(old.data(), old.size());
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->alwaysOnTop, 0u);
    EXPECT_EQ(back->className, "");
    EXPECT_EQ(back->caption, d.caption);
}

TEST(TypeDescription, FormKeysComeFromTheNamesUnlessTheDescriptionGivesOne) {
    EXPECT_EQ(FormKeyOf(Prop(11, "TextColour", PropertyType::kColour)), "text_colour");
    EXPECT_EQ(FormKeyOf(Prop(14, "Switch14", PropertyType::kSwitch)), "switch_14");
    EXPECT_EQ(FormKeyOf(Prop(22, "SpinMinimum", PropertyType::kInteger).Key("spin_min")), "spin_min");
    EXPECT_EQ(FormKeyOf(Stored()), "");
}

// The tools' typed names are written from the descriptions: each property the tools can
// hold a value of appears once, with its index.
TEST(TypeDescription, TheToolsNamesAreWrittenFromTheDescriptions) {
    const std::string header = UnitPropertyNamesSource();
    EXPECT_NE(header.find("struct TransLabel : Common {"), std::string::npos);
    EXPECT_NE(header.find("Property<TransLabel, TextValue> Caption{8, \"Caption\"};"), std::string::npos);
    EXPECT_NE(header.find("Property<EditBox, TextValue> Content{8, \"Content\"};"), std::string::npos);
    EXPECT_NE(header.find("Property<ComboBox, int32_t> CurrentSelection{19, \"CurrentSelection\"};"), std::string::npos);
    EXPECT_NE(header.find("Property<ListView, bool> GridLines{22, \"GridLines\"};"), std::string::npos);
    EXPECT_EQ(header.find("Font{"), std::string::npos) << "a font has no tools' value";
    // Every switch of the super list box, each by its index.
    const std::pair<const char*, int> switches[] = {
        {"AutoArrange", 15},     {"LabelWrap", 16},   {"NoColumnHeader", 18},  {"ClickableHeader", 20},
        {"FullRowSelect", 21},   {"GridLines", 22},   {"HeaderDragDrop", 23},  {"HotTracking", 26},
        {"HandCursor", 27},      {"UnderlineCold", 28}, {"UnderlineHot", 29},  {"EditableLabels", 30},
        {"CheckBoxes", 32},      {"FlatScrollBars", 33}, {"SingleSelection", 34}, {"AlwaysShowSelection", 36},
    };
    size_t listViewSwitches = 0;
    for (size_t at = 0; (at = header.find("Property<ListView, bool> ", at)) != std::string::npos; ++at) ++listViewSwitches;
    EXPECT_EQ(listViewSwitches, std::size(switches));
    for (auto [name, index] : switches) {
        std::string line = "Property<ListView, bool> " + std::string(name) + "{" + std::to_string(index) + ", \"" + name + "\"};";
        EXPECT_NE(header.find(line), std::string::npos) << line;
    }
}
