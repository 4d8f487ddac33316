// Type-data codecs: defaults of an empty block, round trips, version limits, truncation,
// older versions, and the byte layouts that other code reads directly.
#include <gtest/gtest.h>

#include <cstddef>

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

namespace {

FontBlock Kai() {
    LogFontBytes f;
    f.height = -12;
    f.weight = 400;
    f.charSet = 134;
    f.SetFace("\xBF\xAC\xCC\xE5");  // 楷体
    return EncodeFont(f);
}

// A value of each type with every field away from its default.
template <typename T>
T Varied();

template <>
WindowData Varied() {
    WindowData d;
    d.borderStyle = 6, d.pictureSetting = 3, d.backgroundColour = 0xECECEC, d.maximiseBox = 1, d.minimiseBox = 0;
    d.controlBox = 0, d.position = 1, d.movable = 0, d.soundSetting = 2, d.switch21 = 1, d.switch22 = 1, d.switch23 = 1;
    d.integer25 = 7, d.showInTaskbar = 0, d.switch27 = 1, d.choice28 = 29, d.alwaysOnTop = 1, d.switch30 = 1;
    d.className = "cls", d.backgroundPicture = {1, 2}, d.icon = {3}, d.backgroundMusic = {4, 5, 6}, d.caption = "cap", d.fileName = "f";
    return d;
}
template <>
EditBoxData Varied() {
    EditBoxData d;
    d.border = 3, d.textColour = 0xFF, d.backgroundColour = 0x80000005, d.hideSelection = 0, d.maxLength = 3, d.multiLine = 1;
    d.scrollBars = 3, d.alignment = 2, d.inputMode = EditBoxData::kDouble, d.passwordChar = '#', d.caseConversion = 2;
    d.spinMode = 1, d.spinMin = -5, d.spinMax = 5, d.selectionStart = 1, d.selectionLength = 2, d.font = Kai();
    d.content = "6", d.dataSource = "s", d.dataColumn = "c";
    return d;
}
template <>
LabelData Varied() {
    LabelData d;
    d.choice9 = 3, d.integer11 = 9, d.border = 6, d.colour12 = 1, d.colour13 = 2, d.colour14 = 3, d.textColour = 4;
    d.backgroundColour = 5, d.choice19 = 2, d.choice20 = 8, d.colour21 = 6, d.colour22 = 7, d.colour23 = 8, d.choice24 = 2;
    d.choice26 = 1, d.switch25 = 1, d.font = {1, 2, 3}, d.backgroundPicture = {9}, d.caption = "x", d.dataSource = "s";
    d.dataColumn = "c";
    return d;
}
template <>
GroupBoxData Varied() {
    GroupBoxData d;
    d.frameStyle = 1, d.textColour = 2, d.backgroundColour = 3, d.font = Kai(), d.caption = "g";
    return d;
}
template <>
ButtonData Varied() {
    ButtonData d;
    d.buttonType = 1, d.horizontalAlignment = 0, d.verticalAlignment = 2, d.picture = {1}, d.font = Kai(), d.caption = "b";
    return d;
}
template <>
TimerData Varied() {
    TimerData d;
    d.interval = 1000;
    return d;
}
template <>
ComboBoxData Varied() {
    ComboBoxData d;
    d.style = 2, d.maxLength = 32767, d.selectionStart = 1, d.selectionLength = 1, d.switch14 = 1, d.itemSpacing = 0;
    d.textColour = 1, d.backgroundColour = 2, d.currentSelection = 1, d.font = Kai(), d.itemValues = {0, 1};
    d.content = "c", d.items = {"a", "", "ccc"}, d.dataSource = "s", d.dataColumn = "c", d.switch24 = 1;
    return d;
}
template <>
ListBoxData Varied() {
    ListBoxData d;
    d.border = 5, d.switch9 = 1, d.switch10 = 1, d.itemSpacing = 4, d.textColour = 1, d.backgroundColour = 2, d.switch15 = 1;
    d.currentSelection = 0, d.font = Kai(), d.itemValues = {7}, d.items = {"x", "y"}, d.dataSource = "s", d.dataColumn = "c";
    d.switch21 = 1;
    return d;
}
template <>
StatusBarData Varied() {
    StatusBarData d;
    d.backgroundColour = 0xECECEC, d.style = 1, d.switch10 = 1, d.font = Kai(), d.imageList = {'M', 'I', 'T', 'L'};
    d.parts = {{100, 1, 2, "a", "tip"}, {-1, 0, -1, "", ""}};
    return d;
}
template <>
TransLabelData Varied() {
    TransLabelData d;
    d.caption = "", d.effect = 2, d.font = Kai(), d.textColour = 0xFF0000, d.horizontalAlignment = 2, d.wordWrap = 1;
    d.verticalAlignment = 0;
    return d;
}
template <>
PageControlData Varied() {
    PageControlData d;
    d.settingsA = {1, 2, 3, 4};
    d.tabFont.height = -16;
    PageControlPage a, b;
    a.caption = "one", a.secondText = "first", a.hidden = 1, a.subEntries = {{1, 2, 3, 4}, {5, 6, 7, 8}};
    b.caption = "two", b.tabSettings[19] = 5;
    d.pages = {a, b};
    d.settingsB = {1, 1, 1, 1}, d.imageBlocks[2] = {1, 2}, d.setting16 = 3, d.colours[3] = 77, d.settings29 = {1, 2};
    d.ignored31 = {3, 4, 5}, d.settings34 = {0, 0xECECEC, 0xECECEC, 0xECECEC}, d.setting38 = 1, d.setting39 = 2;
    d.setting40 = 3, d.setting41 = 4;
    return d;
}
template <>
ListViewData Varied() {
    ListViewData d;
    d.border = 2, d.textColour = 1, d.textBackgroundColour = 2, d.backgroundColour = 3, d.viewType = 3, d.iconArrangement = 1;
    d.autoArrange = 1, d.labelWrap = 0, d.noColumnHeader = 1, d.clickableHeader = 0, d.fullRowSelect = 1, d.gridLines = 1;
    d.headerDragDrop = 1, d.hotTracking = 1, d.handCursor = 1, d.underlineCold = 1, d.underlineHot = 1, d.editableLabels = 1;
    d.sortOrder = 2, d.checkBoxes = 1, d.flatScrollBars = 1, d.singleSelection = 1, d.currentSelection = 4;
    d.alwaysShowSelection = 1, d.font = Kai(), d.headerImageList = {1}, d.itemImageList = {2}, d.stateImageList = {3};
    d.columns = {{1, 2, 1, 18, " "}, {0, -1, 0, 50, "addr"}};
    d.rows = {{{0, 1, 0, 0, 9, "a", "t"}, {1, -1, 1, 2, 3, "", ""}}, {}};
    return d;
}

template <typename T>
class TypeDataCodec : public ::testing::Test {};
using Codecs = ::testing::Types<WindowData, EditBoxData, LabelData, GroupBoxData, ButtonData, TimerData, ComboBoxData,
                                ListBoxData, StatusBarData, TransLabelData, PageControlData, ListViewData>;
TYPED_TEST_SUITE(TypeDataCodec, Codecs);

TYPED_TEST(TypeDataCodec, EmptyDataKeepsTheDefaults) {
    auto d = TypeParam::Parse(nullptr, 0);
    ASSERT_TRUE(d);
    EXPECT_EQ(*d, TypeParam{});
}

TYPED_TEST(TypeDataCodec, WriteThenParseGivesTheSameProperties) {
    for (const TypeParam& value : {TypeParam{}, Varied<TypeParam>()}) {
        std::vector<uint8_t> bytes = TypeParam::Write(value);
        TemplateCursor c(bytes.data(), bytes.size());
        EXPECT_EQ(c.U32(), TypeParam::kMaxVersion);
        auto back = TypeParam::Parse(bytes.data(), bytes.size());
        ASSERT_TRUE(back);
        EXPECT_EQ(*back, value);
        EXPECT_EQ(TypeParam::Write(*back), bytes);
    }
    EXPECT_NE(Varied<TypeParam>(), TypeParam{});
}

TYPED_TEST(TypeDataCodec, VersionAboveTheMaximumIsRefused) {
    std::vector<uint8_t> bytes = TypeParam::Write(Varied<TypeParam>());
    bytes[0] = static_cast<uint8_t>(TypeParam::kMaxVersion + 1);
    EXPECT_FALSE(TypeParam::Parse(bytes.data(), bytes.size()));
    bytes[0] = 0, bytes[3] = 0x80;
    EXPECT_FALSE(TypeParam::Parse(bytes.data(), bytes.size()));
}

TYPED_TEST(TypeDataCodec, TruncationAtEveryByteIsRefused) {
    const std::vector<uint8_t> bytes = TypeParam::Write(Varied<TypeParam>());
    for (size_t n = 1; n < bytes.size(); ++n) {
        std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<long>(n));
        EXPECT_FALSE(TypeParam::Parse(cut.data(), cut.size())) << n << " of " << bytes.size();
    }
}

// Older versions: the block simply ends earlier or lacks the later fields.
TEST(TypeDataVersions, OlderWindowBlockKeepsDefaultsForLaterFields) {
    TemplateWriter w;
    w.U32(1);
    for (uint32_t v : {2u, 1u, 0xECECECu, 0u, 0u, 1u, 1u, 1u, 0u, 0u, 1u, 0u, 0u}) w.U32(v);
    for (int i = 0; i < 3; ++i) w.CountedBlock(nullptr, 0);
    w.CountedText("\xDC\xF8\xB9\xF1");  // 茗柜
    w.CountedText("");
    auto d = WindowData::Parse(w.bytes().data(), w.size());
    ASSERT_TRUE(d);
    EXPECT_EQ(d->caption, "\xDC\xF8\xB9\xF1");
    EXPECT_EQ(d->switch22, 1u);
    EXPECT_EQ(d->showInTaskbar, WindowData{}.showInTaskbar);
    EXPECT_EQ(d->alwaysOnTop, 0u);
    EXPECT_EQ(d->className, "");
}

TEST(TypeDataVersions, EditBoxVersion1HasNoDataBinding) {
    EditBoxData v = Varied<EditBoxData>();
    v.dataSource.clear(), v.dataColumn.clear();
    std::vector<uint8_t> bytes = EditBoxData::Write(v);
    bytes.resize(bytes.size() - 8);  // the two empty counted texts of version 2
    bytes[0] = 1;
    auto d = EditBoxData::Parse(bytes.data(), bytes.size());
    ASSERT_TRUE(d);
    EXPECT_EQ(*d, v);
    bytes[0] = 2;  // the same bytes claiming version 2 lack the two texts
    EXPECT_FALSE(EditBoxData::Parse(bytes.data(), bytes.size()));
}

TEST(TypeDataVersions, ComboBoxVersionsOneAndTwo) {
    ComboBoxData v = Varied<ComboBoxData>();
    v.dataSource.clear(), v.dataColumn.clear(), v.switch24 = 0;
    std::vector<uint8_t> bytes = ComboBoxData::Write(v);
    bytes.resize(bytes.size() - 4);
    bytes[0] = 2;
    auto d2 = ComboBoxData::Parse(bytes.data(), bytes.size());
    ASSERT_TRUE(d2);
    EXPECT_EQ(*d2, v);
    bytes.resize(bytes.size() - 8);
    bytes[0] = 1;
    auto d1 = ComboBoxData::Parse(bytes.data(), bytes.size());
    ASSERT_TRUE(d1);
    EXPECT_EQ(d1->items, v.items);
}

TEST(TypeDataVersions, PageControlVersion1AndPageListVersion1) {
    PageControlData v;
    PageControlPage page;
    page.caption = "p";
    v.pages = {page};
    std::vector<uint8_t> bytes = PageControlData::Write(v);
    bytes.resize(bytes.size() - 4 * (4 + 4));  // settings34 and setting38-41
    bytes[0] = 1;
    // Page list: version 3 -> 1 drops the second text and the hidden flag of the page.
    const size_t list = 4 + 16 + 60;
    TemplateWriter pl;
    pl.U32(1);
    pl.U32(1);
    pl.CountedText("p");
    for (int i = 0; i < 20; ++i) pl.I32(-1);
    pl.U32(0);  // no sub-entries
    std::vector<uint8_t> old(bytes.begin(), bytes.begin() + list);
    TemplateWriter lw;
    lw.CountedBlock(pl.bytes());
    old.insert(old.end(), lw.bytes().begin(), lw.bytes().end());
    TemplateCursor c(bytes.data() + list, bytes.size() - list);
    c.CountedBlock();
    old.insert(old.end(), c.here(), c.here() + c.remaining());
    auto d = PageControlData::Parse(old.data(), old.size());
    ASSERT_TRUE(d);
    EXPECT_EQ(*d, v);
    auto withPageList4 = PageControlData::ParsePageList(std::vector<uint8_t>{4, 0, 0, 0, 0, 0, 0, 0}.data(), 8);
    EXPECT_FALSE(withPageList4);
}

TEST(TypeDataVersions, TransLabelVersion2MakesCreationFail) {
    std::vector<uint8_t> bytes = TransLabelData::Write({});
    bytes[0] = 2;
    EXPECT_FALSE(TransLabelData::Parse(bytes.data(), bytes.size()));
    bytes[0] = 0;  // version 0 has the same fields
    EXPECT_TRUE(TransLabelData::Parse(bytes.data(), bytes.size()));
}

TEST(TypeDataDefaults, TransLabelAndEditBoxDefaults) {
    TransLabelData t;
    EXPECT_EQ(t.caption, "\xCD\xB8\xC3\xF7\xB1\xEA\xC7\xA9");  // 透明标签
    EXPECT_EQ(t.verticalAlignment, 1u);
    EXPECT_EQ(t.textColour, 0u);
    EditBoxData e;
    EXPECT_EQ(e.border, 1u);
    EXPECT_EQ(e.backgroundColour, 0x00FFFFFFu);
    EXPECT_EQ(e.hideSelection, 1u);
    EXPECT_EQ(e.spinMax, 100);
}

TEST(TypeDataLayout, LogFontBytesIsTheLogfontaInMemory) {
    static_assert(offsetof(LogFontBytes, weight) == 16);
    static_assert(offsetof(LogFontBytes, italic) == 20);
    static_assert(offsetof(LogFontBytes, charSet) == 23);
    static_assert(offsetof(LogFontBytes, pitchAndFamily) == 27);
    static_assert(offsetof(LogFontBytes, faceName) == 28);
    FontBlock block = Kai();
    ASSERT_EQ(block.size(), 60u);
    EXPECT_EQ(block[0], 0xF4);  // -12
    EXPECT_EQ(block[16], 0x90);  // 400
    EXPECT_EQ(block[23], 134);
    EXPECT_EQ(block[28], 0xBF);
    EXPECT_EQ(DecodeFont(block)->Face(), "\xBF\xAC\xCC\xE5");
    EXPECT_FALSE(DecodeFont({1, 2, 3}));  // any other length: the default font
    LogFontBytes f;
    EXPECT_FALSE(f.SetFace(std::string(32, 'x')));
    EXPECT_EQ(f.Face().size(), 31u);
}

TEST(TypeDataLayout, ListViewColumnRecordsFollowTheFormLayout) {
    std::vector<uint8_t> b = ListViewData::WriteColumns({{0, -1, 0, 50, "\xB5\xD8\xD6\xB7"}});  // 地址
    const std::vector<uint8_t> want = {0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 50, 0, 0, 0, 0xB5, 0xD8, 0xD6, 0xB7, 0};
    EXPECT_EQ(b, want);
    std::vector<uint8_t> broken = want;
    broken.pop_back();  // a title without its NUL
    EXPECT_FALSE(ListViewData::ParseColumns(broken.data(), broken.size()));
    EXPECT_TRUE(ListViewData::ParseColumns(nullptr, 0)->empty());
    EXPECT_FALSE(ListViewData::ParseRows(std::vector<uint8_t>{1, 0, 0, 0, 5, 0, 0, 0}.data(), 8));  // 5 cells missing
}

TEST(TypeDataLayout, StatusBarPartsBlock) {
    std::vector<uint8_t> b = StatusBarData::WriteParts({{-1, 0, -1, "a", ""}});
    const std::vector<uint8_t> want = {1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 'a', 0, 0};
    EXPECT_EQ(b, want);
    b.push_back(0);  // a trailing byte would be dropped by a rebuild: refused
    EXPECT_FALSE(StatusBarData::ParseParts(b.data(), b.size()));
    EXPECT_FALSE(StatusBarData::ParseParts(std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0xFF}.data(), 4));
}

TEST(TypeDataLayout, ItemListIsCountedInSixteenBits) {
    ComboBoxData d;
    d.items = {"\xCA\xD5\xD2\xF8\xD2\xBB"};  // 收银一
    std::vector<uint8_t> b = ComboBoxData::Write(d);
    // version and 9 words, then empty font, item values and content, then the items.
    const size_t at = 4 + 36 + 12;
    EXPECT_EQ(b[at], 1);
    EXPECT_EQ(b[at + 1], 0);
    EXPECT_EQ(b[at + 2], 6);
}

TEST(TypeDataLayout, PageControlKeepsSkippedSubEntriesAndHiddenPages) {
    PageControlData d = Varied<PageControlData>();
    std::vector<uint8_t> list = PageControlData::WritePageList(d.pages);
    auto pages = PageControlData::ParsePageList(list.data(), list.size());
    ASSERT_TRUE(pages);
    EXPECT_EQ((*pages)[0].subEntries.size(), 2u);
    EXPECT_EQ((*pages)[0].hidden, 1u);
    list.push_back(0);
    EXPECT_FALSE(PageControlData::ParsePageList(list.data(), list.size()));
    // The tab font is the 60 bytes right after the first four settings.
    std::vector<uint8_t> b = PageControlData::Write(d);
    EXPECT_EQ(LogFontFromBytes(b.data() + 20).height, -16);
}

}  // namespace
