// The label, the group box, the button and the list box on real windows: what their
// properties do to the window and to what it draws, and the events each raises for real
// mouse and keyboard input.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "controls/unit_types.h"
#include "forms/font_rules.h"
#include "forms/forms_runtime.h"
#include "forms/type_data/button_data.h"
#include "forms/type_data/edit_box_data.h"
#include "forms/type_data/group_box_data.h"
#include "forms/type_data/label_data.h"
#include "forms/type_data/list_box_data.h"
#include "tests/win/controls/control_test_util.h"
#include "tests/win/forms/form_fixture.h"

namespace {

constexpr uint32_t kUnit = 0x16010002, kEdit = 0x16010003;
constexpr COLORREF kWindowColour = 0x00ECECEC, kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255), kCyan = RGB(0, 255, 255);

void Load(std::vector<UnitRecord> units) {
    units.insert(units.begin(), WindowRecord(PlainWindowData(), 60, 60, 360, 260));
    StartRuntime(ImageBytes(OneWindow(std::move(units))));
    ASSERT_TRUE(LoadStartWindowById(kTestWindowId));
    SetForegroundWindow(FormHandle());
    ASSERT_TRUE(SettlePosted());
    SeenEvents().clear();
}

// The unit as the screen shows it, once everything pending is painted.
Shot Shown(uint32_t unit = kUnit) {
    Pump(20);
    RECT r;
    GetWindowRect(UnitHandle(unit), &r);
    return CaptureScreen(r);
}

POINT ScreenPoint(uint32_t unit, POINT client) {
    ClientToScreen(UnitHandle(unit), &client);
    return client;
}

std::wstring WindowText(HWND h) {
    wchar_t text[256] = {};
    GetWindowTextW(h, text, 256);
    return text;
}

bool Reddish(COLORREF c) { return GetRValue(c) >= GetGValue(c) + 60 && GetRValue(c) >= GetBValue(c) + 60; }

LONG Style(uint32_t unit) { return GetWindowLongW(UnitHandle(unit), GWL_STYLE); }
LONG ExStyle(uint32_t unit) { return GetWindowLongW(UnitHandle(unit), GWL_EXSTYLE); }

}  // namespace

TEST(LabelUnit, ItsBackgroundFillsOrLetsThroughAndItsTextTakesItsColourAndPlace) {
    LabelData d;
    d.caption = "标签";
    d.textColour = kRed;
    d.backgroundColour = kCyan;
    d.choice24 = 1;  // centred
    Load({Unit(kUnit, kTypeLabel, 20, 20, 160, 30, LabelData::Write(d), UnitRecord::kStateVisible)});
    Shot opaque = Shown();
    const RECT ink = opaque.Bounds(&Reddish);
    ASSERT_LT(ink.left, ink.right) << "no caption drawn";
    EXPECT_GT(opaque.Count(kCyan), opaque.width * opaque.height / 2) << "the background colour fills it";
    EXPECT_NEAR((ink.left + ink.right) / 2.0, opaque.width / 2.0, 2) << "centred";
    EXPECT_FALSE(ExStyle(kUnit) & WS_EX_TRANSPARENT);

    // The marker colour: see-through, the window's colour shows beneath the text.
    WriteInt(kUnit, rt::Label::BackgroundColour, static_cast<int32_t>(kColourMarker));
    EXPECT_TRUE(ExStyle(kUnit) & WS_EX_TRANSPARENT);
    Shot through = Shown();
    EXPECT_EQ(through.Count(kCyan), 0);
    EXPECT_GT(through.Count(kWindowColour), through.width * through.height / 2);
    EXPECT_GT(through.Count(&Reddish), 0);

    // A new caption, colour and alignment show at once.
    WriteText(kUnit, rt::Label::Caption, "新的标签文字");
    EXPECT_EQ(WindowText(UnitHandle(kUnit)), L"新的标签文字");
    EXPECT_EQ(ReadText(kUnit, rt::Label::Caption), "新的标签文字");
    WriteInt(kUnit, rt::Label::TextColour, static_cast<int32_t>(kBlue));
    WriteInt(kUnit, rt::Label::Choice24, 0);  // left
    Shot blue = Shown();
    EXPECT_EQ(blue.Count(&Reddish), 0);
    const RECT left = blue.Bounds([](COLORREF c) { return GetBValue(c) >= GetRValue(c) + 60; });
    ASSERT_LT(left.left, left.right);
    EXPECT_LT(left.left, 3) << "on the left";
    EXPECT_GT(left.right - left.left, ink.right - ink.left) << "the longer caption";

    // Border 5 frames it in black; the clamps keep every pick in range.
    WriteInt(kUnit, rt::Label::Border, 5);
    EXPECT_EQ(Shown().At(0, 0), RGB(0, 0, 0));
    WriteInt(kUnit, rt::Label::Border, 9);
    EXPECT_EQ(ReadInt(kUnit, rt::Label::Border), 6);
    WriteInt(kUnit, rt::Label::Choice24, -3);
    EXPECT_EQ(ReadInt(kUnit, rt::Label::Choice24), 0);
}

TEST(LabelUnit, MouseButtonsAndADoubleClickRaiseTheCommonEventsWithTheirPlace) {
    LabelData d;
    d.caption = "双击";
    UnitRecord label = Unit(kUnit, kTypeLabel, 20, 20, 120, 30, LabelData::Write(d), UnitRecord::kStateVisible);
    On(label, -1);
    On(label, -3);
    On(label, -4);
    Load({label});
    const POINT p = ScreenPoint(kUnit, {9, 7});
    ClickScreenPoint(p);
    ClickScreenPoint(p);  // within the double-click time: the second press is a double click
    Mouse(p, MOUSEEVENTF_RIGHTDOWN);
    Mouse(p, MOUSEEVENTF_RIGHTUP);
    ASSERT_TRUE(SettleInput());
    const std::vector<SeenEvent> expected = {{-1, kUnit, {9, 7, 0}}, {-3, kUnit, {9, 7, 0}}, {-4, kUnit, {9, 7, 0}}};
    EXPECT_EQ(SeenEvents(), expected) << Describe(SeenEvents());
}

TEST(GroupBoxUnit, ItsCaptionAndColoursShowAndItNeverTakesTheFocus) {
    GroupBoxData d;
    d.caption = "分组";
    d.textColour = kRed;
    d.backgroundColour = kCyan;
    UnitRecord group = Unit(kUnit, kTypeGroupBox, 20, 20, 200, 120, GroupBoxData::Write(d),
                            UnitRecord::kStateVisible | UnitRecord::kStateTabStop);
    Load({group, Unit(kEdit, kTypeEditBox, 20, 160, 100, 22, EditBoxData::Write({}))});
    Shot shown = Shown();
    EXPECT_GT(shown.Count(kCyan), shown.width * shown.height / 2) << "its background colour fills it";
    const RECT caption = shown.Bounds(&Reddish);
    ASSERT_LT(caption.left, caption.right) << "no caption in its text colour";
    EXPECT_LT(caption.bottom, shown.height / 2) << "the caption sits in the frame's top edge";
    EXPECT_FALSE(Style(kUnit) & WS_TABSTOP) << "a frame is no tab stop";

    WriteText(kUnit, rt::GroupBox::Caption, "新分组");
    EXPECT_EQ(WindowText(UnitHandle(kUnit)), L"新分组");
    EXPECT_EQ(ReadText(kUnit, rt::GroupBox::Caption), "新分组");
    WriteInt(kUnit, rt::GroupBox::BackgroundColour, static_cast<int32_t>(kWindowColour));
    WriteInt(kUnit, rt::GroupBox::TextColour, static_cast<int32_t>(kBlue));
    Shot recoloured = Shown();
    EXPECT_EQ(recoloured.Count(kCyan), 0);
    EXPECT_EQ(recoloured.Count(&Reddish), 0);
    EXPECT_GT(recoloured.Count([](COLORREF c) { return GetBValue(c) >= GetRValue(c) + 60; }), 0);

    // Tab from the edit box wraps to the edit box: the group box is passed over.
    SetFocus(UnitHandle(kEdit));
    Tap(VK_TAB);
    ASSERT_TRUE(SettleInput());
    EXPECT_EQ(GetFocus(), UnitHandle(kEdit));
}

TEST(ButtonUnit, TypeAlignmentCaptionAndFontChangeTheLiveButton) {
    Load({Unit(kUnit, kTypeButton, 20, 20, 120, 40, ButtonData::Write({}))});
    EXPECT_EQ(Style(kUnit) & BS_TYPEMASK, BS_PUSHBUTTON);
    EXPECT_EQ(Style(kUnit) & (BS_CENTER | BS_VCENTER), BS_CENTER | BS_VCENTER);
    HWND before = UnitHandle(kUnit);
    WriteInt(kUnit, rt::Button::ButtonType, 1);
    WriteInt(kUnit, rt::Button::HorizontalAlignment, 0);
    WriteInt(kUnit, rt::Button::VerticalAlignment, 2);
    EXPECT_EQ(UnitHandle(kUnit), before) << "a button changes its style in place";
    EXPECT_EQ(Style(kUnit) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    EXPECT_EQ(Style(kUnit) & (BS_CENTER | BS_VCENTER), BS_LEFT | BS_BOTTOM);
    WriteInt(kUnit, rt::Button::HorizontalAlignment, 7);
    EXPECT_EQ(ReadInt(kUnit, rt::Button::HorizontalAlignment), 2);
    EXPECT_EQ(Style(kUnit) & BS_CENTER, BS_RIGHT);

    WriteText(kUnit, rt::Button::Caption, "确定(&O)");
    EXPECT_EQ(WindowText(UnitHandle(kUnit)), L"确定(&O)");
    EXPECT_EQ(ReadText(kUnit, rt::Button::Caption), "确定(&O)");
    WriteInt(kUnit, 13, 20, kFontPartSize);
    LOGFONTW lf = {};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(UnitHandle(kUnit), WM_GETFONT, 0, 0)), sizeof lf, &lf);
    EXPECT_EQ(lf.lfHeight, -27) << "20 points at 96 pixels to the inch";
}

TEST(ButtonUnit, AClickAndTheSpaceBarRaiseItsEventAfterTheInputEventsAndADisabledButtonRaisesNone) {
    UnitRecord button = Unit(kUnit, kTypeButton, 20, 20, 120, 40, ButtonData::Write({}));
    for (int32_t event : {0, -1, -2, -9, -10}) On(button, event);
    Load({button});
    ClickScreenPoint(ScreenPoint(kUnit, {30, 12}));
    ASSERT_TRUE(SettleInput());
    const std::vector<SeenEvent> clicked = {{-1, kUnit, {30, 12, 0}}, {-2, kUnit, {30, 12, 0}}, {0, kUnit, {}}};
    EXPECT_EQ(SeenEvents(), clicked) << Describe(SeenEvents());

    SeenEvents().clear();
    ASSERT_EQ(GetFocus(), UnitHandle(kUnit)) << "the click gave it the focus";
    Tap(VK_SPACE);
    ASSERT_TRUE(SettleInput());
    const std::vector<SeenEvent> spaced = {{-9, kUnit, {VK_SPACE, 0}}, {-10, kUnit, {VK_SPACE, 0}}, {0, kUnit, {}}};
    EXPECT_EQ(SeenEvents(), spaced) << Describe(SeenEvents());

    SeenEvents().clear();
    WriteInt(kUnit, rt::Button::Disabled, 1);
    ClickScreenPoint(ScreenPoint(kUnit, {30, 12}));
    ASSERT_TRUE(SettleInput());
    EXPECT_TRUE(SeenEvents().empty()) << Describe(SeenEvents());
}

TEST(ListBoxUnit, SpacingColoursAndBorderChangeTheLiveList) {
    ListBoxData d;
    d.items = {"一", "二", "三"};
    d.itemSpacing = 0;
    Load({Unit(kUnit, kTypeListBox, 20, 20, 140, 120, ListBoxData::Write(d))});
    const LRESULT plain = SendMessageW(UnitHandle(kUnit), LB_GETITEMHEIGHT, 0, 0);
    WriteInt(kUnit, rt::ListBox::ItemSpacing, 6);
    EXPECT_EQ(SendMessageW(UnitHandle(kUnit), LB_GETITEMHEIGHT, 0, 0), plain + 6);
    WriteInt(kUnit, rt::ListBox::ItemSpacing, 2);
    EXPECT_EQ(SendMessageW(UnitHandle(kUnit), LB_GETITEMHEIGHT, 0, 0), plain + 2) << "the old spacing is taken off first";
    EXPECT_EQ(ReadInt(kUnit, rt::ListBox::ItemSpacing), 2);

    WriteInt(kUnit, rt::ListBox::BackgroundColour, static_cast<int32_t>(kCyan));
    WriteInt(kUnit, rt::ListBox::TextColour, static_cast<int32_t>(kRed));
    Shot shown = Shown();
    EXPECT_GT(shown.Count(kCyan), shown.width * shown.height / 3) << "the background colour fills it";
    EXPECT_GT(shown.Count(&Reddish), 0) << "the items in the text colour";

    // A new border needs a new window, with the items and the selection kept.
    WriteInt(kUnit, rt::ListBox::CurrentSelection, 1);
    HWND before = UnitHandle(kUnit);
    WriteInt(kUnit, rt::ListBox::Border, 5);
    EXPECT_NE(UnitHandle(kUnit), before);
    EXPECT_TRUE(Style(kUnit) & WS_BORDER);
    EXPECT_FALSE(ExStyle(kUnit) & WS_EX_CLIENTEDGE);
    EXPECT_EQ(SendMessageW(UnitHandle(kUnit), LB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(ReadInt(kUnit, rt::ListBox::CurrentSelection), 1);
    EXPECT_EQ(ReadInt(kUnit, rt::ListBox::Border), 5);
}

TEST(ListBoxUnit, AClickOnAnItemSelectsItAndRaisesTheFocusAndMouseEventsTheArrowKeysMoveOn) {
    ListBoxData d;
    d.items = {"一", "二", "三", "四"};
    UnitRecord list = Unit(kUnit, kTypeListBox, 20, 20, 140, 120, ListBoxData::Write(d));
    for (int32_t event : {-7, -1, -2, -9}) On(list, event);
    Load({list, Unit(kEdit, kTypeEditBox, 200, 20, 100, 22, EditBoxData::Write({}))});
    SetFocus(UnitHandle(kEdit));
    ASSERT_TRUE(SettlePosted());
    SeenEvents().clear();
    EXPECT_EQ(ReadInt(kUnit, rt::ListBox::CurrentSelection), -1);

    RECT item = {};
    SendMessageW(UnitHandle(kUnit), LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
    const POINT at = {item.left + 10, (item.top + item.bottom) / 2};
    ClickScreenPoint(ScreenPoint(kUnit, at));
    ASSERT_TRUE(SettleInput());
    EXPECT_EQ(ReadInt(kUnit, rt::ListBox::CurrentSelection), 1);
    // The press comes first; the list takes the focus while it handles it.
    const std::vector<SeenEvent> clicked = {{-1, kUnit, {at.x, at.y, 0}}, {-7, kUnit, {}}, {-2, kUnit, {at.x, at.y, 0}}};
    EXPECT_EQ(SeenEvents(), clicked) << Describe(SeenEvents());

    SeenEvents().clear();
    Tap(VK_DOWN);
    ASSERT_TRUE(SettleInput());
    EXPECT_EQ(ReadInt(kUnit, rt::ListBox::CurrentSelection), 2);
    const std::vector<SeenEvent> pressed = {{-9, kUnit, {VK_DOWN, 0}}};
    EXPECT_EQ(SeenEvents(), pressed) << Describe(SeenEvents());
}
