// Loading windows from the template: creation order, control ids, containers, pages, the
// timer's invisibility, the focus rule, reloading, centring and refused type data.
#include <gtest/gtest.h>

#include "controls/support_libraries.h"
#include "controls/unit_types.h"
#include "forms/forms_runtime.h"
#include "forms/type_data/button_data.h"
#include "forms/type_data/edit_box_data.h"
#include "forms/type_data/group_box_data.h"
#include "forms/type_data/label_data.h"
#include "forms/type_data/list_box_data.h"
#include "forms/units/timer_type.h"
#include "forms/type_data/window_data.h"
#include "runtime/message_loop.h"
#include "forms/unit_object.h"
#include "forms/window_list.h"
#include "runtime/entries.h"
#include "runtime/message_loop.h"
#include "tests/win/forms/form_fixture.h"

#include <commctrl.h>

namespace {

constexpr uint32_t kA = 0x16010002, kB = 0x16010003, kC = 0x16010004, kD = 0x16010005, kE = 0x16010006,
                   kF = 0x16010007, kG = 0x16010008;

bool g_safetyEnded = false;
void CALLBACK EndLoopForSafety(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    g_safetyEnded = true;
    PostQuitMessage(0);
}

std::vector<uint8_t> Edit(const std::string& text = "") {
    EditBoxData d;
    d.content = text;
    return EditBoxData::Write(d);
}

bool Shown(uint32_t unit) { return (GetWindowLongW(UnitHandle(unit), GWL_STYLE) & WS_VISIBLE) != 0; }

void LoadTestWindow() {
    ASSERT_TRUE(LoadStartWindowById(kTestWindowId));
    Pump(50);
}

// A stand-in for a type that shows pages, registered only here: a plain unit window that
// answers the runtime's question for its current page.
class StandInPages : public UnitObject {
public:
    using UnitObject::UnitObject;
    int32_t page = 0;
};

int32_t StandInCurrentPage(UnitObject* unit) { return static_cast<StandInPages*>(unit)->page; }

UnitObject* CreateStandInPages(const UnitCreateArgs& a) {
    UnitObject::RegisterUnitClass(L"_XR_TestPages", 0);
    auto* p = new StandInPages(a.type, a.windowId, a.unitId);
    if (!p->CreateOwnWindow(0, L"_XR_TestPages", L"", WS_CHILD | WS_CLIPSIBLINGS | a.styleBits, a)) {
        delete p;
        return nullptr;
    }
    return p;
}

const UnitOperations kStandInOperations = {.create = &CreateStandInPages, .currentPage = &StandInCurrentPage};
const UnitTypeInfo kStandInPageType = {"页", "PageControl",
                                       kTypeWindowUnit | kTypeRaisesEvents | kTypeNoFocus | kTypeShowsPages, 8,
                                       kCommonProperties, &kStandInOperations};
const UnitTypeInfo* const kStandInLibrary2Types[2] = {nullptr, &kStandInPageType};
const LibraryInfo kStandInLibrary2 = {"Pages", nullptr, 2, kStandInLibrary2Types, 0, nullptr};
const LibraryInfo* const kLibrariesWithStandIn[kSupportLibraryCount] = {
    &kCoreUnitLibrary, &kStandInLibrary2, &kExtendedUnitLibrary, &kThreadLibrary, &kShellLibrary};

}  // namespace

TEST(Loading, UnitsAreCreatedFromTheLastPositionWithIdsInStepsOfTenAndStackedInTableOrder) {
    StartRuntime(ImageBytes(OneWindow({WindowRecord(PlainWindowData()), Unit(kA, kTypeEditBox, 10, 10, 80, 20, Edit()),
                                       Unit(kB, kTypeButton, 10, 40, 80, 20, ButtonData::Write({})),
                                       Unit(kC, kTypeListBox, 10, 70, 80, 60, ListBoxData::Write({})),
                                       Unit(kD, kTypeEditBox, 10, 140, 80, 20, Edit())})));
    LoadTestWindow();
    // Created last first: position 4 got the first id.
    EXPECT_EQ(GetDlgCtrlID(UnitHandle(kD)), 100);
    EXPECT_EQ(GetDlgCtrlID(UnitHandle(kC)), 110);
    EXPECT_EQ(GetDlgCtrlID(UnitHandle(kB)), 120);
    EXPECT_EQ(GetDlgCtrlID(UnitHandle(kA)), 130);
    // Position 1 on top, each following unit behind the previous one.
    HWND h = GetWindow(FormHandle(), GW_CHILD);
    for (uint32_t id : {kA, kB, kC, kD}) {
        EXPECT_EQ(h, UnitHandle(id)) << std::hex << id;
        h = GetWindow(h, GW_HWNDNEXT);
    }
    WCHAR cls[32];
    GetClassNameW(UnitHandle(kA), cls, 32);
    EXPECT_STREQ(cls, L"Edit");
}

TEST(Loading, UnitsOfAContainerMoveIntoItKeepingTheirPositions) {
    UnitRecord group = Unit(kA, kTypeGroupBox, 20, 20, 200, 150, {}, UnitRecord::kStateVisible);
    group.children = {kB, kC};
    UnitRecord inner = Unit(kB, kTypeEditBox, 5, 30, 80, 20, Edit());
    inner.parentId = kA;
    UnitRecord label = Unit(kC, kTypeLabel, 5, 60, 80, 20, LabelData::Write({}), UnitRecord::kStateVisible);
    label.parentId = kA;
    StartRuntime(ImageBytes(OneWindow({WindowRecord(PlainWindowData()), group, inner, label,
                                       Unit(kD, kTypeEditBox, 250, 20, 80, 20, Edit())})));
    LoadTestWindow();
    EXPECT_EQ(GetParent(UnitHandle(kB)), UnitHandle(kA));
    EXPECT_EQ(GetParent(UnitHandle(kC)), UnitHandle(kA));
    EXPECT_EQ(GetParent(UnitHandle(kD)), FormHandle());
    EXPECT_EQ(ReadInt(kB, rt::Common::Left), 5);
    EXPECT_EQ(ReadInt(kB, rt::Common::Top), 30);
    EXPECT_TRUE(GetWindowLongW(UnitHandle(kA), GWL_EXSTYLE) & WS_EX_CONTROLPARENT);
}

// The units of each window in stacking order, the top first.
std::vector<HWND> Stacked(HWND parent) {
    std::vector<HWND> units;
    for (HWND h = GetWindow(parent, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) units.push_back(h);
    return units;
}

TEST(Loading, AContainerListedAfterItsUnitsHoldsThemAndEveryWindowStacksInTableOrder) {
    auto held = [](uint32_t id, uint32_t container, int top) {
        UnitRecord r = Unit(id, kTypeEditBox, 5, top, 80, 20, Edit());
        r.parentId = container;
        return r;
    };
    UnitRecord group = Unit(kD, kTypeGroupBox, 20, 60, 200, 150, {}, UnitRecord::kStateVisible);
    group.children = {kB, kC};
    StartRuntime(ImageBytes(OneWindow({WindowRecord(PlainWindowData()), Unit(kA, kTypeEditBox, 250, 20, 80, 20, Edit()),
                                       held(kB, kD, 30), held(kC, kD, 60), group,
                                       Unit(kE, kTypeEditBox, 250, 60, 80, 20, Edit())})));
    LoadTestWindow();
    EXPECT_EQ(GetParent(UnitHandle(kB)), UnitHandle(kD));
    EXPECT_EQ(GetParent(UnitHandle(kC)), UnitHandle(kD));
    EXPECT_EQ(ReadInt(kC, rt::Common::Top), 60);
    EXPECT_EQ(Stacked(FormHandle()), (std::vector<HWND>{UnitHandle(kA), UnitHandle(kD), UnitHandle(kE)}));
    EXPECT_EQ(Stacked(UnitHandle(kD)), (std::vector<HWND>{UnitHandle(kB), UnitHandle(kC)}));
    // Ids count from the last position down, wherever a unit was made.
    EXPECT_EQ(GetDlgCtrlID(UnitHandle(kE)), 100);
    EXPECT_EQ(GetDlgCtrlID(UnitHandle(kD)), 110);
    EXPECT_EQ(GetDlgCtrlID(UnitHandle(kA)), 140);
}

// A malformed table whose containers hold each other in a ring: each is made, the ring
// broken at its first position, which stays on the window.
TEST(Loading, ContainersThatHoldEachOtherInARingEndOnTheWindowAtTheirFirstPosition) {
    auto group = [](uint32_t id, uint32_t container, std::vector<uint32_t> children) {
        UnitRecord r = Unit(id, kTypeGroupBox, 10, 10, 200, 150, {}, UnitRecord::kStateVisible);
        r.parentId = container;
        r.children = std::move(children);
        return r;
    };
    StartRuntime(ImageBytes(OneWindow(
        {WindowRecord(PlainWindowData()), group(kA, kC, {kB}), group(kB, kA, {kC}), group(kC, kB, {kA})})));
    LoadTestWindow();
    EXPECT_EQ(GetParent(UnitHandle(kA)), FormHandle());
    EXPECT_EQ(GetParent(UnitHandle(kB)), UnitHandle(kA));
    EXPECT_EQ(GetParent(UnitHandle(kC)), UnitHandle(kB));
}

TEST(Loading, UnitsAfterTheFirstPageSeparatorAreHiddenAndFollowThePageControl) {
    UnitRecord pages = Unit(kA, kTypePageControl, 0, 0, 300, 250, {}, UnitRecord::kStateVisible);
    pages.children = {kB, kC, 0, kD, kE, 0, kF};
    auto onPage = [](uint32_t id, uint32_t flags, int top) {
        UnitRecord r = Unit(id, kTypeEditBox, 10, top, 80, 20, Edit(), flags);
        r.parentId = 0x16010002;
        return r;
    };
    const uint32_t shown = UnitRecord::kStateVisible | UnitRecord::kStateTabStop;
    StartRuntime(ImageBytes(OneWindow({WindowRecord(PlainWindowData()), pages, onPage(kB, shown, 10),
                                       onPage(kC, UnitRecord::kStateTabStop, 40), onPage(kD, shown, 10),
                                       onPage(kE, shown, 40), onPage(kF, shown, 10)})),
                 kLibrariesWithStandIn);
    LoadTestWindow();
    ASSERT_NE(UnitHandle(kA), nullptr);
    EXPECT_EQ(GetParent(UnitHandle(kB)), UnitHandle(kA));
    EXPECT_TRUE(Shown(kB));
    EXPECT_FALSE(Shown(kC)) << "marked invisible in the template";
    EXPECT_FALSE(Shown(kD));
    EXPECT_FALSE(Shown(kE));
    EXPECT_FALSE(Shown(kF));
    EXPECT_EQ(ReadInt(kD, rt::Common::Visible), 0);

    // The control moved to its second page and asks the runtime to follow.
    static_cast<StandInPages*>(FindUnitObject(kTestWindowId, kA))->page = 1;
    RtNotify(kNotifyPageChanged, kTestWindowId, kA);
    EXPECT_FALSE(Shown(kB));
    EXPECT_TRUE(Shown(kD));
    EXPECT_TRUE(Shown(kE));
    EXPECT_FALSE(Shown(kF));
    // Equal tab orders: the first unit of the page's list gets the focus.
    EXPECT_EQ(GetFocus(), UnitHandle(kD));
}

TEST(Loading, ATimerIsNeverShownWhateverItsFlagsSay) {
    StartRuntime(ImageBytes(OneWindow({WindowRecord(PlainWindowData()),
                                       Unit(kA, kTypeTimer, 10, 10, 24, 24, TimerData::Write({}), UnitRecord::kStateVisible)})));
    LoadTestWindow();
    ASSERT_NE(UnitHandle(kA), nullptr);
    EXPECT_FALSE(Shown(kA));
    WriteInt(kA, rt::Common::Visible, 1);
    EXPECT_FALSE(Shown(kA));
    WCHAR cls[32];
    GetClassNameW(UnitHandle(kA), cls, 32);
    EXPECT_STREQ(cls, L"_XR_Timer");
}

TEST(Loading, FocusGoesToTheSmallestTabOrderPreferringTheHighestPosition) {
    const uint32_t tab = UnitRecord::kStateVisible | UnitRecord::kStateTabStop;
    auto edit = [&](uint32_t id, uint32_t order, uint32_t flags, int top) {
        UnitRecord r = Unit(id, kTypeEditBox, 10, top, 80, 20, Edit(), flags);
        r.tabOrder = order;
        return r;
    };
    UnitRecord label = Unit(kE, kTypeLabel, 150, 10, 80, 20, LabelData::Write({}), tab);
    StartRuntime(ImageBytes(OneWindow({WindowRecord(PlainWindowData()), edit(kA, 2, tab, 10), edit(kB, 1, tab, 40),
                                       edit(kC, 1, tab, 70), edit(kD, 0, UnitRecord::kStateTabStop, 100), label,
                                       edit(kF, 0, tab | UnitRecord::kStateDisabled, 130),
                                       edit(kG, 0, UnitRecord::kStateVisible, 160)})));
    LoadTestWindow();
    SetForegroundWindow(FormHandle());
    SetFocus(FormHandle());
    Pump(50);
    // kD is hidden, the label takes no focus, kF is disabled, kG is no tab stop; of kB and
    // kC (order 1) the one met first walking down from the end wins.
    EXPECT_EQ(GetFocus(), UnitHandle(kC));

    // A child that had the focus when the window was left gets it back.
    SetFocus(UnitHandle(kA));
    SendMessageW(FormHandle(), WM_ACTIVATE, WA_INACTIVE, 0);
    SetFocus(FormHandle());
    Pump(20);
    EXPECT_EQ(GetFocus(), UnitHandle(kA));
}

TEST(Loading, LoadingALoadedWindowOnlyActivatesOrRestoresIt) {
    UnitRecord window = WindowRecord(PlainWindowData());
    On(window, rt::Window::Created.number);
    StartRuntime(ImageBytes(OneWindow({window, Unit(kA, kTypeEditBox, 10, 10, 80, 20, Edit())})));
    LoadTestWindow();
    HWND form = FormHandle(), edit = UnitHandle(kA);
    EXPECT_EQ(SeenEvents().size(), 1u);
    ShowWindow(form, SW_MINIMIZE);
    Pump(50);
    ASSERT_TRUE(IsIconic(form));
    ASSERT_TRUE(LoadStartWindowById(kTestWindowId));
    Pump(50);
    EXPECT_FALSE(IsIconic(form));
    EXPECT_EQ(FormHandle(), form);
    EXPECT_EQ(UnitHandle(kA), edit);
    EXPECT_EQ(SeenEvents().size(), 1u) << "no second creation event";
}

TEST(Loading, ACentredWindowIgnoresTheStoredLeftAndTop) {
    StartRuntime(ImageBytes(OneWindow({WindowRecord(PlainWindowData("Centred", 1), 50, 50, 500, 550)})));
    LoadTestWindow();
    RECT r;
    GetWindowRect(FormHandle(), &r);
    EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - 500) / 2);
    EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - 550) / 2);
    EXPECT_EQ(r.right - r.left, 500) << "the stored outer size is kept";
    EXPECT_EQ(r.bottom - r.top, 550);
    EXPECT_TRUE(IsWindowVisible(FormHandle()));
    WCHAR caption[32];
    GetWindowTextW(FormHandle(), caption, 32);
    EXPECT_STREQ(caption, L"Centred");
}

TEST(Loading, WindowFrameFollowsBorderStyleBoxesAndTaskbarSetting) {
    WindowData d;
    d.caption = "Tool";
    d.borderStyle = 4;  // fixed tool window
    d.minimiseBox = 0;
    d.showInTaskbar = 0;
    d.alwaysOnTop = 1;
    StartRuntime(ImageBytes(OneWindow({WindowRecord(WindowData::Write(d))})));
    LoadTestWindow();
    HWND form = FormHandle();
    LONG style = GetWindowLongW(form, GWL_STYLE), ex = GetWindowLongW(form, GWL_EXSTYLE);
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_FALSE(style & WS_MINIMIZEBOX);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(ex & WS_EX_TOOLWINDOW);
    EXPECT_TRUE(ex & WS_EX_TOPMOST);
    // Out of the taskbar: owned by the runtime's hidden owner window.
    HWND owner = GetWindow(form, GW_OWNER);
    ASSERT_NE(owner, nullptr);
    WCHAR cls[32];
    GetClassNameW(owner, cls, 32);
    EXPECT_STREQ(cls, L"_XR_HideOwner");
}

TEST(Loading, TypeDataAboveItsMaximumVersionLeavesThatUnitOut) {
    std::vector<uint8_t> tooNew = Edit("x");
    tooNew[0] = 3;  // the edit box stores at most version 2
    UnitRecord broken = Unit(kA, kTypeEditBox, 11, 12, 81, 21, tooNew);
    broken.tag = "tag";
    StartRuntime(ImageBytes(OneWindow({WindowRecord(PlainWindowData()), broken, Unit(kB, kTypeEditBox, 10, 40, 80, 20, Edit())})));
    LoadTestWindow();
    EXPECT_EQ(UnitHandle(kA), nullptr);
    EXPECT_NE(UnitHandle(kB), nullptr);
    // Its common properties still come from the record.
    EXPECT_EQ(ReadInt(kA, rt::Common::Left), 11);
    EXPECT_EQ(ReadInt(kA, rt::Common::Top), 12);
    EXPECT_EQ(ReadInt(kA, rt::Common::Width), 81);
    EXPECT_EQ(ReadInt(kA, rt::Common::Height), 21);
    EXPECT_EQ(ReadText(kA, rt::Common::Tag), "tag");
    EXPECT_EQ(ReadInt(kA, rt::Common::Visible), 1);
    EXPECT_EQ(RtNotify(kNotifyLookUpUnit, kTestWindowId, kA), 0);
    EXPECT_NE(RtNotify(kNotifyLookUpUnit, kTestWindowId, kB), 0);
}

TEST(Loading, LoadingRaisesCreatedThenThreeAndFourAndClosingEndsTheLoop) {
    UnitRecord window = WindowRecord(PlainWindowData());
    On(window, rt::Window::Created.number);
    On(window, rt::Window::Loaded.number);
    On(window, rt::Window::Ready.number);
    StartRuntime(ImageBytes(OneWindow({window, Unit(kA, kTypeEditBox, 10, 10, 80, 20, Edit())})));
    // The window is shown only after its creation event: a handler sees it still hidden.
    bool visibleDuringCreation = true;
    SetEventAction([&](const SeenEvent& e) {
        if (e.event == rt::Window::Created.number) visibleDuringCreation = IsWindowVisible(FormHandle()) != FALSE;
    });
    RtEntries().loadStartWindow(kTestWindowId);
    SetEventAction(nullptr);
    const std::vector<SeenEvent> expected = {
        {rt::Window::Created.number, 0, {}}, {rt::Window::Loaded.number, 0, {}}, {rt::Window::Ready.number, 0, {}}};
    EXPECT_EQ(SeenEvents(), expected) << Describe(SeenEvents());
    EXPECT_FALSE(visibleDuringCreation);
    EXPECT_TRUE(IsWindowVisible(FormHandle()));

    // Closing the window posts WM_QUIT, which ends the loop; a safety timer would end it
    // otherwise, and say so.
    PostMessageW(FormHandle(), WM_CLOSE, 0, 0);
    g_safetyEnded = false;
    UINT_PTR safety = SetTimer(nullptr, 0, 60000, &EndLoopForSafety);
    RunMessageLoop(nullptr);
    KillTimer(nullptr, safety);
    EXPECT_FALSE(g_safetyEnded) << "closing the window did not end the message loop";
    EXPECT_EQ(FindLoadedWindow(kTestWindowId), nullptr);
    EXPECT_EQ(FindUnitObject(kTestWindowId, kA), nullptr);
    EXPECT_FALSE(AnyLoadedWindowAlive());
}
