// The timer unit: its interval starts, keeps, restarts and stops the ticks of event 0.
// Tick times are measured here with a tolerance; nothing beyond that is claimed.
#include <gtest/gtest.h>

#include "forms/forms_runtime.h"
#include "forms/type_data/timer_data.h"
#include "tests/win/forms/form_fixture.h"

namespace {

constexpr uint32_t kTimer = 0x16010002;
constexpr DWORD kTolerance = 250;

std::vector<DWORD>* g_ticks = nullptr;
DWORD g_start = 0;
std::function<void(size_t)>* g_onTick = nullptr;

void LoadTimer() {
    UnitRecord timer = Unit(kTimer, kTypeTimer, 0, 0, 24, 24, TimerData::Write({}), UnitRecord::kStateVisible);
    On(timer, 0);
    StartRuntime(ImageBytes(OneWindow({WindowRecord(PlainWindowData()), timer})));
    ASSERT_TRUE(LoadStartWindowById(kTestWindowId));
    g_ticks = new std::vector<DWORD>;
    g_onTick = new std::function<void(size_t)>;
    SetEventAction([](const SeenEvent& e) {
        if (e.event != 0 || e.unit != kTimer) return;
        g_ticks->push_back(GetTickCount() - g_start);
        if (*g_onTick) (*g_onTick)(g_ticks->size());
    });
}

void CALLBACK RewriteSameInterval(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    WriteInt(kTimer, 8, 1000);
}

}  // namespace

TEST(Timer, AnIntervalOf1000TicksOnceASecondCountedFromTheWrite) {
    LoadTimer();
    g_start = GetTickCount();
    WriteInt(kTimer, 8, 1000);
    RunLoopFor(3500);
    ASSERT_EQ(g_ticks->size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_GE((*g_ticks)[i] + 50, 1000 * (i + 1)) << "tick " << i;
        EXPECT_LE((*g_ticks)[i], 1000 * (i + 1) + kTolerance) << "tick " << i;
    }
    EXPECT_EQ(ReadInt(kTimer, 8), 1000);
}

TEST(Timer, WritingTheSameIntervalAgainKeepsThePeriod) {
    LoadTimer();
    g_start = GetTickCount();
    WriteInt(kTimer, 8, 1000);
    SetTimer(nullptr, 0, 600, &RewriteSameInterval);
    RunLoopFor(1500);
    ASSERT_EQ(g_ticks->size(), 1u);
    // A restart at 600 ms would have put the tick near 1600 ms.
    EXPECT_LE((*g_ticks)[0], 1000 + kTolerance);
}

TEST(Timer, ZeroStopsTheTicksAndANegativeIntervalCountsAsZero) {
    LoadTimer();
    *g_onTick = [](size_t n) {
        if (n == 1) WriteInt(kTimer, 8, 0);
    };
    g_start = GetTickCount();
    WriteInt(kTimer, 8, 300);
    RunLoopFor(1500);
    EXPECT_EQ(g_ticks->size(), 1u);
    EXPECT_EQ(ReadInt(kTimer, 8), 0);
    WriteInt(kTimer, 8, 200);
    WriteInt(kTimer, 8, -5);
    EXPECT_EQ(ReadInt(kTimer, 8), 0);
    RunLoopFor(600);
    EXPECT_EQ(g_ticks->size(), 1u);
}
