// The toolbox's main window, loaded by the real program code from the real template and
// read back unit by unit through the runtime: name, type, parent, place, size, visibility and
// text of every unit as its record in the template says (the form test holds the template
// against the form source), then the pages switched by real clicks on the tab strip and the
// focus each page gives. The monitor is never started here.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "controls/unit_types.h"
#include "forms/events.h"
#include "forms/type_data/window_data.h"
#include "forms/unit_events.h"
#include "forms/units/timer_type.h"
#include "controls/trans_label_data.h"
#include "forms/forms_runtime.h"
#include "forms/template_image.h"
#include "forms/type_data/button_data.h"
#include "forms/type_data/edit_box_data.h"
#include "forms/type_data/group_box_data.h"
#include "forms/type_data/label_data.h"
#include "forms/unit_object.h"
#include "forms/window_list.h"
#include "main_window_units.h"
#include "runtime/entries.h"
#include "runtime/program_descriptor.h"
#include "tests/win/controls/control_test_util.h"
#include "tests/win/forms/form_fixture.h"
#include "tests/win/screen_shot.h"
#include "toolbox/rt.h"
#include "toolbox/start_tools.h"

extern const ProgramDescriptor kProgramDescriptor;
extern const unsigned char kMainWindowTemplate[];
extern const uint32_t kMainWindowTemplateSize;

namespace {

// The layout: the main window's records as the program's template holds them.
const WindowTemplate& Layout() {
    static const TemplateImage image = *ReadTemplateImage(kMainWindowTemplate, kMainWindowTemplateSize);
    return image.windows.at(0);  // the template's only window
}

// The tools size and move these when the window is created, to fit the host lists.
const std::set<std::string> kPlacedAtStartUp = {"疆内分组框", "疆外分组框", "疆内超级列表框", "疆外超级列表框"};

// The caption or content a unit's record gives it, with the property that reads it back.
struct Text {
    int32_t property;
    std::string text;
};
std::optional<Text> TextOf(const UnitRecord& r) {
    const uint8_t* d = r.typeData.data();
    const size_t n = r.typeData.size();
    switch (r.typeCode) {
        case rt::TransLabel::kTypeCode: return Text{rt::TransLabel::Caption.index, TransLabelData::Parse(d, n)->caption};
        case rt::EditBox::kTypeCode: return Text{rt::EditBox::Content.index, EditBoxData::Parse(d, n)->content};
        case rt::Label::kTypeCode: return Text{rt::Label::Caption.index, LabelData::Parse(d, n)->caption};
        case rt::Button::kTypeCode: return Text{rt::Button::Caption.index, ButtonData::Parse(d, n)->caption};
        case rt::GroupBox::kTypeCode: return Text{rt::GroupBox::Caption.index, GroupBoxData::Parse(d, n)->caption};
        default: return std::nullopt;
    }
}

HWND Handle(rt::AnyUnit unit) {
    UnitObject* u = FindUnitObject(unit.windowId, unit.unitId == kWindowRecordId ? 0 : unit.unitId);
    return u ? u->hwnd() : nullptr;
}
HWND Handle(uint32_t unit) { return Handle(rt::AnyUnit{kMainWindowId, unit, 0}); }

// The toolbox's own program descriptor and start: the runtime, its template, the main
// window with its creation handler.
class MainWindow : public testing::Test {
protected:
    void SetUp() override {
        UseProgramDescriptor(&kProgramDescriptor);
        RtEntries().otherHelp(kServiceInitialise, 0, 0, 0, 0, 0, 0);
        RtEntries().loadStartWindow(kMainWindowId);
        form = Handle(units::主窗口);
        ASSERT_NE(form, nullptr);
        ASSERT_TRUE(SettlePosted());
        const UnitRecord* tabs = Layout().FindRecord(units::茗柜.unitId);
        ASSERT_NE(tabs, nullptr);
        pages = SplitPages(tabs->children);
        ASSERT_EQ(pages.size(), 3u);
    }

    // The page (0-2) whose list holds the unit, or -1.
    int PageOf(uint32_t id) const {
        for (size_t p = 0; p < pages.size(); ++p)
            if (std::count(pages[p].begin(), pages[p].end(), id)) return static_cast<int>(p);
        return -1;
    }
    // Shown while page `page` (0-2) is current: marked visible, no timer, on the window, on
    // that page, or in a container that is shown.
    bool ShownOn(const UnitRecord& r, int page) const {
        if (!r.visible() || r.typeCode == rt::Timer::kTypeCode) return false;
        if (r.parentId == 0) return true;
        if (r.parentId == units::茗柜.unitId) return PageOf(r.id) == page;
        const UnitRecord* parent = Layout().FindRecord(r.parentId);
        return parent && ShownOn(*parent, page);
    }

    void ExpectPage(int page) {
        EXPECT_EQ(SendMessageW(Handle(units::茗柜), TCM_GETCURSEL, 0, 0), page);
        for (size_t i = 1; i < Layout().records.size(); ++i) {
            const UnitRecord& r = Layout().records[i];
            EXPECT_EQ(ReadInt(r.id, rt::Common::Visible), ShownOn(r, page) ? 1 : 0) << r.name << " on page " << page + 1;
        }
    }

    void ClickTab(int tab) {
        HWND tabs = Handle(units::茗柜);
        RECT r = {};
        ASSERT_TRUE(SendMessageW(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(tab), reinterpret_cast<LPARAM>(&r)));
        ASSERT_TRUE(ClickAt(tabs, {(r.left + r.right) / 2, (r.top + r.bottom) / 2}));
    }

    HWND form = nullptr;
    std::vector<std::vector<uint32_t>> pages;
};

}  // namespace

TEST_F(MainWindow, EveryUnitHasTheNameTypeParentPlaceAndTextOfItsRecord) {
    WindowEntry* entry = FindLoadedWindow(kMainWindowId);
    ASSERT_NE(entry, nullptr);
    ASSERT_EQ(entry->working.size(), 118u);
    ASSERT_EQ(Layout().records.size(), 118u);
    for (size_t i = 1; i < Layout().records.size(); ++i) {
        const UnitRecord& r = Layout().records[i];
        SCOPED_TRACE(r.name);
        int position = entry->FindPosition(r.id);
        ASSERT_GT(position, 0) << std::hex << r.id;
        const UnitRecord& record = entry->working[static_cast<size_t>(position)];
        EXPECT_EQ(record.name, r.name);
        EXPECT_EQ(record.typeCode, r.typeCode);
        UnitObject* unit = FindUnitObject(kMainWindowId, r.id);
        ASSERT_NE(unit, nullptr) << "not created";
        EXPECT_EQ(GetParent(unit->hwnd()), r.parentId ? Handle(r.parentId) : form);
        if (!kPlacedAtStartUp.count(r.name)) {
            EXPECT_EQ(ReadInt(r.id, rt::Common::Left), r.left);
            EXPECT_EQ(ReadInt(r.id, rt::Common::Top), r.top);
            EXPECT_EQ(ReadInt(r.id, rt::Common::Width), r.width);
            // A drop-down combo box is as high as its font makes its edit field.
            if (r.typeCode != rt::ComboBox::kTypeCode) {
                EXPECT_EQ(ReadInt(r.id, rt::Common::Height), r.height);
            }
        }
        EXPECT_EQ(ReadInt(r.id, rt::Common::Visible), ShownOn(r, 0) ? 1 : 0) << "visible when the window opens";
        // The clock writes its line once a second.
        if (std::optional<Text> text = TextOf(r); text && r.id != units::时间显示.unitId) {
            EXPECT_EQ(ReadText(r.id, text->property), text->text);
        }
    }
    // Pages: 77, 17 and 12 units, as the page control's list separates them.
    EXPECT_EQ(pages[0].size(), 77u);
    EXPECT_EQ(pages[1].size(), 17u);
    EXPECT_EQ(pages[2].size(), 12u);
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
    EXPECT_EQ(ReadInt(0, rt::Window::BackgroundColour), 0x00ECECEC);

    HWND tabs = Handle(units::茗柜);
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
    EXPECT_EQ(GetFocus(), Handle(units::盘饮料1));
    // The status bar lies below the page control.
    EXPECT_GE(ReadInt(units::状态条1.unitId, rt::Common::Top),
              ReadInt(units::茗柜.unitId, rt::Common::Top) + ReadInt(units::茗柜.unitId, rt::Common::Height));
}

TEST_F(MainWindow, ClickingTheTabsShowsEachPageWithItsFocusAndNeverTheHiddenUnits) {
    SetForegroundWindow(form);
    ClickTab(1);
    ExpectPage(1);
    EXPECT_EQ(GetFocus(), Handle(units::编辑框秒));
    ClickTab(2);
    ExpectPage(2);
    EXPECT_EQ(GetFocus(), Handle(units::清除按钮));

    // The current tab again: nothing changes, not even the focus.
    SetFocus(Handle(units::编辑框3));
    ClickTab(2);
    ExpectPage(2);
    EXPECT_EQ(GetFocus(), Handle(units::编辑框3));

    ClickTab(0);
    ExpectPage(0);
    EXPECT_EQ(GetFocus(), Handle(units::其它钱数));
    ClickTab(1);
    ExpectPage(1);
    EXPECT_EQ(ReadInt(units::开始.unitId, rt::Common::Visible), 1);  // shown, and never pressed here
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
        {0, CommonEvents::GotFocus.number}, {0, CommonEvents::LostFocus.number}, {units::盘饮料1.unitId, CommonEvents::GotFocus.number}};
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

// The clock rewrites 时间显示 every second all day. The label lies over nothing but its group
// box, which paints all of its background: a write draws the box's paint and the text on the
// label's own DC, so no window gets a paint message, and the page and main window under the
// box are left alone.
TEST_F(MainWindow, AClockCaptionWriteDrawsItsGroupBoxOnTheLabelAndPaintsNoWindow) {
    WriteInt(units::时钟1.unitId, rt::Timer::Interval, 0);  // the clock stops: only our write paints
    ASSERT_TRUE(SettlePosted());
    std::vector<HWND> all;
    EnumThreadWindows(GetCurrentThreadId(), CollectTopWindow, reinterpret_cast<LPARAM>(&all));
    ASSERT_GT(all.size(), 100u);

    HWND label = Handle(units::时间显示), box = Handle(units::分组框1);
    ASSERT_EQ(GetParent(label), box);
    RECT area;
    GetWindowRect(label, &area);
    std::vector<HWND> inTheBox;
    size_t beneathTheBox = 0;
    for (HWND h : all) {
        RECT r, overlap;
        GetWindowRect(h, &r);
        if (!IsWindowVisible(h) || !IntersectRect(&overlap, &r, &area) || h == label) continue;
        if (h == box || IsChild(box, h))
            inTheBox.push_back(h);
        else
            ++beneathTheBox;
    }
    ASSERT_GE(beneathTheBox, 2u) << "the page and the main window lie under the box";
    ASSERT_EQ(inTheBox, std::vector<HWND>{box}) << "nothing else in the box meets the label";

    for (const char* caption : {"2026-12-09 13:20:31", "2026-12-09 13:20:32"}) {
        SCOPED_TRACE(caption);
        MessageLog log(all, {WM_PAINT});
        WriteText(units::时间显示.unitId, rt::TransLabel::Caption, caption);
        ASSERT_TRUE(SettlePosted());
        EXPECT_TRUE(log.entries().empty()) << log.entries().size() << " windows painted";

        // On screen exactly what a repaint of the whole window shows: the text last and once, over
        // the box.
        Shot written = CaptureScreen(area);
        EXPECT_GT(written.Count([](COLORREF c) { return GetRValue(c) > 200 && GetGValue(c) < 160; }), 10)
            << "the clock's text is on screen";
        RedrawWindow(GetAncestor(label, GA_ROOT), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        ASSERT_TRUE(SettlePosted());
        Shot whole = CaptureScreen(area);
        EXPECT_TRUE(written == whole) << Difference(written, whole);
    }
}
