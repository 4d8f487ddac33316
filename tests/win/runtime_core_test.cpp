// The runtime's heap, notification service, services and message loop, in process.
#include <gtest/gtest.h>

#include <cstring>

#include "runtime/app.h"
#include "runtime/entries.h"
#include "runtime/heap.h"
#include "runtime/message_loop.h"
#include "runtime/value_ops.h"
#include "tests/win/child_process.h"

namespace {

// A constant block of the size the tools keep, with a text near its end.
alignas(8) char g_constants[637];

class RuntimeCore : public ::testing::Test {
protected:
    void SetUp() override {
        std::memset(g_constants, 'k', sizeof g_constants);
        std::memcpy(g_constants, "abcd", 5);
        std::memcpy(g_constants + 600, "wxyz", 5);
        SetConstantBlock(g_constants, sizeof g_constants);
    }
    void TearDown() override { SetConstantBlock(nullptr, 0); }
};

void WritesNothing(ArgValue*, int32_t, ArgValue*) {}

}  // namespace

TEST_F(RuntimeCore, FreeIgnoresNullAndConstants) {
    int64_t live = LiveBlockCount();
    RtFree(nullptr);
    RtFree(g_constants);
    RtFree(g_constants + 600);
    RtFree(const_cast<char*>(EmptyText()));
    EXPECT_EQ(LiveBlockCount(), live);
    void* p = RtAlloc(16);
    EXPECT_EQ(LiveBlockCount(), live + 1);
    RtFree(p);
    EXPECT_EQ(LiveBlockCount(), live);
}

TEST_F(RuntimeCore, ReallocOfAConstantCopiesUpToTheEndOfTheConstantBlock) {
    // A 5-byte constant grown to 100 bytes: all 100 bytes come from the constant block.
    auto p = static_cast<char*>(RtRealloc(g_constants, 100));
    ASSERT_NE(p, g_constants);
    EXPECT_EQ(std::memcmp(p, g_constants, 100), 0);
    EXPECT_STREQ(g_constants, "abcd");  // the constant is left as it is
    RtFree(p);

    // 37 bytes before the end: only those are copied, the rest is the new block's own.
    auto q = static_cast<char*>(RtRealloc(g_constants + 600, 100));
    EXPECT_EQ(std::memcmp(q, g_constants + 600, 37), 0);
    RtFree(q);
}

TEST_F(RuntimeCore, ReallocOfNullAllocatesAndOfHeapBlocksKeepsContent) {
    auto p = static_cast<char*>(RtRealloc(nullptr, 4));
    std::memcpy(p, "abc", 4);
    p = static_cast<char*>(RtRealloc(p, 4096));
    EXPECT_STREQ(p, "abc");
    RtFree(p);
}

TEST_F(RuntimeCore, NotifyAllocationModesAndFree) {
    int64_t live = LiveBlockCount();
    void* a = reinterpret_cast<void*>(RtNotify(kNotifyAlloc, 32, 0));
    ASSERT_NE(a, nullptr);
    InjectAllocationFailure(1);
    EXPECT_EQ(RtNotify(kNotifyAlloc, 32, 1), 0);  // mode 1 returns null instead of the fatal error
    void* b = reinterpret_cast<void*>(RtNotify(kNotifyAlloc, 32, 1));
    ASSERT_NE(b, nullptr);
    RtNotify(kNotifyFree, reinterpret_cast<intptr_t>(a), 0);
    RtNotify(kNotifyFree, reinterpret_cast<intptr_t>(b), 0);
    EXPECT_EQ(LiveBlockCount(), live);
}

TEST_F(RuntimeCore, MakeArrayWritableCopiesConstantsOnly) {
    alignas(8) static const uint32_t constantArray[] = {1, 3, 10, 20, 30};
    SetConstantBlock(constantArray, sizeof constantArray);
    void* var = const_cast<uint32_t*>(constantArray);
    RtOtherHelp(kServiceMakeArrayWritable, 4, reinterpret_cast<intptr_t>(&var), 0, 0, 0, 0);
    ASSERT_NE(var, constantArray);
    EXPECT_EQ(std::memcmp(var, constantArray, sizeof constantArray), 0);
    void* heapArray = var;
    RtOtherHelp(kServiceMakeArrayWritable, 4, reinterpret_cast<intptr_t>(&var), 0, 0, 0, 0);
    EXPECT_EQ(var, heapArray);
    RtFree(var);
}

TEST_F(RuntimeCore, NullAddressesReachingServicesAreIgnored) {
    EXPECT_EQ(RtOtherHelp(kServiceFindFile, reinterpret_cast<intptr_t>("*"), 0, 1, 0, 0, 0), 0);
    EXPECT_EQ(RtOtherHelp(kServiceMakeArrayWritable, 4, 0, 0, 0, 0, 0), 0);
    EXPECT_EQ(RtOtherHelp(kServiceRegisterExitRoutine, 0, 0, 0, 0, 0, 0), 0);
    EXPECT_TRUE(App().exitRoutines.empty());
    EXPECT_EQ(RtNotify(kNotifyAddIdleCallback, 0, 0), 0);
    EXPECT_EQ(RtNotify(kNotifyFileKind, 0, 0), -1);
}

TEST_F(RuntimeCore, ExitRoutineRegisteredTwiceIsKeptOnce) {
    auto routine = [](int32_t) {};
    App().exitRoutines.clear();
    for (int i = 0; i < 2; ++i)
        RtOtherHelp(kServiceRegisterExitRoutine,
                    reinterpret_cast<intptr_t>(static_cast<ExitRoutine>(routine)), 0, 0, 0, 0, 0);
    EXPECT_EQ(App().exitRoutines.size(), 1u);
    App().exitRoutines.clear();
}

TEST_F(RuntimeCore, CommandThatWritesNothingGivesAZeroResult) {
    ArgValue args[1] = {ArgValue::OfInt(5)};
    ArgValue r = RtCallCoreCommand(&WritesNothing, 1, args);
    EXPECT_EQ(r.low, 0u);
    EXPECT_EQ(r.high, 0u);
    EXPECT_EQ(r.tag, 0u);
}

TEST_F(RuntimeCore, FileRegistryAddsOnceAndRemoves) {
    int object = 0;
    auto p = reinterpret_cast<intptr_t>(&object);
    EXPECT_EQ(RtNotify(kNotifyFileKind, p, 0), -1);
    RtNotify(kNotifyAddFile, p, 1);
    RtNotify(kNotifyAddFile, p, 1);
    EXPECT_EQ(RtNotify(kNotifyFileKind, p, 0), 1);
    EXPECT_NE(RtNotify(kNotifyRemoveFile, p, 0), 0);
    EXPECT_EQ(RtNotify(kNotifyRemoveFile, p, 0), 0);
    EXPECT_EQ(RtNotify(kNotifyFileKind, p, 0), -1);
}

TEST_F(RuntimeCore, FileSearchFiltersByAttributesAndEndsWithNull) {
    TempDirectory dir;
    WriteWholeFile(dir.File(L"a.txt"), "a");
    WriteWholeFile(dir.File(L"b.txt"), "b");
    CreateDirectoryW(dir.File(L"sub.txt").c_str(), nullptr);
    int n = WideCharToMultiByte(936, 0, dir.File(L"*.txt").c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string pattern(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(936, 0, dir.File(L"*.txt").c_str(), -1, pattern.data(), n, nullptr, nullptr);

    auto collect = [&](uint32_t mask, bool allFiles) {
        std::vector<std::string> names;
        HANDLE handle = nullptr;
        const char* p = pattern.c_str();
        while (auto name = reinterpret_cast<char*>(RtOtherHelp(kServiceFindFile, reinterpret_cast<intptr_t>(p), mask,
                                                                allFiles, reinterpret_cast<intptr_t>(&handle), 0, 0))) {
            names.emplace_back(name);
            RtFree(name);
            p = "";
        }
        EXPECT_EQ(handle, nullptr);
        std::sort(names.begin(), names.end());
        return names;
    };
    EXPECT_EQ(collect(0, true), (std::vector<std::string>{"a.txt", "b.txt"}));
    EXPECT_EQ(collect(FILE_ATTRIBUTE_DIRECTORY, false), (std::vector<std::string>{"sub.txt"}));
}

TEST_F(RuntimeCore, ConcatenationAlwaysYieldsABlockAndComparisonIsBytewise) {
    char* empty = ConcatTexts({nullptr, ""});
    ASSERT_NE(empty, nullptr);
    EXPECT_STREQ(empty, "");
    RtFree(empty);
    char* ab = ConcatTexts({"a", nullptr, "b"});
    EXPECT_STREQ(ab, "ab");
    RtFree(ab);
    EXPECT_EQ(CompareTexts(nullptr, ""), 0);
    EXPECT_EQ(CompareTexts("a", "b"), -1);
    EXPECT_EQ(CompareTexts("\xB0\xA1", "a"), 1);  // GBK bytes compare unsigned
    EXPECT_EQ(CompareTexts("ab", "a"), 1);
}

TEST_F(RuntimeCore, DoubleToIntegerTruncatesAndKeepsLowBits) {
    EXPECT_EQ(DoubleToInt32(-7.9), -7);
    EXPECT_EQ(DoubleToInt32(12.9), 12);
    EXPECT_EQ(DoubleToInt32(4294967296.0 + 5), 5);
    EXPECT_EQ(DoubleToInt32(2147483648.0), INT32_MIN);
    EXPECT_EQ(DoubleToInt32(0.0 / 0.0), 0);
}

TEST(MessageLoop, ReturnsAtOnceWithoutLiveWindows) {
    RtMessageLoop();
    EXPECT_EQ(App().messageLoopFlag, 1);
}

namespace {
int g_idleCalls = 0;
HWND g_idleWindow = nullptr;
std::atomic<bool> g_modal = true;
void IdleCallback(intptr_t parameter) {
    EXPECT_EQ(parameter, 42);
    if (++g_idleCalls == 3) {
        DestroyWindow(g_idleWindow);
        PostMessageW(nullptr, WM_NULL, 0, 0);  // a message restarts the idle phase
    }
}
void CALLBACK EndLoop(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    g_modal = false;
    PostMessageW(nullptr, WM_NULL, 0, 0);
}
}  // namespace

TEST(MessageLoop, IdleCallbacksRunAndAreDroppedWithTheirWindow) {
    g_idleWindow = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    intptr_t words[3] = {reinterpret_cast<intptr_t>(g_idleWindow), reinterpret_cast<intptr_t>(&IdleCallback), 42};
    EXPECT_EQ(RtNotify(kNotifyAddIdleCallback, reinterpret_cast<intptr_t>(words), 0), 1);
    EXPECT_EQ(RtNotify(kNotifyAddIdleCallback, reinterpret_cast<intptr_t>(words), 0), 0);  // already there
    intptr_t noRoutine[3] = {words[0], 0, 0};
    EXPECT_EQ(RtNotify(kNotifyAddIdleCallback, reinterpret_cast<intptr_t>(noRoutine), 0), 0);

    // Stop the loop once the window is gone and the table has been swept.
    SetTimer(nullptr, 0, 300, &EndLoop);
    RunMessageLoop(&g_modal);
    EXPECT_EQ(g_idleCalls, 3);
    EXPECT_TRUE(App().idleWindows.empty());
    EXPECT_TRUE(App().idleRoutines.empty());
}
