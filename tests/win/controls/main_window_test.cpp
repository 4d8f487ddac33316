// The toolbox's main window, loaded by the real program code from the real template and
// read back unit by unit through the runtime: type, name, parent, place, size, visibility
// and text of every unit against the layout, then the pages switched by real clicks on
// the tab strip. The monitor is never started here.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "controls/unit_types.h"
#include "forms/events.h"
#include "forms/type_data/window_data.h"
#include "forms/unit_events.h"
#include "forms/units/timer_type.h"
#include "forms/forms_runtime.h"
#include "forms/unit_object.h"
#include "forms/window_list.h"
#include "runtime/entries.h"
#include "runtime/gbk_text.h"
#include "runtime/heap.h"
#include "runtime/message_loop.h"
#include "runtime/program_descriptor.h"
#include "tests/win/controls/control_test_util.h"
#include "tests/win/forms/form_fixture.h"
#include "toolbox/rt.h"
#include "toolbox/start_tools.h"

extern const ProgramDescriptor kProgramDescriptor;

namespace {

constexpr uint32_t kTL = kTypeTransLabel, kEdit = kTypeEditBox, kBtn = kTypeButton, kLabel = kTypeLabel,
                   kCombo = kTypeComboBox, kList = kTypeListBox, kTimer = kTypeTimer, kGroup = kTypeGroupBox,
                   kPages = kTypePageControl, kBar = kTypeStatusBar, kLV = kTypeListView;

// Where a unit sits: on the window, on a page of 茗柜 (any page for the clock), or in a
// group box (which follows its own page).
enum Where { kWindow, kPage1, kPage2, kPage3, kSomePage, kGroup1, kInsideGroup, kOutsideGroup };

struct Row {
    uint32_t id;
    std::string name;
    uint32_t type;
    Where where;
    RECT place;  // left, top, width, height
    const char* text = nullptr;  // the caption or content; nullptr: not checked
    bool hidden = false;         // marked invisible in the form
    bool placedAtStartUp = false;  // the tools move or size it when the window is created
};

std::vector<Row> Layout() {
    std::vector<Row> rows = {
        {0x16010003, "状态条1", kBar, kWindow, {0, 500, 500, 22}},
        {0x16010002, "茗柜", kPages, kWindow, {0, 0, 500, 500}},
        {0x1601000E, "透明标签29", kTL, kPage1, {132, 16, 500, 40}, "收 银 员 盘 货 单"},
        {0x1601003E, "饮料数量盘点", kTL, kPage1, {15, 50, 129, 20}, "饮料数量盘点"},
        {0x16010024, "小吃数量盘点", kTL, kPage1, {160, 50, 127, 20}, "小吃数量盘点"},
        {0x1601001C, "香烟数量盘点", kTL, kPage1, {310, 50, 127, 24}, "香烟数量盘点"},
        {0x16010185, "透明标签42", kTL, kPage1, {315, 198, 65, 16}, "其它钱数："},
        {0x16010186, "其它钱数", kEdit, kPage1, {375, 198, 80, 20}, "此处填写钱数"},
        {0x160100EA, "透明标签34", kTL, kPage1, {293, 223, 80, 16}, "请选择收银员："},
        {0x1601000C, "收银员组合框", kCombo, kPage1, {375, 222, 72, 20}},
        {0x1601001D, "分组框1", kGroup, kPage1, {292, 245, 160, 180}, ""},
        {0x16010023, "标签1", kLabel, kGroup1, {4, 0, 150, 30}, "盘货信息统计"},
        {0x16010022, "饮料标签", kTL, kGroup1, {5, 30, 150, 20}, ""},
        {0x16010021, "小吃标签", kTL, kGroup1, {5, 55, 150, 25}, ""},
        {0x16010020, "香烟标签", kTL, kGroup1, {5, 80, 150, 25}, ""},
        {0x16010190, "其它标签", kTL, kGroup1, {5, 105, 150, 25}, ""},
        {0x1601001F, "总额", kTL, kGroup1, {5, 130, 150, 25}, ""},
        {0x1601001E, "时间显示", kTL, kGroup1, {5, 160, 155, 16}},  // the clock writes it
        {0x1601003D, "计算", kBtn, kPage1, {298, 430, 60, 24}, "计算"},
        {0x16010172, "盘清除", kBtn, kPage1, {298, 460, 60, 24}, "清除"},
        {0x1601000F, "导出", kBtn, kPage1, {368, 430, 70, 24}, "导出文件"},
        {0x1601000B, "打开", kBtn, kPage1, {368, 460, 70, 24}, "打开目录"},
        {0x1601000D, "时钟1", kTimer, kSomePage, {444, 440, 24, 24}, nullptr, true},

        {0x160101FD, "透明标签43", kTL, kPage2, {30, 30, 168, 32}, "疆内网络监测"},
        {0x16010200, "透明标签30", kTL, kPage2, {302, 30, 168, 32}, "疆外网络监测"},
        {0x16010203, "内网配置文件", kBtn, kPage2, {30, 60, 168, 18}, "点击修改配置文件"},
        {0x16010204, "外网配置文件", kBtn, kPage2, {302, 60, 168, 18}, "点击修改配置文件"},
        {0x16010236, "透明标签33", kTL, kPage2, {212, 78, 80, 24}, "监测间隔时间"},
        {0x16010235, "编辑框秒", kEdit, kPage2, {227, 103, 36, 24}, "6"},
        {0x16010237, "透明标签44", kTL, kPage2, {265, 102, 16, 24}, "秒"},
        {0x16010192, "疆内分组框", kGroup, kPage2, {30, 85, 168, 200}, "", false, true},
        {0x16010194, "疆内超级列表框", kLV, kInsideGroup, {24, 48, 104, 104}, nullptr, false, true},
        {0x16010193, "疆外分组框", kGroup, kPage2, {302, 85, 168, 200}, "", false, true},
        {0x16010195, "疆外超级列表框", kLV, kOutsideGroup, {48, 88, 88, 88}, nullptr, false, true},
        {0x16010196, "开始", kBtn, kPage2, {216, 152, 60, 30}, "开始"},
        {0x16010202, "停止", kBtn, kPage2, {216, 224, 60, 30}, "停止"},
        {0x16010209, "列表框1", kList, kPage2, {320, 344, 104, 40}, nullptr, true},
        {0x16010218, "列表框2", kList, kPage2, {328, 392, 88, 40}, nullptr, true},
        {0x16010199, "超级列表框1", kLV, kPage2, {312, 304, 56, 40}, nullptr, true},
        {0x1601019A, "超级列表框2", kLV, kPage2, {368, 304, 56, 40}, nullptr, true},
        {0x16010197, "分割符编辑框", kEdit, kPage2, {424, 352, 40, 20}, "，", true},
        {0x16010198, "时钟2", kTimer, kPage2, {416, 384, 40, 40}, nullptr, true},

        {0x1601014B, "透明标签39", kTL, kPage3, {0, 35, 500, 40}, "充值赠送核算工具"},
        {0x16010141, "透明标签35", kTL, kPage3, {100, 110, 160, 40}, "充值金额："},
        {0x1601014A, "透明标签36", kTL, kPage3, {100, 170, 152, 40}, "赠送金额："},
        {0x16010143, "透明标签37", kTL, kPage3, {100, 230, 160, 40}, "费率："},
        {0x16010148, "透明标签38", kTL, kPage3, {100, 290, 160, 40}, "核算结果："},
        {0x160100F4, "编辑框1", kEdit, kPage3, {250, 110, 100, 40}, ""},
        {0x160100F3, "编辑框2", kEdit, kPage3, {250, 170, 100, 40}, ""},
        {0x160100F2, "编辑框3", kEdit, kPage3, {250, 230, 100, 40}, ""},
        {0x160100EC, "编辑框4", kEdit, kPage3, {250, 290, 100, 40}, ""},
        {0x160100EB, "清除按钮", kBtn, kPage3, {60, 360, 160, 40}, "清除数据"},
        {0x160100F1, "计算按钮", kBtn, kPage3, {260, 360, 160, 40}, "计算"},
    };
    // The drink grid: labels at 8 (65 x 20), count boxes at 78 (40 x 20).
    const int drinkTops[14] = {80, 110, 140, 170, 203, 230, 259, 289, 319, 349, 379, 409, 439, 469};
    const uint32_t drinkBoxes[14] = {0x1601004A, 0x16010049, 0x16010048, 0x16010178, 0x16010047, 0x1601017C, 0x16010046,
                                     0x16010045, 0x16010044, 0x16010043, 0x16010042, 0x16010041, 0x16010040, 0x1601003F};
    const uint32_t drinkLabels[14] = {0x16010056, 0x16010055, 0x16010054, 0x16010179, 0x16010053, 0x1601017A, 0x16010052,
                                      0x16010051, 0x16010050, 0x1601004F, 0x1601004E, 0x1601004D, 0x1601004C, 0x1601004B};
    const char* drinkLabelNames[14] = {"透明标签1", "透明标签2", "透明标签3", "透明标签40", "透明标签4", "透明标签41", "透明标签5",
                                       "透明标签6", "透明标签7", "透明标签8", "透明标签9", "透明标签10", "透明标签11", "透明标签12"};
    const char* drinkTexts[14] = {"1元饮料：", "1.5元饮料：", "2元饮料：", "2.5元饮料", "3元饮料：", "3.5元饮料", "4元饮料：",
                                  "5元饮料：", "6元饮料：", "7元饮料：", "8元饮料：", "10元饮料：", "12元饮料：", "15元饮料："};
    for (int k = 0; k < 14; ++k) {
        rows.push_back({drinkLabels[k], drinkLabelNames[k], kTL, kPage1, {8, drinkTops[k], 65, 20}, drinkTexts[k]});
        rows.push_back({drinkBoxes[k], "盘饮料" + std::to_string(k + 1), kEdit, kPage1, {78, drinkTops[k], 40, 20}, ""});
    }
    // The snack grid: labels at 160 (70 x 25), boxes at 230, rows 30 apart from 80.
    const char* snackTexts[14] = {"0.5元小吃：", "1元小吃：", "1.5元小吃：", "2元小吃：", "2.5元小吃：", "3元小吃：", "3.5元小吃：",
                                  "4元小吃：",   "4.5元小吃：", "5元小吃：", "5.5元小吃：", "6元小吃：", "6.5元小吃：", "7元小吃："};
    for (int k = 0; k < 14; ++k) {
        uint32_t box = k < 12 ? 0x16010030 - static_cast<uint32_t>(k) : (k == 12 ? 0x16010015 : 0x16010014);
        uint32_t label = k < 12 ? 0x1601003C - static_cast<uint32_t>(k) : (k == 12 ? 0x16010017 : 0x16010016);
        std::string labelName = "透明标签" + std::to_string(k < 12 ? 13 + k : (k == 12 ? 31 : 32));
        rows.push_back({label, labelName, kTL, kPage1, {160, 80 + 30 * k, 70, 25}, snackTexts[k]});
        rows.push_back({box, "盘小吃" + std::to_string(k + 1), kEdit, kPage1, {230, 80 + 30 * k, 40, 20}, ""});
    }
    // The cigarette grid.
    const char* cigaretteTexts[4] = {"11元香烟：", "14元香烟：", "23元香烟：", "25元香烟："};
    for (int k = 0; k < 4; ++k) {
        rows.push_back({0x1601001B - static_cast<uint32_t>(k), "透明标签" + std::to_string(25 + k), kTL, kPage1,
                        {310, 80 + 30 * k, 65, 20}, cigaretteTexts[k]});
        rows.push_back({0x16010013 - static_cast<uint32_t>(k), "盘香烟" + std::to_string(k + 1), kEdit, kPage1,
                        {375, 80 + 30 * k, 40, 20}, ""});
    }
    return rows;
}

const uint32_t kOtherMoney = 0x16010186, kDrink1 = 0x1601004A, kSeconds = 0x16010235, kClearButton = 0x160100EB,
               kStartButton = 0x16010196;

int32_t Read(uint32_t unit, int32_t index) {
    return static_cast<int32_t>(RtEntries().readProperty(kMainWindowId, unit, index, -1));
}

std::string ReadUnitText(uint32_t unit, int32_t index) {
    auto p = reinterpret_cast<char*>(static_cast<uintptr_t>(RtEntries().readProperty(kMainWindowId, unit, index, -1)));
    std::string s = p ? p : "";
    RtFree(p);
    return s;
}

HWND Handle(uint32_t unit) {
    UnitObject* u = FindUnitObject(kMainWindowId, unit);
    return u ? u->hwnd() : nullptr;
}

int32_t TextIndex(uint32_t type) { return type == kBtn ? 10 : 8; }

// The toolbox's own program descriptor and start: the runtime, its template, the main
// window with its creation handler.
class MainWindow : public testing::Test {
protected:
    void SetUp() override {
        UseProgramDescriptor(&kProgramDescriptor);
        RtEntries().otherHelp(kServiceInitialise, 0, 0, 0, 0, 0, 0);
        RtEntries().loadStartWindow(kMainWindowId);
        form = Handle(0);
        ASSERT_NE(form, nullptr);
        RunLoopFor(300);
        rows = Layout();
    }

    // Shown while page `page` (0-2) is current.
    static bool ShownOn(const Row& r, int page) {
        if (r.hidden || r.type == kTimer) return false;
        switch (r.where) {
            case kWindow: return true;
            case kPage1:
            case kGroup1: return page == 0;
            case kPage2:
            case kInsideGroup:
            case kOutsideGroup: return page == 1;
            case kPage3: return page == 2;
            default: return false;
        }
    }

    void ExpectPage(int page) {
        EXPECT_EQ(SendMessageW(Handle(0x16010002), TCM_GETCURSEL, 0, 0), page);
        for (const Row& r : rows)
            EXPECT_EQ(Read(r.id, 5), ShownOn(r, page) ? 1 : 0) << r.name << " on page " << page + 1;
    }

    void ClickTab(int tab) {
        HWND tabs = Handle(0x16010002);
        RECT r = {};
        ASSERT_TRUE(SendMessageW(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(tab), reinterpret_cast<LPARAM>(&r)));
        ClickAt(tabs, {(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    }

    HWND form = nullptr;
    std::vector<Row> rows;
};

}  // namespace

TEST_F(MainWindow, EveryUnitHasTheIdNameTypeParentPlaceAndTextOfTheLayout) {
    WindowEntry* entry = FindLoadedWindow(kMainWindowId);
    ASSERT_NE(entry, nullptr);
    ASSERT_EQ(entry->working.size(), 118u);
    EXPECT_EQ(rows.size(), 117u);
    std::map<Where, HWND> parents = {{kWindow, form},
                                     {kPage1, Handle(0x16010002)},
                                     {kPage2, Handle(0x16010002)},
                                     {kPage3, Handle(0x16010002)},
                                     {kSomePage, Handle(0x16010002)},
                                     {kGroup1, Handle(0x1601001D)},
                                     {kInsideGroup, Handle(0x16010192)},
                                     {kOutsideGroup, Handle(0x16010193)}};
    std::map<uint32_t, int> seen;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        int position = entry->FindPosition(r.id);
        ASSERT_GT(position, 0) << std::hex << r.id;
        ++seen[r.id];
        const UnitRecord& record = entry->working[static_cast<size_t>(position)];
        EXPECT_EQ(record.name, r.name);
        EXPECT_EQ(record.typeCode, r.type);
        UnitObject* unit = FindUnitObject(kMainWindowId, r.id);
        ASSERT_NE(unit, nullptr) << "not created";
        EXPECT_EQ(GetParent(unit->hwnd()), parents[r.where]);
        if (!r.placedAtStartUp) {
            EXPECT_EQ(Read(r.id, 0), r.place.left);
            EXPECT_EQ(Read(r.id, 1), r.place.top);
            EXPECT_EQ(Read(r.id, 2), r.place.right);
            // A drop-down combo box is as high as its font makes its edit field.
            EXPECT_EQ(r.type == kCombo ? record.height : Read(r.id, 3), r.place.bottom);
        }
        EXPECT_EQ(Read(r.id, 5), ShownOn(r, 0) ? 1 : 0) << "visible when the window opens";
        if (r.text) {
            EXPECT_EQ(ReadUnitText(r.id, TextIndex(r.type)), r.text);
        }
    }
    for (auto [id, n] : seen) EXPECT_EQ(n, 1) << std::hex << id << " listed twice";

    // Pages: 77, 17 and 12 units, as the page control's list separates them.
    const UnitRecord& tabs = entry->working[static_cast<size_t>(entry->FindPosition(0x16010002))];
    std::vector<std::vector<uint32_t>> pages = SplitPages(tabs.children);
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(pages[0].size(), 77u);
    EXPECT_EQ(pages[1].size(), 17u);
    EXPECT_EQ(pages[2].size(), 12u);
    std::map<Where, int> pageOf = {{kPage1, 0}, {kPage2, 1}, {kPage3, 2}};
    for (const Row& r : rows) {
        if (!pageOf.count(r.where)) continue;
        const std::vector<uint32_t>& page = pages[static_cast<size_t>(pageOf[r.where])];
        EXPECT_NE(std::find(page.begin(), page.end(), r.id), page.end()) << r.name << " on page " << pageOf[r.where] + 1;
    }
}

TEST_F(MainWindow, OpensCentredWithItsCaptionTabsFirstPageAndTheFocusInTheFirstCountBox) {
    wchar_t caption[32] = {};
    GetWindowTextW(form, caption, 32);
    EXPECT_STREQ(caption, L"茗柜");
    RECT r;
    GetWindowRect(form, &r);
    EXPECT_EQ(r.right - r.left, 500);
    EXPECT_EQ(r.bottom - r.top, 550);
    EXPECT_NEAR((r.left + r.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_NEAR((r.top + r.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);
    const LONG style = GetWindowLongW(form, GWL_STYLE);
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), WS_CAPTION | WS_SYSMENU);
    EXPECT_EQ(GetWindow(form, GW_OWNER), nullptr) << "a taskbar button of its own";
    EXPECT_EQ(Read(0, 10), 0x00ECECEC);

    HWND tabs = Handle(0x16010002);
    EXPECT_EQ(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0), 3);
    const wchar_t* captions[3] = {L"盘货单", L"网络监测", L"核算器"};
    for (int i = 0; i < 3; ++i) {
        wchar_t text[32] = {};
        TCITEMW item = {};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = 32;
        SendMessageW(tabs, TCM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        EXPECT_STREQ(text, captions[i]);
    }
    ExpectPage(0);
    EXPECT_EQ(GetFocus(), Handle(kDrink1));
    // The status bar lies below the page control.
    EXPECT_GE(Read(0x16010003, 1), Read(0x16010002, 1) + Read(0x16010002, 3));
}

TEST_F(MainWindow, ClickingTheTabsShowsEachPageWithItsFocusAndNeverTheHiddenUnits) {
    SetForegroundWindow(form);
    ClickTab(1);
    ExpectPage(1);
    EXPECT_EQ(GetFocus(), Handle(kSeconds));
    ClickTab(2);
    ExpectPage(2);
    EXPECT_EQ(GetFocus(), Handle(kClearButton));

    // The current tab again: nothing changes, not even the focus.
    SetFocus(Handle(0x160100F2));
    ClickTab(2);
    ExpectPage(2);
    EXPECT_EQ(GetFocus(), Handle(0x160100F2));

    ClickTab(0);
    ExpectPage(0);
    EXPECT_EQ(GetFocus(), Handle(kOtherMoney));
    ClickTab(1);
    ExpectPage(1);
    EXPECT_EQ(Read(kStartButton, 5), 1);  // shown, and never pressed here
}

namespace {

// Events of the main window raised while it loads, handler or not: (unit, event).
std::vector<std::pair<uint32_t, int32_t>> g_raised;

// Left out: what depends on where the pointer rests, the idle events the message loop raises
// whenever it runs dry, and a tick of the clock on a slow machine.
void NoteRaised(const EventRecord& r) {
    constexpr uint32_t kClock = 0x1601000D;
    const int32_t e = r.eventNumber;
    const bool pointer = (e <= CommonEvents::MouseDown.number && e >= CommonEvents::MouseMove.number) ||
                         e == CommonEvents::MouseWheel.number;
    const bool idle = r.unitId == 0 && e == WindowData::Idle.number;
    const bool tick = r.unitId == kClock && e == TimerData::Tick.number;
    if (r.windowId == kMainWindowId && !pointer && !idle && !tick) g_raised.push_back({r.unitId, e});
}

class MainWindowLoad : public MainWindow {
protected:
    void SetUp() override {
        ObserveEvents(&NoteRaised);
        MainWindow::SetUp();
        ObserveEvents(nullptr);
    }
};

}  // namespace

// Loading raises Created, Loaded and Ready on the window, then the focus comes to the
// window and goes on to the first count box; no unit raises anything while it is made.
TEST_F(MainWindowLoad, RaisesCreatedThreeAndFourThenTheFocusEventsOnTheWayToTheFirstCountBox) {
    const std::vector<std::pair<uint32_t, int32_t>> expected = {
        {0, WindowData::Created.number}, {0, WindowData::Loaded.number},     {0, WindowData::Ready.number},
        {0, CommonEvents::GotFocus.number}, {0, CommonEvents::LostFocus.number}, {kDrink1, CommonEvents::GotFocus.number}};
    EXPECT_EQ(g_raised, expected);
}

namespace {

// The unit windows directly inside `parent`, from the top of the z-order down.
std::vector<HWND> StackedUnits(HWND parent) {
    std::vector<HWND> units;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (UnitObject* u = UnitObject::FromHandle(child); u && u->windowId() == kMainWindowId) units.push_back(child);
    return units;
}

// The platform's dialog walk over what `stacks` holds below `parent`: a shown, enabled
// control parent is entered, any other shown, enabled tab stop is a stop.
void TabStops(HWND parent, const std::map<HWND, std::vector<HWND>>& stacks, std::vector<HWND>* out) {
    auto held = stacks.find(parent);
    if (held == stacks.end()) return;
    for (HWND h : held->second) {
        const LONG style = GetWindowLongW(h, GWL_STYLE);
        if (!(style & WS_VISIBLE) || (style & WS_DISABLED)) continue;
        if (GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_CONTROLPARENT)
            TabStops(h, stacks, out);
        else if (style & WS_TABSTOP)
            out->push_back(h);
    }
}

}  // namespace

// Each window holds the units whose record names it as their parent (the window itself for
// parent 0) stacked in table order, the first on top; Tab therefore visits the shown tab
// stops in table order, entering each container where it stands.
TEST_F(MainWindow, EveryWindowStacksItsUnitsInTableOrderAndTabWalksThem) {
    WindowEntry* entry = FindLoadedWindow(kMainWindowId);
    ASSERT_NE(entry, nullptr);
    std::map<HWND, std::vector<HWND>> stacks;
    for (size_t k = 1; k < entry->working.size(); ++k) {
        const UnitRecord& r = entry->working[k];
        stacks[r.parentId ? Handle(r.parentId) : form].push_back(Handle(r.id));
    }
    ASSERT_EQ(stacks.size(), 5u) << "the window, the page control and three group boxes";
    for (const auto& [parent, units] : stacks) EXPECT_EQ(StackedUnits(parent), units) << "units of " << parent;

    std::vector<HWND> expected;
    TabStops(form, stacks, &expected);
    ASSERT_GT(expected.size(), 30u);
    std::vector<HWND> walked;
    for (HWND h = GetNextDlgTabItem(form, nullptr, FALSE); h && walked.size() <= expected.size();
         h = GetNextDlgTabItem(form, h, FALSE)) {
        if (!walked.empty() && h == walked.front()) break;
        walked.push_back(h);
    }
    EXPECT_EQ(walked, expected);
}

namespace {

void CollectWindows(HWND parent, std::vector<HWND>* out) {
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        out->push_back(child);
        CollectWindows(child, out);
    }
}

BOOL CALLBACK CollectTopWindow(HWND h, LPARAM p) {
    auto* out = reinterpret_cast<std::vector<HWND>*>(p);
    out->push_back(h);
    CollectWindows(h, out);
    return TRUE;
}

}  // namespace

// The clock rewrites 时间显示 every second all day: one write may repaint the windows the
// label lies over (each once, the label's text last) and nothing else in the process.
TEST_F(MainWindow, AClockCaptionWriteRepaintsOnlyTheWindowsThatIntersectTheLabel) {
    constexpr uint32_t kClockLine = 0x1601001E, kClock = 0x1601000D;
    RtEntries().writeProperty(kMainWindowId, kClock, Timer::Interval.index, -1, 0, 0);  // the clock stops: only our write paints
    RunLoopFor(200);
    std::vector<HWND> all;
    EnumThreadWindows(GetCurrentThreadId(), CollectTopWindow, reinterpret_cast<LPARAM>(&all));
    ASSERT_GT(all.size(), 100u);

    HWND label = Handle(kClockLine);
    RECT area;
    GetWindowRect(label, &area);
    std::vector<HWND> intersecting;
    for (HWND h : all) {
        RECT r, overlap;
        GetWindowRect(h, &r);
        if (IsWindowVisible(h) && IntersectRect(&overlap, &r, &area)) intersecting.push_back(h);
    }
    std::sort(intersecting.begin(), intersecting.end());

    for (const char* caption : {"2026-12-09 13:20:31", "2026-12-09 13:20:32"}) {
        SCOPED_TRACE(caption);
        MessageLog log(all, {WM_PAINT});
        uint64_t p = reinterpret_cast<uintptr_t>(caption);
        RtEntries().writeProperty(kMainWindowId, kClockLine, TransLabel::Caption.index, -1, static_cast<uint32_t>(p), static_cast<uint32_t>(p >> 32));
        RunLoopFor(150);
        std::vector<HWND> painted;
        for (const MessageLog::Entry& e : log.entries()) painted.push_back(e.hwnd);
        ASSERT_FALSE(painted.empty());
        EXPECT_EQ(painted.back(), label) << "the text comes last";
        std::printf("one caption write of the clock line: %zu paints, %zu windows intersect it, %zu in the process\n",
                    painted.size(), intersecting.size(), all.size());
        std::sort(painted.begin(), painted.end());
        EXPECT_EQ(painted, intersecting) << "each window over or under the label once, no other";
    }
}
