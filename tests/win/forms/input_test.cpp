// Input and events: keys and mouse sent as real input through the runtime's message loop,
// typed edit modes and their normalisation, dialog keys, mnemonics, the events of the core
// units, event source chains, suspension and idle events. Events are recorded as
// (event, unit, arguments) and compared with expected tables.
#include <gtest/gtest.h>

#include "controls/unit_types.h"
#include "forms/events.h"
#include "forms/forms_runtime.h"
#include "forms/type_data/button_data.h"
#include "forms/type_data/combo_box_data.h"
#include "forms/type_data/edit_box_data.h"
#include "forms/type_data/label_data.h"
#include "forms/window_list.h"
#include "runtime/entries.h"
#include "tests/win/forms/form_fixture.h"

namespace {

constexpr uint32_t kE1 = 0x16010002, kE2 = 0x16010003, kE3 = 0x16010004, kButton = 0x16010005, kCombo = 0x16010006,
                   kLabel = 0x16010007;

// The events by the names the form compiler writes for the tools.
constexpr int32_t kMouseDown = rt::Common::MouseDown.number, kMouseUp = rt::Common::MouseUp.number,
                  kRightMouseDown = rt::Common::RightMouseDown.number, kRightMouseUp = rt::Common::RightMouseUp.number,
                  kGotFocus = rt::Common::GotFocus.number, kLostFocus = rt::Common::LostFocus.number,
                  kKeyDown = rt::Common::KeyDown.number, kKeyUp = rt::Common::KeyUp.number,
                  kChar = rt::Common::Char.number, kMouseWheel = rt::Common::MouseWheel.number,
                  kClick = rt::Button::Click.number, kSelectionChanged = rt::ComboBox::SelectionChanged.number,
                  kIdle = rt::Window::Idle.number;

std::vector<uint8_t> EditInMode(uint32_t mode, const std::string& text = "") {
    EditBoxData d;
    d.inputMode = mode;
    d.content = text;
    return EditBoxData::Write(d);
}

UnitRecord EditUnit(uint32_t id, int top, std::vector<uint8_t> data = EditInMode(0)) {
    return Unit(id, kTypeEditBox, 10, top, 120, 22, std::move(data));
}

void Load(std::vector<UnitRecord> units) {
    units.insert(units.begin(), WindowRecord(PlainWindowData()));
    StartRuntime(ImageBytes(OneWindow(std::move(units))));
    ASSERT_TRUE(LoadStartWindowById(kTestWindowId));
    SetForegroundWindow(FormHandle());
    Pump(50);
    SeenEvents().clear();
}

void Type(const char* text) { TypeAscii(text); }

void FocusUnit(uint32_t unit) {
    SetForegroundWindow(FormHandle());
    SetFocus(UnitHandle(unit));
    Pump(20);
}

std::vector<SeenEvent> Only(int32_t low, int32_t high) {
    std::vector<SeenEvent> out;
    for (const SeenEvent& e : SeenEvents())
        if (e.event >= low && e.event <= high) out.push_back(e);
    return out;
}

}  // namespace

TEST(Input, KeypadDigitsReachKeyHandlersAsMainKeyboardCodesWithModifierBits) {
    UnitRecord e1 = EditUnit(kE1, 10);
    On(e1, kKeyDown);
    On(e1, kKeyUp);
    Load({e1});
    FocusUnit(kE1);
    Tap(VK_NUMPAD5);
    Key(VK_SHIFT, false);
    Tap('A');
    Key(VK_SHIFT, true);
    Key(VK_CONTROL, false);
    Tap(VK_SUBTRACT);
    Key(VK_CONTROL, true);
    ASSERT_TRUE(SettleInput());
    // A modifier key's own bit is not set while it is the key itself.
    const std::vector<SeenEvent> expected = {
        {kKeyDown, kE1, {0x35, 0}}, {kKeyUp, kE1, {0x35, 0}}, {kKeyDown, kE1, {0x10, 0}}, {kKeyDown, kE1, {0x41, 2}},
        {kKeyUp, kE1, {0x41, 2}}, {kKeyUp, kE1, {0x10, 0}}, {kKeyDown, kE1, {0x11, 0}}, {kKeyDown, kE1, {189, 1}},
        {kKeyUp, kE1, {189, 1}}, {kKeyUp, kE1, {0x11, 0}},
    };
    EXPECT_EQ(SeenEvents(), expected) << Describe(SeenEvents());
}

TEST(Input, KeyHandlerResultsPassConsumeOrReplaceTheKey) {
    UnitRecord passes = EditUnit(kE1, 10), blocks = EditUnit(kE2, 40), replaces = EditUnit(kE3, 70);
    On(passes, kKeyDown, kRecord);
    On(blocks, kKeyDown, kRecordFalse);
    On(replaces, kChar, kRecordCharX);
    Load({passes, blocks, replaces});
    FocusUnit(kE1);
    Type("12");
    ASSERT_TRUE(SettleInput());
    FocusUnit(kE2);
    Type("34");
    ASSERT_TRUE(SettleInput());
    FocusUnit(kE3);
    Type("ab");
    ASSERT_TRUE(SettleInput());
    EXPECT_EQ(ReadText(kE1, rt::EditBox::Content), "12") << "a handler without a result never blocks the key";
    EXPECT_EQ(ReadText(kE2, rt::EditBox::Content), "") << "a false result consumes it";
    EXPECT_EQ(ReadText(kE3, rt::EditBox::Content), "XX") << "a character handler's result replaces the character";
    const std::vector<SeenEvent> chars = {{kChar, kE3, {'a'}}, {kChar, kE3, {'b'}}};
    EXPECT_EQ(Only(kChar, kChar), chars) << Describe(SeenEvents());
}

TEST(Input, TypedModesLetOnlyTheirCharactersThrough) {
    struct Case {
        uint32_t mode;
        const char* typed;
        const char* kept;
    };
    const Case cases[] = {
        {0, "a1-b.", "a1-b."}, {3, "a1-b2.", "1-2"}, {4, "a1-b2.", "1-2."}, {5, "a1-2", "12"}, {7, "x-12.5", "-125"},
        {10, "x-1.5e", "-1.5"},
    };
    std::vector<UnitRecord> units;
    for (uint32_t i = 0; i < std::size(cases); ++i)
        units.push_back(EditUnit(kE1 + i, 10 + 25 * static_cast<int>(i), EditInMode(cases[i].mode)));
    Load(units);
    uint32_t id = kE1;
    for (const Case& c : cases) {
        FocusUnit(id);
        Type(c.typed);
        ASSERT_TRUE(SettleInput());
        EXPECT_EQ(ReadText(id, rt::EditBox::Content), c.kept) << "mode " << c.mode;
        ++id;
    }
}

TEST(Input, LeavingTheFocusNormalisesTypedModesBeforeLostFocus) {
    struct Case {
        uint32_t mode;
        const char* before;
        const char* after;
    };
    const Case cases[] = {
        {10, "2.50", "2.5"}, {10, "007", "7"}, {10, "-", ""}, {10, "0", ""}, {10, "0.1", "0.1"},
        {7, "99999999999", "2147483647"}, {7, "-99999999999", "-2147483648"}, {7, "0012", "12"},
        {5, "300", "255"}, {6, "-40000", "-32768"}, {8, "99999999999999999999", "9223372036854775807"},
        {9, "1.23456789", "1.23457"}, {3, "007", "007"},
    };
    UnitRecord edit = EditUnit(kE1, 10), other = EditUnit(kE2, 40);
    On(edit, kLostFocus);
    Load({edit, other});
    std::string seenInHandler;
    SetEventAction([&](const SeenEvent& e) {
        if (e.event == kLostFocus) seenInHandler = ReadText(kE1, rt::EditBox::Content);
    });
    for (const Case& c : cases) {
        WriteInt(kE1, rt::EditBox::InputMode, static_cast<int32_t>(c.mode));
        WriteText(kE1, rt::EditBox::Content, c.before);
        FocusUnit(kE1);
        SendMessageW(UnitHandle(kE1), EM_SETSEL, 1, 3);
        FocusUnit(kE2);
        EXPECT_EQ(ReadText(kE1, rt::EditBox::Content), c.after) << "mode " << c.mode << " " << c.before;
        EXPECT_EQ(seenInHandler, c.after) << "the handler of LostFocus sees the normal form";
        if (std::string(c.before) != c.after) {
            DWORD start = 99, end = 99;
            SendMessageW(UnitHandle(kE1), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
            DWORD expected = std::string(c.after).size() < 1 ? 0 : 1;
            EXPECT_EQ(start, expected) << "caret at the start of the former selection";
            EXPECT_EQ(end, expected);
        }
    }
    SetEventAction(nullptr);
}

TEST(Input, TabMovesBetweenTabStopUnitsUnlessTheFocusedUnitWantsIt) {
    EditBoxData multi;
    multi.multiLine = 1;
    Load({EditUnit(kE1, 10), Unit(kLabel, kTypeLabel, 10, 40, 100, 20, LabelData::Write({})), EditUnit(kE2, 70),
          Unit(kE3, kTypeEditBox, 10, 100, 120, 60, EditBoxData::Write(multi))});
    FocusUnit(kE1);
    Tap(VK_TAB);
    ASSERT_TRUE(SettleInput());
    EXPECT_EQ(GetFocus(), UnitHandle(kE2)) << "the label takes no focus";
    Key(VK_SHIFT, false);
    Tap(VK_TAB);
    Key(VK_SHIFT, true);
    ASSERT_TRUE(SettleInput());
    EXPECT_EQ(GetFocus(), UnitHandle(kE1));
    FocusUnit(kE3);
    Tap(VK_TAB);
    ASSERT_TRUE(SettleInput());
    EXPECT_EQ(GetFocus(), UnitHandle(kE3)) << "a multi-line edit box keeps its Tab";
}

TEST(Input, AMnemonicKeyClicksItsButton) {
    ButtonData save;
    save.caption = "保存(&S)";
    UnitRecord button = Unit(kButton, kTypeButton, 10, 40, 80, 24, ButtonData::Write(save));
    On(button, kClick);
    Load({EditUnit(kE1, 10), button});
    FocusUnit(kE1);
    Key(VK_MENU, false);
    Tap('S');
    Key(VK_MENU, true);
    ASSERT_TRUE(SettleInput());
    const std::vector<SeenEvent> expected = {{kClick, kButton, {}}};
    EXPECT_EQ(SeenEvents(), expected) << Describe(SeenEvents());
}

TEST(Events, MouseButtonsReportClientPositionAndModifiers) {
    // A label: a right click on an edit box would open its context menu.
    LabelData caption;
    caption.caption = "label";
    UnitRecord label = Unit(kLabel, kTypeLabel, 10, 10, 120, 22, LabelData::Write(caption), UnitRecord::kStateVisible);
    On(label, kMouseDown);
    On(label, kMouseUp);
    On(label, kRightMouseDown);
    On(label, kRightMouseUp);
    Load({label});
    POINT p = {7, 5};
    ClientToScreen(UnitHandle(kLabel), &p);
    SetCursorPos(p.x, p.y);
    Pump(20);
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, in, sizeof in[0]);
    ASSERT_TRUE(SettleInput());
    Key(VK_CONTROL, false);
    in[0].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
    SendInput(2, in, sizeof in[0]);
    Key(VK_CONTROL, true);
    ASSERT_TRUE(SettleInput());
    const std::vector<SeenEvent> expected = {
        {kMouseDown, kLabel, {7, 5, 0}}, {kMouseUp, kLabel, {7, 5, 0}}, {kRightMouseDown, kLabel, {7, 5, 1}}, {kRightMouseUp, kLabel, {7, 5, 1}}};
    EXPECT_EQ(SeenEvents(), expected) << Describe(SeenEvents());
}

TEST(Events, FocusClickAndSelectionEventsOfTheCoreUnits) {
    UnitRecord e1 = EditUnit(kE1, 10), e2 = EditUnit(kE2, 40);
    On(e1, kGotFocus);
    On(e1, kLostFocus);
    On(e2, kGotFocus);
    ComboBoxData list;
    list.style = 2;
    list.items = {"一", "二"};
    UnitRecord combo = Unit(kCombo, kTypeComboBox, 10, 70, 100, 20, ComboBoxData::Write(list));
    On(combo, kSelectionChanged);
    On(combo, kGotFocus);
    UnitRecord button = Unit(kButton, kTypeButton, 10, 100, 80, 24, ButtonData::Write({}));
    On(button, kClick);
    Load({e1, e2, combo, button});
    FocusUnit(kE1);
    FocusUnit(kE2);
    FocusUnit(kCombo);
    Tap(VK_DOWN);
    ASSERT_TRUE(SettleInput());
    SendMessageW(UnitHandle(kButton), BM_CLICK, 0, 0);
    Pump(20);
    WriteInt(kCombo, rt::ComboBox::CurrentSelection, 0);  // a program's own selection raises nothing
    const std::vector<SeenEvent> expected = {
        {kGotFocus, kE1, {}},   {kLostFocus, kE1, {}},          {kGotFocus, kE2, {}},
        {kGotFocus, kCombo, {}}, {kSelectionChanged, kCombo, {}}, {kClick, kButton, {}},
    };
    EXPECT_EQ(SeenEvents(), expected) << Describe(SeenEvents());
    EXPECT_EQ(ReadInt(kCombo, rt::ComboBox::CurrentSelection), 0);
}

TEST(Events, AnEventSourceChainLendsTheHandlersOfAUnitOfTheSameType) {
    UnitRecord owner = EditUnit(kE1, 10), middle = EditUnit(kE2, 40), borrower = EditUnit(kE3, 70);
    On(owner, kKeyDown, kRecordTrue);
    middle.eventSourceId = kE1;
    borrower.eventSourceId = kE2;
    UnitRecord otherType = Unit(kButton, kTypeButton, 10, 100, 80, 24, ButtonData::Write({}));
    otherType.eventSourceId = kE1;
    Load({owner, middle, borrower, otherType});
    uintptr_t handler = FindEventHandler(kTestWindowId, kE1, kKeyDown);
    EXPECT_NE(handler, 0u);
    EXPECT_EQ(FindEventHandler(kTestWindowId, kE3, kKeyDown), handler);
    EXPECT_EQ(FindEventHandler(kTestWindowId, kButton, kKeyDown), 0u) << "a source of another type is not followed";
    EXPECT_EQ(FindEventHandler(kTestWindowId, kE3, kKeyUp), 0u);
    EventRecord record;
    record.windowId = kTestWindowId;
    record.unitId = kE3;
    record.eventNumber = kKeyDown;
    record.argCount = 2;
    record.args[0] = ArgValue::OfInt(13);
    record.args[1] = ArgValue::OfInt(0);
    EXPECT_EQ(RtNotify(kNotifyRaiseEvent, reinterpret_cast<intptr_t>(&record), 0), 1);
    EXPECT_EQ(record.hasResult, 1);
    EXPECT_EQ(record.result, 1);
    const std::vector<SeenEvent> expected = {{kKeyDown, kE3, {13, 0}}};
    EXPECT_EQ(SeenEvents(), expected) << Describe(SeenEvents());
    EXPECT_FALSE(CurrentEventSource().active);
}

TEST(Events, NothingIsDispatchedWhileARebuildRuns) {
    UnitRecord edit = EditUnit(kE1, 10);
    On(edit, kGotFocus);
    On(edit, kLostFocus);
    Load({edit, EditUnit(kE2, 40)});
    FocusUnit(kE1);
    SeenEvents().clear();
    HWND old = UnitHandle(kE1);
    WriteInt(kE1, rt::EditBox::MultiLine, 1);  // multi-line: a new window, with the focus moved over
    EXPECT_NE(UnitHandle(kE1), old);
    EXPECT_EQ(GetFocus(), UnitHandle(kE1));
    EXPECT_TRUE(SeenEvents().empty()) << Describe(SeenEvents());
    EXPECT_FALSE(EventsSuspended());
}

TEST(Events, WindowIdleEventsStopForAWindowThatDeclines) {
    UnitRecord window = WindowRecord(PlainWindowData());
    On(window, kIdle, kRecordFalse);
    StartRuntime(ImageBytes(OneWindow({window})));
    ASSERT_TRUE(LoadStartWindowById(kTestWindowId));
    EXPECT_TRUE(AnyWindowHandlesIdle()) << "the message loop keeps its peeks before the idle steps";
    FireWindowIdleEvents(0, true);
    EXPECT_FALSE(FireWindowIdleEvents(25, false));
    EXPECT_FALSE(FireWindowIdleEvents(50, false));
    FireWindowIdleEvents(0, true);
    EXPECT_FALSE(FireWindowIdleEvents(75, false));
    const std::vector<SeenEvent> expected = {{kIdle, 0, {25}}, {kIdle, 0, {75}}};
    EXPECT_EQ(SeenEvents(), expected) << Describe(SeenEvents());
}

TEST(Events, AWindowThatWantsIdleTimeKeepsGettingIt) {
    UnitRecord window = WindowRecord(PlainWindowData());
    On(window, kIdle, kRecordTrue);
    StartRuntime(ImageBytes(OneWindow({window})));
    ASSERT_TRUE(LoadStartWindowById(kTestWindowId));
    FireWindowIdleEvents(0, true);
    EXPECT_TRUE(FireWindowIdleEvents(10, false));
    EXPECT_TRUE(FireWindowIdleEvents(20, false));
    EXPECT_EQ(SeenEvents().size(), 2u);
}

TEST(Events, TheWheelReportsStepsAndModifiers) {
    UnitRecord edit = EditUnit(kE1, 10);
    On(edit, kMouseWheel);
    Load({edit});
    FocusUnit(kE1);
    POINT p = {5, 5};
    ClientToScreen(UnitHandle(kE1), &p);
    SetCursorPos(p.x, p.y);
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = MOUSEEVENTF_WHEEL;
    in.mi.mouseData = static_cast<DWORD>(-240);
    Key(VK_SHIFT, false);
    SendInput(1, &in, sizeof in);
    Key(VK_SHIFT, true);
    ASSERT_TRUE(SettleInput());
    const std::vector<SeenEvent> expected = {{kMouseWheel, kE1, {-2, 2}}};
    EXPECT_EQ(SeenEvents(), expected) << Describe(SeenEvents());
}
