// MessageBox: a real box, found and answered from a second thread.
#include <gtest/gtest.h>

#include "runtime/commands/core_commands.h"
#include "tests/win/box_answerer.h"
#include "tests/win/command_test_util.h"

namespace {

// A plain top-level window of this thread, to see whether the box disables it.
HWND TopLevelWindow() {
    return CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 100, nullptr,
                           nullptr, GetModuleHandleW(nullptr), nullptr);
}

struct Shown {
    ArgValue result;
    BoxSeen box;
};

Shown Show(std::vector<ArgValue> args, int button = IDOK, HWND otherWindow = nullptr) {
    BoxAnswerer answerer(GetCurrentThreadId(), button, otherWindow);
    Shown s;
    s.result = Call(&MessageBox, std::move(args));
    s.box = answerer.seen();
    return s;
}

}  // namespace

TEST(MessageBoxCommand, FlagsZeroShowATaskModalBoxWithOneOkButtonAndGiveZero) {
    ArgStore store;
    HWND other = TopLevelWindow();
    Shown s = Show({store.Text("\xC4\xDA\xC8\xDD")}, IDOK, other);  // 内容
    ASSERT_TRUE(s.box.found);
    EXPECT_EQ(s.box.caption, L"信息：");
    EXPECT_EQ(s.box.text, L"内容");
    EXPECT_EQ(s.box.buttonIds, std::vector<int>{IDOK});
    EXPECT_EQ(s.box.owner, nullptr);
    EXPECT_FALSE(s.box.otherWindowEnabled);  // task-modal: the thread's windows are disabled
    EXPECT_TRUE(IsWindowEnabled(other));
    EXPECT_EQ(s.result.tag, kTagInt);
    EXPECT_EQ(s.result.Int(), 0);
    DestroyWindow(other);
}

TEST(MessageBoxCommand, TaskModalFlagGivenByTheCallerAddsNoHelpButton) {
    // 0x2000 already set: the box stays task-modal with OK only (adding the bit again would
    // have turned it into 0x4000, a Help button).
    HWND other = TopLevelWindow();
    Shown s = Show({Int(1), Int(0x2000)}, IDOK, other);
    ASSERT_TRUE(s.box.found);
    EXPECT_EQ(s.box.buttonIds, std::vector<int>{IDOK});
    EXPECT_FALSE(s.box.otherWindowEnabled);
    EXPECT_EQ(s.result.Int(), 0);
    DestroyWindow(other);
}

TEST(MessageBoxCommand, SystemModalFlagIsPassedWithoutTheTaskModalBit) {
    HWND other = TopLevelWindow();
    Shown s = Show({Int(1), Int(0x1000)}, IDOK, other);
    ASSERT_TRUE(s.box.found);
    EXPECT_TRUE(s.box.otherWindowEnabled);  // not task-modal
    DestroyWindow(other);
}

TEST(MessageBoxCommand, ButtonsMapToResultsZeroToSix) {
    struct Row {
        int32_t flags;
        int button;
        int32_t result;
    };
    const Row rows[] = {
        {MB_OKCANCEL, IDOK, 0},         {MB_OKCANCEL, IDCANCEL, 1},       {MB_ABORTRETRYIGNORE, IDABORT, 2},
        {MB_ABORTRETRYIGNORE, IDRETRY, 3}, {MB_ABORTRETRYIGNORE, IDIGNORE, 4}, {MB_YESNOCANCEL, IDYES, 5},
        {MB_YESNO, IDNO, 6},            {MB_RETRYCANCEL, IDRETRY, 3},     {MB_CANCELTRYCONTINUE, IDCONTINUE, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "flags " << row.flags << " button " << row.button);
        Shown s = Show({Int(7), Int(row.flags)}, row.button);
        ASSERT_TRUE(s.box.found);
        EXPECT_EQ(s.result.Int(), row.result);
    }
}

TEST(MessageBoxCommand, MessageIsTheValueAsTextAndCaptionMayBeGiven) {
    ArgStore store;
    struct Row {
        ArgValue value;
        std::wstring text;
    };
    const Row rows[] = {
        {ArgValue::OfDouble(0.5), L"0.5"},
        {ArgValue::OfBool(true), L"真"},
        {Int(-12), L"-12"},
        {ArgValue::OfDouble(43465.0 + 13.0 / 24 + 5.0 / 1440 + 7.0 / 86400, kTagDateTime), L"2018年12月31日13时5分7秒"},
        {store.Bytes("abc"), L""},  // not a basic value: empty message
    };
    for (const Row& row : rows) {
        Shown s = Show({row.value, Omitted(), store.Text("\xB1\xEA\xCC\xE2")});  // 标题
        ASSERT_TRUE(s.box.found);
        EXPECT_EQ(s.box.text, row.text);
        EXPECT_EQ(s.box.caption, L"标题");
    }
}

TEST(MessageBoxCommand, IntegerOwnerCountsOnlyAsFourthArgument) {
    HWND owner = TopLevelWindow();
    Shown s = Show({Int(1), Omitted(), Omitted(), Handle(owner)});
    ASSERT_TRUE(s.box.found);
    EXPECT_EQ(s.box.owner, owner);
    EXPECT_EQ(s.box.caption, L"信息：");

    // Anything else in fourth place gives no owner; so does a handle that is no window
    // (the system would refuse to show the box at all).
    Shown none = Show({Int(1), Omitted(), Omitted(), ArgValue::OfDouble(1.0)});
    ASSERT_TRUE(none.box.found);
    EXPECT_EQ(none.box.owner, nullptr);
    DestroyWindow(owner);
    Shown stale = Show({Int(1), Int(MB_YESNO), Omitted(), Handle(owner)}, IDYES);
    ASSERT_TRUE(stale.box.found);
    EXPECT_EQ(stale.box.owner, nullptr);
    EXPECT_EQ(stale.result.Int(), 5);
}
