// Properties that hold a block of records (item lists, status bar parts, pages, list view
// columns and rows) written at run time: a malformed block is refused whole and the unit
// keeps what it had. Then two writes whose rebuild or side control must keep what the unit
// holds: a combo box's new items and an edit box's spin buttons.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>

#include "controls/list_view_data.h"
#include "controls/page_control_data.h"
#include "controls/unit_types.h"
#include "forms/forms_runtime.h"
#include "forms/type_data/combo_box_data.h"
#include "forms/type_data/edit_box_data.h"
#include "forms/type_data/list_box_data.h"
#include "forms/type_data/status_bar_data.h"
#include "runtime/entries.h"
#include "runtime/heap.h"
#include "tests/win/forms/form_fixture.h"

namespace {

constexpr uint32_t kList = 0x16010002, kCombo = 0x16010003, kStatus = 0x16010004, kPages = 0x16010005,
                   kView = 0x16010006, kSpinHello = 0x16010007, kSpinZeros = 0x16010008, kPlain = 0x16010009;

std::vector<uint8_t> Items(const std::vector<std::string>& items) {
    TemplateWriter w;
    WriteItemList(w, items);
    return w.Take();
}

std::vector<uint8_t> ReadBlock(uint32_t unit, int32_t index) {
    auto p = reinterpret_cast<void*>(static_cast<uintptr_t>(RtEntries().readProperty(kTestWindowId, unit, index, -1)));
    std::vector<uint8_t> bytes;
    if (p) bytes.assign(array_block::ByteSetData(p), array_block::ByteSetData(p) + array_block::ByteSetLength(p));
    RtFree(p);
    return bytes;
}

void WriteBlock(uint32_t unit, int32_t index, const std::vector<uint8_t>& bytes) {
    void* block = NewByteSet(bytes.data(), bytes.size());
    uint64_t p = reinterpret_cast<uintptr_t>(block);
    RtEntries().writeProperty(kTestWindowId, unit, index, -1, static_cast<uint32_t>(p), static_cast<uint32_t>(p >> 32));
    RtFree(block);
}

LRESULT Send(uint32_t unit, UINT message) { return SendMessageW(UnitHandle(unit), message, 0, 0); }

void LoadUnits() {
    ListBoxData list;
    list.items = {"甲", "乙"};
    ComboBoxData combo;
    combo.items = {"收银一", "收银二", "收银三"};
    combo.currentSelection = 1;
    StatusBarData status;
    status.parts = {{100, 0, -1, "左", ""}, {-1, 0, -1, "右边", "提示"}};
    PageControlData pages;
    PageControlPage page;
    page.caption = "一";
    pages.pages = {page, page};
    pages.pages[1].caption = "二";
    ListViewData view;
    view.viewType = 3;
    view.columns = {{0, -1, 0, 60, "地址"}, {0, -1, 1, 40, "时间"}};
    view.rows = {{{0, -1, 0, 0, 0, "行", ""}}};
    EditBoxData hello, zeros, plain;
    hello.spinMode = zeros.spinMode = 1;
    hello.content = "hello";
    zeros.content = plain.content = "007";
    StartRuntime(ImageBytes(OneWindow({WindowRecord(PlainWindowData(), 40, 40, 480, 420),
                                       Unit(kList, kTypeListBox, 10, 10, 100, 60, ListBoxData::Write(list)),
                                       Unit(kCombo, kTypeComboBox, 120, 10, 100, 20, ComboBoxData::Write(combo)),
                                       Unit(kStatus, kTypeStatusBar, 0, 360, 460, 22, StatusBarData::Write(status)),
                                       Unit(kPages, kTypePageControl, 10, 80, 200, 100, PageControlData::Write(pages)),
                                       Unit(kView, kTypeListView, 220, 80, 220, 100, ListViewData::Write(view)),
                                       Unit(kSpinHello, kTypeEditBox, 10, 200, 80, 22, EditBoxData::Write(hello)),
                                       Unit(kSpinZeros, kTypeEditBox, 10, 230, 80, 22, EditBoxData::Write(zeros)),
                                       Unit(kPlain, kTypeEditBox, 10, 260, 80, 22, EditBoxData::Write(plain))})));
    ASSERT_TRUE(LoadStartWindowById(kTestWindowId));
    Pump(30);
}

HWND SpinOf(HWND edit) {
    for (HWND h = GetWindow(GetParent(edit), GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
        wchar_t cls[32] = {};
        GetClassNameW(h, cls, 32);
        if (wcscmp(cls, UPDOWN_CLASSW) == 0 && reinterpret_cast<HWND>(SendMessageW(h, UDM_GETBUDDY, 0, 0)) == edit) return h;
    }
    return nullptr;
}

}  // namespace

// Each block property, refused the same way for three kinds of damage (nonsense, one byte too
// many, one byte too few): its value reads back unchanged, its window shows what it showed
// and is not built anew. A whole block is then taken, so the refusals are not all writes failing.
TEST(BlockProperties, AMalformedBlockIsRefusedWholeAndTheOldValueStays) {
    LoadUnits();
    struct Case {
        const char* what;
        uint32_t unit;
        int32_t index;
        std::function<LRESULT()> shown;  // how many records the window shows
        std::vector<uint8_t> whole;      // a block that is taken
        size_t wholeShown;
    };
    const std::vector<Case> cases = {
        {"list box items", kList, 17, [] { return Send(kList, LB_GETCOUNT); }, Items({"丙"}), 1},
        {"combo box items", kCombo, 20, [] { return Send(kCombo, CB_GETCOUNT); }, Items({"丙", "丁"}), 2},
        {"status bar parts", kStatus, 13, [] { return Send(kStatus, SB_GETPARTS); },
         StatusBarData::WriteParts({{50, 0, -1, "一", ""}, {50, 0, -1, "二", ""}, {-1, 0, -1, "三", ""}}), 3},
        {"pages", kPages, 11, [] { return Send(kPages, TCM_GETITEMCOUNT); },
         PageControlData::WritePageList({PageControlPage{}}), 1},
        {"list view columns", kView, 17,
         [] { return SendMessageW(reinterpret_cast<HWND>(Send(kView, LVM_GETHEADER)), HDM_GETITEMCOUNT, 0, 0); },
         ListViewData::WriteColumns({{0, -1, 0, 80, "列"}}), 1},
        {"list view rows", kView, 37, [] { return Send(kView, LVM_GETITEMCOUNT); },
         ListViewData::WriteRows({{{0, -1, 0, 0, 0, "一", ""}}, {{0, -1, 0, 0, 0, "二", ""}}}), 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<uint8_t> before = ReadBlock(c.unit, c.index);
        ASSERT_GT(before.size(), 1u);
        const HWND window = UnitHandle(c.unit);
        const LRESULT shown = c.shown();
        ASSERT_GT(shown, 0);
        std::vector<uint8_t> longer = before, shorter = before;
        longer.push_back(0);
        shorter.pop_back();
        for (const std::vector<uint8_t>& bad : {std::vector<uint8_t>{1, 2, 3}, longer, shorter}) {
            WriteBlock(c.unit, c.index, bad);
            EXPECT_EQ(ReadBlock(c.unit, c.index), before) << bad.size() << " bytes";
            EXPECT_EQ(UnitHandle(c.unit), window) << "refused, not rebuilt";
            EXPECT_EQ(c.shown(), shown);
        }
        WriteBlock(c.unit, c.index, c.whole);
        EXPECT_EQ(ReadBlock(c.unit, c.index), c.whole);
        EXPECT_EQ(static_cast<size_t>(c.shown()), c.wholeShown);
    }
}

// The write replaces the items and builds the combo box anew: the new window shows the new
// items with nothing selected, and reading back gives them and -1.
TEST(BlockProperties, ComboBoxItemsAreReplacedAndTheRebuiltBoxShowsThem) {
    LoadUnits();
    const HWND old = UnitHandle(kCombo);
    ASSERT_EQ(ReadInt(kCombo, rt::ComboBox::CurrentSelection), 1);
    const std::string content = ReadText(kCombo, rt::ComboBox::Content);
    WriteBlock(kCombo, 20, Items({"甲", "乙"}));
    EXPECT_EQ(ReadBlock(kCombo, 20), Items({"甲", "乙"}));
    EXPECT_EQ(ReadInt(kCombo, rt::ComboBox::CurrentSelection), -1);
    const HWND fresh = UnitHandle(kCombo);
    EXPECT_NE(fresh, old) << "rebuilt";
    EXPECT_FALSE(IsWindow(old));
    ASSERT_EQ(SendMessageW(fresh, CB_GETCOUNT, 0, 0), 2);
    wchar_t first[8] = {};
    SendMessageW(fresh, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(first));
    EXPECT_EQ(std::wstring(first), Wide("甲"));
    EXPECT_EQ(SendMessageW(fresh, CB_GETCURSEL, 0, 0), CB_ERR);
    EXPECT_EQ(ReadText(kCombo, rt::ComboBox::Content), content) << "the edit field keeps its text";
}

// Spin buttons beside an edit box leave its content as stored, whether the box is made
// with them or gets them by a write, and whatever the content is.
TEST(BlockProperties, SpinButtonsKeepTheEditBoxContent) {
    LoadUnits();
    ASSERT_NE(SpinOf(UnitHandle(kSpinHello)), nullptr);
    EXPECT_EQ(ReadText(kSpinHello, rt::EditBox::Content), "hello");
    EXPECT_EQ(ReadText(kSpinZeros, rt::EditBox::Content), "007");
    WriteText(kSpinZeros, rt::EditBox::Content, "hello");
    EXPECT_EQ(ReadText(kSpinZeros, rt::EditBox::Content), "hello");

    WriteInt(kPlain, rt::EditBox::SpinMode, 1);
    ASSERT_NE(SpinOf(UnitHandle(kPlain)), nullptr) << "spin mode on: rebuilt with spin buttons";
    EXPECT_EQ(ReadText(kPlain, rt::EditBox::Content), "007");
    wchar_t shown[16] = {};
    GetWindowTextW(UnitHandle(kPlain), shown, 16);
    EXPECT_EQ(std::wstring(shown), L"007");
}
