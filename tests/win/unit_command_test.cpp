// Unit commands on a loaded window of real units: handles, focus, client sizes, finding
// units by name, type and tag, unit lists, combo box and list box items.
#include <gtest/gtest.h>

#include "controls/support_libraries.h"
#include "controls/unit_types.h"
#include "forms/event_handler.h"
#include "forms/forms_runtime.h"
#include "forms/unit_commands.h"
#include "runtime/commands/core_commands.h"
#include "runtime/program_descriptor.h"
#include "runtime/startup.h"
#include "tests/win/box_answerer.h"
#include "tests/win/child_process.h"
#include "tests/win/command_test_util.h"

extern const unsigned char kUnitTestForm[];
extern const uint32_t kUnitTestFormSize;
extern const EventHandlerEntry kUnitTestFormEvents[];

namespace {

constexpr uint32_t kWindowId = 0x52020001;
ArgValue Window() { return ArgValue::OfUnit(kWindowId, kWindowRecordId, kTypeWindow); }
const ArgValue kEdit1 = ArgValue::OfUnit(kWindowId, 0x16010001, kTypeEditBox);
const ArgValue kEditExact = ArgValue::OfUnit(kWindowId, 0x16010002, kTypeEditBox);
const ArgValue kButton = ArgValue::OfUnit(kWindowId, 0x16010006, kTypeButton);
const ArgValue kCombo = ArgValue::OfUnit(kWindowId, 0x16010007, kTypeComboBox);
const ArgValue kList = ArgValue::OfUnit(kWindowId, 0x16010008, kTypeListBox);

alignas(8) const char kConstants[8] = {};
const ProgramDescriptor kDescriptor = {
    3, 0, 66502, reinterpret_cast<uintptr_t>(kUnitTestFormEvents), kConstants, sizeof kConstants, kUnitTestForm,
    kUnitTestFormSize, kSupportLibraryCount, SupportLibraries(), 0, nullptr, nullptr, &kFormsRuntimeHooks,
};

class UnitCommands : public ::testing::Test {
protected:
    ArgStore store;
    void SetUp() override {
        UseProgramDescriptor(&kDescriptor);
        InitialiseRuntime();
        RtLoadStartWindow(kWindowId);
    }

    HWND HandleOf(const ArgValue& unit) { return static_cast<HWND>(Call(&GetWindowHandle, {unit}).Pointer()); }

    // The units FindUnits lists, as unit ids in list order; the list is freed.
    std::vector<uint32_t> Found(std::vector<ArgValue> args) {
        void* list = Call(&FindUnits, std::move(args)).Pointer();
        std::vector<uint32_t> ids;
        if (!list) return ids;
        int32_t n = Call(&UnitListCount, {Handle(list)}).Int();
        for (int32_t i = 0; i < n; ++i) {
            ArgValue unit = Call(&UnitListItem, {Handle(list), Int(i)});
            EXPECT_EQ(unit.low, kWindowId);
            ids.push_back(unit.high);
        }
        Call(&FreeUnitList, {Handle(list)});
        return ids;
    }
};

std::wstring ClassOf(HWND hwnd) {
    wchar_t cls[64] = {};
    GetClassNameW(hwnd, cls, 64);
    return cls;
}

}  // namespace

TEST_F(UnitCommands, GetWindowHandleGivesTheUnitsNativeWindow) {
    HWND window = HandleOf(Window());
    ASSERT_TRUE(IsWindow(window));
    wchar_t caption[64] = {};
    GetWindowTextW(window, caption, 64);
    EXPECT_EQ(std::wstring(caption), L"单元测试");
    HWND edit = HandleOf(kEdit1);
    EXPECT_EQ(_wcsicmp(ClassOf(edit).c_str(), L"Edit"), 0);
    EXPECT_TRUE(IsChild(window, edit));
    EXPECT_EQ(_wcsicmp(ClassOf(HandleOf(kList)).c_str(), L"ListBox"), 0);
}

TEST_F(UnitCommands, SetFocusAndClientSize) {
    Call(&SetFocus, {kEditExact});
    EXPECT_EQ(GetFocus(), HandleOf(kEditExact));
    ArgValue w = Call(&GetClientWidth, {kButton});
    ArgValue h = Call(&GetClientHeight, {kButton});
    EXPECT_EQ(w.tag, kTagInt);
    EXPECT_EQ(w.Int(), 80);
    EXPECT_EQ(h.Int(), 24);
    RECT client;
    GetClientRect(HandleOf(Window()), &client);
    EXPECT_EQ(Call(&GetClientWidth, {Window()}).Int(), client.right);
    EXPECT_EQ(Call(&GetClientHeight, {Window()}).Int(), client.bottom);
}

TEST_F(UnitCommands, FindUnitsByNameTypeNameAndTagRange) {
    const std::string edit = "\xB1\xE0\xBC\xAD";           // 编辑
    const std::string editBoxType = "\xB1\xE0\xBC\xAD\xBF\xF2";  // 编辑框
    const std::string button = "\xB0\xB4\xC5\xA5";          // 按钮
    struct Row {
        std::vector<ArgValue> args;
        std::vector<uint32_t> ids;
    };
    const Row rows[] = {
        // Prefix: every unit whose name starts with 编辑, in template order, the one inside
        // the group box too.
        {{Window(), store.Text(edit)}, {0x16010001, 0x16010002, 0x16010003, 0x16010005}},
        {{Window(), store.Text("@" + edit)}, {0x16010002}},
        {{Window(), store.Text(edit + "\xBF\xF2")}, {0x16010001, 0x16010005}},  // 编辑框
        {{Window(), Omitted(), store.Text(editBoxType)}, {0x16010001, 0x16010002, 0x16010003, 0x16010005}},
        {{Window(), Omitted(), store.Text(button)}, {0x16010006}},
        // Tags: 5, -3, 12 and none (0).
        {{Window(), store.Text(edit), Omitted(), Int(0), Int(10)}, {0x16010001, 0x16010005}},
        {{Window(), store.Text(edit), Omitted(), Int(-3), Int(-3)}, {0x16010002}},
        {{Window(), store.Text(edit), Omitted(), Int(6)}, {0x16010003}},
        {{Window(), Omitted(), Omitted(), Omitted(), Int(-1)}, {0x16010002}},
        // Everything.
        {{Window()}, {0x16010001, 0x16010002, 0x16010003, 0x16010004, 0x16010005, 0x16010006, 0x16010007, 0x16010008}},
    };
    for (const Row& row : rows) EXPECT_EQ(Found(row.args), row.ids);
}

TEST_F(UnitCommands, FindUnitsGivesZeroForNoMatchAndForAFirstArgumentThatIsNoWindow) {
    ArgValue none = Call(&FindUnits, {Window(), store.Text("nothing")});
    EXPECT_EQ(none.tag, kTagInt);
    EXPECT_EQ(none.Pointer(), nullptr);
    EXPECT_EQ(Call(&FindUnits, {kEdit1}).Pointer(), nullptr);
    EXPECT_EQ(Call(&FindUnits, {ArgValue::OfUnit(0, kWindowRecordId, kTypeWindow)}).Pointer(), nullptr);
    EXPECT_EQ(Call(&FindUnits, {Int(kWindowId)}).Pointer(), nullptr);
}

TEST_F(UnitCommands, UnitListsAnswerOnlyWhileRegistered) {
    void* list = Call(&FindUnits, {Window(), store.Text("\xB1\xE0\xBC\xAD")}).Pointer();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(Call(&UnitListCount, {Handle(list)}).Int(), 4);
    ArgValue first = Call(&UnitListItem, {Handle(list), Int(0)});
    EXPECT_EQ(first.low, kWindowId);
    EXPECT_EQ(first.high, 0x16010001u);
    EXPECT_EQ(first.tag, kTypeEditBox);  // the unit's own type, for the caller to check

    const ArgValue emptyRef = ArgValue::OfUnit(0, 0, kTypeWindow);
    for (int32_t index : {-1, 4, 100}) {
        ArgValue item = Call(&UnitListItem, {Handle(list), Int(index)});
        EXPECT_EQ(item.low, emptyRef.low);
        EXPECT_EQ(item.high, emptyRef.high);
        EXPECT_EQ(item.tag, emptyRef.tag);
    }
    int local = 0;
    for (void* other : {static_cast<void*>(nullptr), static_cast<void*>(&local)}) {
        EXPECT_EQ(Call(&UnitListCount, {Handle(other)}).Int(), 0);
        EXPECT_EQ(Call(&UnitListItem, {Handle(other), Int(0)}).tag, kTypeWindow);
        Call(&FreeUnitList, {Handle(other)});
    }
    int64_t live = LiveBlockCount();
    Call(&FreeUnitList, {Handle(list)});
    EXPECT_EQ(LiveBlockCount(), live - 1);
    EXPECT_EQ(Call(&UnitListCount, {Handle(list)}).Int(), 0);
    EXPECT_EQ(Call(&UnitListItem, {Handle(list), Int(0)}).low, 0u);
}

TEST_F(UnitCommands, ComboAndListBoxItems) {
    struct Row {
        ArgValue unit;
        CommandRoutine routine;
        int32_t index;
        std::string text;
    };
    const Row rows[] = {
        {kCombo, &ComboItemText, 0, "\xBC\xD7"},          // 甲
        {kCombo, &ComboItemText, 1, "\xD2\xD2\xD2\xD2"},  // 乙乙
        {kCombo, &ComboItemText, 2, ""},
        {kCombo, &ComboItemText, -1, ""},
        {kList, &ListBoxItemText, 1, "\xB6\xFE"},  // 二
        {kList, &ListBoxItemText, 2, ""},
        {kList, &ListBoxItemText, -1, ""},
    };
    for (const Row& row : rows) {
        ArgValue v = Call(row.routine, {row.unit, Int(row.index)});
        EXPECT_EQ(v.tag, kTagText);
        EXPECT_EQ(TakeText(v), row.text) << row.index;
    }
    ArgValue count = Call(&ListBoxCount, {kList});
    EXPECT_EQ(count.tag, kTagInt);
    EXPECT_EQ(count.Int(), 2);
}

TEST_F(UnitCommands, ListBoxInsertItemAtAnIndexWithItsData) {
    HWND list = HandleOf(kList);
    ArgValue at = Call(&ListBoxInsertItem, {kList, Int(1), store.Text("\xC8\xFD"), Int(77)});  // 三
    EXPECT_EQ(at.tag, kTagInt);
    EXPECT_EQ(at.Int(), 1);
    EXPECT_EQ(SendMessageW(list, LB_GETITEMDATA, 1, 0), 77);
    EXPECT_EQ(TakeText(Call(&ListBoxItemText, {kList, Int(1)})), "\xC8\xFD");
    EXPECT_EQ(Call(&ListBoxInsertItem, {kList, Int(3), store.Text("end")}).Int(), 3);  // at the count: appended
    EXPECT_EQ(SendMessageW(list, LB_GETITEMDATA, 3, 0), 0);
    // A negative index does not append; an index past the end fails.
    EXPECT_EQ(Call(&ListBoxInsertItem, {kList, Int(-1), store.Text("x")}).Int(), -1);
    EXPECT_EQ(Call(&ListBoxInsertItem, {kList, Int(9), store.Text("x")}).Int(), -1);
    EXPECT_EQ(Call(&ListBoxCount, {kList}).Int(), 4);
}

TEST_F(UnitCommands, MessageBoxOwnedByAWindowGivenByReference) {
    BoxAnswerer answerer(GetCurrentThreadId(), IDOK, nullptr);
    ArgValue shown = Call(&MessageBox, {Int(1), Omitted(), Omitted(), Window()});
    BoxSeen box = answerer.seen();
    ASSERT_TRUE(box.found);
    EXPECT_EQ(box.owner, HandleOf(Window()));
    EXPECT_EQ(shown.Int(), 0);

    // A window that is not loaded gives no owner, and no fatal error.
    BoxAnswerer second(GetCurrentThreadId(), IDOK, nullptr);
    Call(&MessageBox, {Int(1), Omitted(), Omitted(), ArgValue::OfUnit(0x52990001, kWindowRecordId, kTypeWindow)});
    BoxSeen unowned = second.seen();
    ASSERT_TRUE(unowned.found);
    EXPECT_EQ(unowned.owner, nullptr);
}

namespace {

MessageBoxSeen FatalOfChild(const wchar_t* mode) {
    ChildProcess child(TestBinaryPath(L"command_child.exe"), {mode});
    MessageBoxSeen box = child.CloseNextMessageBox(5000);
    EXPECT_EQ(child.Wait(), 0xFFFFFFFFu);
    return box;
}

}  // namespace

TEST(UnitCommandFailures, AUnitThatIsNotLoadedIsFatal) {
    for (const wchar_t* mode : {L"missing-unit", L"find-in-unloaded-window"}) {
        MessageBoxSeen box = FatalOfChild(mode);
        ASSERT_TRUE(box.found) << mode;
        EXPECT_EQ(box.text, L"运行时出错!\r\n\r\n错误信息：指定窗口或窗口组件不存在或尚未载入\r\n");
    }
}
