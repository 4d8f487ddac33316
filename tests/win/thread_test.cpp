// The thread library: real worker threads, critical sections, the notification hook.
#include <gtest/gtest.h>

#include <atomic>

#include "runtime/threads.h"
#include "tests/win/command_test_util.h"

namespace {

ArgValue Lib(CommandRoutine routine, std::vector<ArgValue> args = {}) {
    return RtCallLibCommand(3, routine, static_cast<int32_t>(args.size()), args.data());
}

ArgValue Subroutine(LPTHREAD_START_ROUTINE routine) {
    return ArgValue::OfPointer(reinterpret_cast<void*>(routine), kTagSubroutine);
}

void* NewSection() {
    ArgValue v = Lib(&CreateCriticalSection);
    EXPECT_EQ(v.tag, kTagInt);
    EXPECT_NE(v.Pointer(), nullptr);
    return v.Pointer();
}

// Shared by the workers of one test; each test runs in a process of its own.
void* g_section = nullptr;
int32_t g_counter = 0;
constexpr int kWorkers = 30;
constexpr int kIncrements = 300;

DWORD WINAPI CountUnderTheSection(void*) {
    for (int k = 0; k < kIncrements; ++k) {
        Lib(&EnterCriticalSection, {Handle(g_section)});
        int32_t seen = g_counter;
        if (k % 8 == 0) SwitchToThread();  // invite another worker in, should the section fail
        g_counter = seen + 1;
        Lib(&LeaveCriticalSection, {Handle(g_section)});
    }
    return 0;
}

std::atomic<intptr_t> g_parameter{-1};
HANDLE g_ran = nullptr;

DWORD WINAPI RecordParameter(void* parameter) {
    g_parameter = reinterpret_cast<intptr_t>(parameter);
    SetEvent(g_ran);
    return 0;
}

std::atomic<bool> g_entered{false};
DWORD WINAPI EnterAndLeave(void*) {
    Lib(&EnterCriticalSection, {Handle(g_section)});
    g_entered = true;
    Lib(&LeaveCriticalSection, {Handle(g_section)});
    return 0;
}

}  // namespace

TEST(ThreadLibrary, ThirtyWorkersUnderOneSectionLoseNoUpdate) {
    g_section = NewSection();
    HANDLE threads[kWorkers] = {};
    for (HANDLE& thread : threads) {
        // With the third argument the handle stays open for the caller.
        ArgValue started = Lib(&StartThread, {Subroutine(&CountUnderTheSection), Int(0), Handle(&thread)});
        EXPECT_EQ(started.tag, kTagBool);
        EXPECT_TRUE(started.Bool());
        ASSERT_NE(thread, nullptr);
    }
    EXPECT_EQ(WaitForMultipleObjects(kWorkers, threads, TRUE, 60000), WAIT_OBJECT_0);
    for (HANDLE thread : threads) CloseHandle(thread);
    EXPECT_EQ(g_counter, kWorkers * kIncrements);
}

TEST(ThreadLibrary, ParameterIsZeroUnlessGiven) {
    g_ran = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    struct Row {
        std::vector<ArgValue> args;
        intptr_t expected;
    };
    const Row rows[] = {
        {{Subroutine(&RecordParameter)}, 0},
        {{Subroutine(&RecordParameter), Omitted()}, 0},
        {{Subroutine(&RecordParameter), Int(42)}, 42},
        {{Subroutine(&RecordParameter), Int(7), Omitted()}, 7},
    };
    for (const Row& row : rows) {
        g_parameter = -1;
        ArgValue started = Lib(&StartThread, row.args);
        EXPECT_TRUE(started.Bool());
        ASSERT_EQ(WaitForSingleObject(g_ran, 10000), WAIT_OBJECT_0);
        EXPECT_EQ(g_parameter, row.expected);
    }
    // No routine, no thread.
    EXPECT_FALSE(Lib(&StartThread, {Omitted()}).Bool());
    CloseHandle(g_ran);
}

TEST(ThreadLibrary, UnknownSectionsAreIgnoredAndKnownOnesBlockOtherThreads) {
    void* section = NewSection();
    int local = 0;
    // Nothing of these may block or crash: the library did not create them.
    for (void* unknown : {static_cast<void*>(nullptr), static_cast<void*>(&local), reinterpret_cast<void*>(0x10)}) {
        Lib(&EnterCriticalSection, {Handle(unknown)});
        Lib(&LeaveCriticalSection, {Handle(unknown)});
    }
    Lib(&LeaveCriticalSection, {});

    // The same thread may enter again; another thread waits until the last leave.
    g_section = section;
    Lib(&EnterCriticalSection, {Handle(section)});
    Lib(&EnterCriticalSection, {Handle(section)});
    HANDLE worker = nullptr;
    Lib(&StartThread, {Subroutine(&EnterAndLeave), Omitted(), Handle(&worker)});
    ASSERT_NE(worker, nullptr);
    EXPECT_EQ(WaitForSingleObject(worker, 200), static_cast<DWORD>(WAIT_TIMEOUT));
    Lib(&LeaveCriticalSection, {Handle(section)});
    EXPECT_EQ(WaitForSingleObject(worker, 200), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_FALSE(g_entered);
    Lib(&LeaveCriticalSection, {Handle(section)});
    EXPECT_EQ(WaitForSingleObject(worker, 10000), WAIT_OBJECT_0);
    EXPECT_TRUE(g_entered);
    CloseHandle(worker);
}

TEST(ThreadLibrary, NotificationHookKeepsTheServiceAndDeletesEverySectionAtShutdown) {
    EXPECT_EQ(ThreadLibraryNotify(1, reinterpret_cast<intptr_t>(&RtNotify), 0), 0);
    EXPECT_EQ(ThreadLibraryNotifyService(), &RtNotify);
    for (int32_t code : {0, 2, 5, 7, 1001}) EXPECT_EQ(ThreadLibraryNotify(code, 0, 0), -1);

    void* a = NewSection();
    void* b = NewSection();
    EXPECT_NE(a, b);
    Lib(&EnterCriticalSection, {Handle(a)});  // held by this thread when the shutdown comes
    EXPECT_EQ(ThreadLibraryNotify(6, 0, 0), 0);

    // Afterwards the old handles are unknown: entering them from another thread returns at once.
    g_section = a;
    g_entered = false;
    HANDLE worker = nullptr;
    Lib(&StartThread, {Subroutine(&EnterAndLeave), Omitted(), Handle(&worker)});
    ASSERT_NE(worker, nullptr);
    EXPECT_EQ(WaitForSingleObject(worker, 10000), WAIT_OBJECT_0);
    EXPECT_TRUE(g_entered);
    CloseHandle(worker);

    // New sections work as before.
    void* c = NewSection();
    Lib(&EnterCriticalSection, {Handle(c)});
    Lib(&LeaveCriticalSection, {Handle(c)});
    (void)b;
}
