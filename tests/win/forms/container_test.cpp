// Units inside containers: a page control and a group box hold units that were created on
// the window and moved in afterwards. Real clicks and typing through the runtime's message
// loop; the events are recorded and compared with tables, and what the units answer to
// their notifications (colours, list-view display information) is read back.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "controls/list_view_data.h"
#include "controls/page_control_data.h"
#include "controls/unit_types.h"
#include "forms/forms_runtime.h"
#include "forms/type_data/button_data.h"
#include "forms/type_data/combo_box_data.h"
#include "forms/type_data/edit_box_data.h"
#include "forms/type_data/group_box_data.h"
#include "forms/type_data/list_box_data.h"
#include "forms/unit_object.h"
#include "forms/window_list.h"
#include "forms/window_loader.h"
#include "tests/win/controls/control_test_util.h"
#include "tests/win/forms/form_fixture.h"

namespace {

constexpr uint32_t kPages = 0x16010002, kGroup = 0x16010003;
// The same six units twice: on the page control's page (base 0x10) and in the group box
// (base 0x20).
constexpr uint32_t kPageBase = 0x16010010, kGroupBase = 0x16010020;
enum Member : uint32_t { kButton = 0, kPick = 1, kField = 2, kEdit = 3, kList = 4, kView = 5, kMembers = 6 };
constexpr uint32_t P(Member m) { return kPageBase + m; }
constexpr uint32_t G(Member m) { return kGroupBase + m; }

constexpr uint32_t kOtherWindowId = 0x52010002, kOtherButton = 0x16010040;
constexpr COLORREF kYellow = RGB(255, 255, 0);
constexpr uint32_t kShown = UnitRecord::kStateVisible | UnitRecord::kStateTabStop;

std::vector<uint8_t> PickData(uint32_t style) {
    ComboBoxData d;
    d.style = style;
    d.items = {"甲", "乙", "丙"};
    return ComboBoxData::Write(d);
}

std::vector<uint8_t> YellowEdit() {
    EditBoxData d;
    d.backgroundColour = 0x0000FFFF;
    return EditBoxData::Write(d);
}

std::vector<uint8_t> YellowList() {
    ListBoxData d;
    d.items = {"一", "二", "三"};
    d.backgroundColour = 0x0000FFFF;
    return ListBoxData::Write(d);
}

std::vector<uint8_t> ReportView() {
    ListViewData d;
    d.viewType = 3;
    d.singleSelection = 1;
    d.columns = {{0, -1, 0, 80, "地址"}};
    return ListViewData::Write(d);
}

// The six units of one container; coordinates are in the container's client area.
std::vector<UnitRecord> Members(uint32_t base, uint32_t container) {
    std::vector<UnitRecord> units = {
        Unit(base + kButton, kTypeButton, 10, 40, 80, 24, ButtonData::Write({})),
        Unit(base + kPick, kTypeComboBox, 100, 40, 100, 20, PickData(2)),
        Unit(base + kField, kTypeComboBox, 210, 40, 100, 20, PickData(1)),
        Unit(base + kEdit, kTypeEditBox, 320, 40, 100, 22, YellowEdit()),
        Unit(base + kList, kTypeListBox, 10, 80, 120, 90, YellowList()),
        Unit(base + kView, kTypeListView, 140, 80, 220, 90, ReportView()),
    };
    for (UnitRecord& r : units) r.parentId = container;
    return units;
}

UnitRecord PageControl() {
    PageControlData d;
    d.settings34 = {0, 0x00ECECEC, 0x00ECECEC, 0x00ECECEC};
    PageControlPage page;
    page.caption = "页";
    d.pages = {page};
    UnitRecord r = Unit(kPages, kTypePageControl, 0, 0, 500, 200, PageControlData::Write(d), kShown);
    for (uint32_t m = 0; m < kMembers; ++m) r.children.push_back(P(static_cast<Member>(m)));
    return r;
}

UnitRecord GroupBox() {
    GroupBoxData d;
    d.caption = "组";
    return Unit(kGroup, kTypeGroupBox, 0, 210, 500, 190, GroupBoxData::Write(d), kShown);
}

// Loads the window with both containers; `bind` adds events to the records first. With
// `second`, a further window with one button is in the template and loaded too.
void Load(const std::function<void(std::vector<UnitRecord>&)>& bind, bool second = false) {
    std::vector<UnitRecord> units = {WindowRecord(PlainWindowData(), 20, 20, 520, 440), PageControl(), GroupBox()};
    for (UnitRecord& r : Members(kPageBase, kPages)) units.push_back(r);
    for (UnitRecord& r : Members(kGroupBase, kGroup)) units.push_back(r);
    bind(units);
    TemplateImage image = OneWindow(std::move(units));
    if (second) {
        WindowTemplate other;
        other.id = kOtherWindowId;
        other.attributeA = 11;
        other.attributeB = 0x19010003;
        other.records = {WindowRecord(PlainWindowData("Other"), 560, 20, 200, 120),
                         Unit(kOtherButton, kTypeButton, 10, 10, 80, 24, ButtonData::Write({}))};
        image.windows.push_back(std::move(other));
    }
    StartRuntime(ImageBytes(image));
    SetLastError(0);
    ASSERT_TRUE(LoadStartWindowById(kTestWindowId)) << "error " << GetLastError();
    if (second) {
        ASSERT_TRUE(LoadWindow(*FindWindowEntry(kOtherWindowId), 0, false, nullptr));
    }
    SetForegroundWindow(FormHandle());
    Pump(80);
    SeenEvents().clear();
}

void Bind(std::vector<UnitRecord>& units, uint32_t id, std::initializer_list<int32_t> events) {
    for (UnitRecord& r : units) {
        if (r.id != id) continue;
        for (int32_t e : events) On(r, e);
    }
}

POINT Centre(HWND hwnd) {
    RECT r;
    GetClientRect(hwnd, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// Opens a drop-down list with a click on its field and clicks one of its items.
void PickWithMouse(uint32_t combo, int item) {
    HWND h = UnitHandle(combo);
    ASSERT_TRUE(ClickAt(h, Centre(h)));
    COMBOBOXINFO info = {};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(h, &info));
    ASSERT_TRUE(IsWindowVisible(info.hwndList)) << "the list did not open";
    RECT r = {};
    SendMessageW(info.hwndList, LB_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&r));
    ASSERT_TRUE(ClickAt(info.hwndList, {(r.left + r.right) / 2, (r.top + r.bottom) / 2}));
    EXPECT_FALSE(IsWindowVisible(info.hwndList)) << "the list stayed open";
}

void Type(const char* text) {
    TypeAscii(text);
    ASSERT_TRUE(SettleInput()) << "the typing was not handled";
}

}  // namespace

TEST(Containers, ClicksAndChoicesInAPageControlAndAGroupBoxRaiseEachUnitsOwnEventsOnce) {
    Load([](std::vector<UnitRecord>& units) {
        for (uint32_t base : {kPageBase, kGroupBase}) {
            Bind(units, base + kButton, {0});
            Bind(units, base + kPick, {0, -7, -8});
        }
    });
    ASSERT_TRUE(ClickAt(UnitHandle(P(kButton)), Centre(UnitHandle(P(kButton)))));
    PickWithMouse(P(kPick), 1);
    ASSERT_TRUE(ClickAt(UnitHandle(G(kButton)), Centre(UnitHandle(G(kButton)))));
    PickWithMouse(G(kPick), 2);
    ASSERT_TRUE(ClickAt(UnitHandle(G(kEdit)), {5, 5}));
    const std::vector<SeenEvent> expected = {
        {0, P(kButton), {}}, {-7, P(kPick), {}}, {0, P(kPick), {}}, {-8, P(kPick), {}},
        {0, G(kButton), {}}, {-7, G(kPick), {}}, {0, G(kPick), {}}, {-8, G(kPick), {}},
    };
    EXPECT_EQ(SeenEvents(), expected) << Describe(SeenEvents());
    EXPECT_EQ(ReadInt(P(kPick), rt::ComboBox::CurrentSelection), 1);
    EXPECT_EQ(ReadInt(G(kPick), rt::ComboBox::CurrentSelection), 2);
}

TEST(Containers, TypingIntoTheFieldsOfContainedUnitsRaisesNoOwnEvent) {
    Load([](std::vector<UnitRecord>& units) {
        for (uint32_t base : {kPageBase, kGroupBase}) {
            Bind(units, base + kEdit, {0, 1, 2});
            Bind(units, base + kField, {0});
        }
    });
    for (uint32_t base : {kPageBase, kGroupBase}) {
        ASSERT_TRUE(ClickAt(UnitHandle(base + kEdit), {5, 5}));
        Type("12ab");
        // The drop-down's own edit field takes the keys.
        COMBOBOXINFO info = {};
        info.cbSize = sizeof info;
        ASSERT_TRUE(GetComboBoxInfo(UnitHandle(base + kField), &info));
        ASSERT_TRUE(ClickAt(info.hwndItem, {5, 5}));
        Type("34cd");
        EXPECT_EQ(ReadText(base + kEdit, rt::EditBox::Content), "12ab");
        EXPECT_EQ(ReadText(base + kField, rt::ComboBox::Content), "34cd");
    }
    EXPECT_TRUE(SeenEvents().empty()) << Describe(SeenEvents());
}

TEST(Containers, ContainedUnitsAnswerTheNotificationsOfTheirWindows) {
    Load([](std::vector<UnitRecord>&) {});
    for (uint32_t base : {kPageBase, kGroupBase}) {
        SCOPED_TRACE(base == kPageBase ? "in the page control" : "in the group box");
        // Colours: the list box asks the window it was created on, the edit box its parent.
        Shot list = CaptureClient(UnitHandle(base + kList));
        EXPECT_EQ(list.At(list.width - 4, list.height - 4), kYellow) << "list box background";
        Shot edit = CaptureClient(UnitHandle(base + kEdit));
        EXPECT_EQ(edit.At(edit.width - 4, edit.height / 2), kYellow) << "edit box background";
        // A row without an image: the list view asks for it, and the unit answers "none".
        HWND view = UnitHandle(base + kView);
        LVITEMW row = {};
        row.mask = LVIF_TEXT | LVIF_IMAGE;
        row.iItem = 0;
        row.pszText = const_cast<wchar_t*>(L"127.0.0.1");
        row.iImage = I_IMAGECALLBACK;
        ASSERT_EQ(SendMessageW(view, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&row)), 0);
        LVITEMW read = {};
        read.mask = LVIF_IMAGE;
        read.iItem = 0;
        ASSERT_TRUE(SendMessageW(view, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&read)));
        EXPECT_EQ(read.iImage, I_IMAGENONE);
    }
}

TEST(Containers, ANotificationReachesOnlyAUnitOfTheLoadedWindowThatReceivesIt) {
    Load(
        [](std::vector<UnitRecord>& units) {
            Bind(units, P(kButton), {0});
            Bind(units, G(kButton), {0});
        },
        true);
    if (HasFailure()) return;
    HWND other = FindWindowObject(FindWindowIndex(kOtherWindowId))->hwnd();
    auto clicked = [](uint32_t unit) {
        HWND h = UnitHandle(unit);
        return std::pair{MAKEWPARAM(GetDlgCtrlID(h), BN_CLICKED), reinterpret_cast<LPARAM>(h)};
    };
    auto [wParam, lParam] = clicked(P(kButton));
    SendMessageW(other, WM_COMMAND, wParam, lParam);
    EXPECT_TRUE(SeenEvents().empty()) << "another loaded window's unit: " << Describe(SeenEvents());
    // Any window of the unit's own loaded window hands it on: its container, another
    // container, the window itself.
    for (uint32_t receiver : {kPages, kGroup, 0u}) SendMessageW(UnitHandle(receiver), WM_COMMAND, wParam, lParam);
    auto [wParam2, lParam2] = clicked(G(kButton));
    SendMessageW(FormHandle(), WM_COMMAND, wParam2, lParam2);
    const std::vector<SeenEvent> expected = {
        {0, P(kButton), {}}, {0, P(kButton), {}}, {0, P(kButton), {}}, {0, G(kButton), {}}};
    EXPECT_EQ(SeenEvents(), expected) << Describe(SeenEvents());
}
