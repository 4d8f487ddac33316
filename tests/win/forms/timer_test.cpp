// The timer unit: its interval starts, keeps, restarts and stops the ticks of event 0.
// Tick times are measured here: never early, and late by no more than a loaded machine's
// scheduling allows.
#include <gtest/gtest.h>

#include "controls/unit_types.h"
#include "forms/forms_runtime.h"
#include "forms/units/timer_type.h"
#include "tests/win/forms/form_fixture.h"

namespace {

constexpr uint32_t kTimer = 0x16010002;
constexpr DWORD kTolerance = 450;

std::vector<DWORD>* g_ticks = nullptr;
DWORD g_start = 0;
std::function<void(size_t)>* g_onTick = nullptr;

void LoadTimer() {
    UnitRecord timer = Unit(kTimer, kTypeTimer, 0, 0, 24, 24, TimerData::Write({}), UnitRecord::kStateVisible);
    On(timer, rt::Timer::Tick.number);
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

// Runs the loop until `count` ticks have come or `limitMs` have passed.
void RunUntilTicks(size_t count, DWORD limitMs) {
    DWORD start = GetTickCount();
    while (g_ticks->size() < count && GetTickCount() - start < limitMs) RunLoopFor(20);
}

TEST(Timer, AnIntervalOf1000TicksOnceASecondCountedFromTheWrite) {
    LoadTimer();
    g_start = GetTickCount();
    WriteInt(kTimer, 8, 1000);
    RunUntilTicks(3, 8000);
    ASSERT_EQ(g_ticks->size(), 3u);
    // Never early; late by a loaded machine's scheduling at most, and each a period apart.
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_GE((*g_ticks)[i] + 50, 1000 * (i + 1)) << "tick " << i;
        EXPECT_LE((*g_ticks)[i], 1000 * (i + 1) + kTolerance) << "tick " << i;
        if (i > 0) {
            EXPECT_GE((*g_ticks)[i] - (*g_ticks)[i - 1] + 50, 1000u) << "tick " << i;
        }
    }
    EXPECT_EQ(ReadInt(kTimer, 8), 1000);
}

TEST(Timer, WritingTheSameIntervalAgainKeepsThePeriod) {
    LoadTimer();
    g_start = GetTickCount();
    WriteInt(kTimer, 8, 1000);
    SetTimer(nullptr, 0, 500, &RewriteSameInterval);
    RunUntilTicks(1, 4000);
    ASSERT_EQ(g_ticks->size(), 1u);
    // A restart at 500 ms would have put the tick at 1500 ms or later.
    EXPECT_LT((*g_ticks)[0], 1500u);
}

TEST(Timer, ZeroStopsTheTicksAndANegativeIntervalCountsAsZero) {
    LoadTimer();
    *g_onTick = [](size_t n) {
        if (n == 1) WriteInt(kTimer, 8, 0);
    };
    g_start = GetTickCount();
    WriteInt(kTimer, 8, 300);
    RunUntilTicks(1, 4000);
    RunLoopFor(1000);  // three more periods: no tick after the write of 0
    EXPECT_EQ(g_ticks->size(), 1u);
    EXPECT_EQ(ReadInt(kTimer, 8), 0);
    WriteInt(kTimer, 8, 200);
    WriteInt(kTimer, 8, -5);
    EXPECT_EQ(ReadInt(kTimer, 8), 0);
    RunLoopFor(600);
    EXPECT_EQ(g_ticks->size(), 1u);
}
