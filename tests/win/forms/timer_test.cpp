// The timer unit: its interval starts, keeps, restarts and stops the ticks of event 0.
// Its ticks are never early; how late a loaded machine lets them run is no measure, so each
// test compares them with reference timers of the platform instead: due timers are delivered
// in the order they fell due, however late the loop runs, so a tick that comes before a
// reference tick was due before it.
#include <gtest/gtest.h>

#include "controls/unit_types.h"
#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "forms/forms_runtime.h"
#include "forms/units/timer_type.h"
#include "tests/win/forms/form_fixture.h"

namespace {

constexpr uint32_t kTimer = 0x16010002;
constexpr auto kInterval = rt::Timer::Interval;

// What happened, in order: 'u' a tick of the unit, 'r' a tick of a reference timer.
std::string g_order;
std::vector<DWORD>* g_ticks = nullptr;  // the unit's ticks, in ms after g_start
DWORD g_start = 0;
std::function<void(size_t)>* g_onTick = nullptr;

void LoadTimer() {
    UnitRecord timer = Unit(kTimer, kTypeTimer, 0, 0, 24, 24, TimerData::Write({}), UnitRecord::kStateVisible);
    On(timer, rt::Timer::Tick.number);
    StartRuntime(ImageBytes(OneWindow({WindowRecord(PlainWindowData()), timer})));
    ASSERT_TRUE(LoadStartWindowById(kTestWindowId));
    g_order.clear();
    g_ticks = new std::vector<DWORD>;
    g_onTick = new std::function<void(size_t)>;
    SetEventAction([](const SeenEvent& e) {
        if (e.event != 0 || e.unit != kTimer) return;
        g_order += 'u';
        g_ticks->push_back(GetTickCount() - g_start);
        if (*g_onTick) (*g_onTick)(g_ticks->size());
    });
}

void CALLBACK ReferenceTick(HWND, UINT, UINT_PTR, DWORD) { g_order += 'r'; }
void CALLBACK RewriteSameInterval(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    WriteInt(kTimer, kInterval, 1000);
}

// A reference timer of the platform, ticking every `periodMs` from now until it goes.
class Reference {
public:
    explicit Reference(UINT periodMs) : id_(SetTimer(nullptr, 0, periodMs, &ReferenceTick)) {}
    ~Reference() { KillTimer(nullptr, id_); }
    bool ok() const { return id_ != 0; }

private:
    UINT_PTR id_;
};

size_t Count(char what) { return static_cast<size_t>(std::count(g_order.begin(), g_order.end(), what)); }

}  // namespace

TEST(Timer, AnIntervalOf1000TicksOnceASecondCountedFromTheWrite) {
    LoadTimer();
    g_start = GetTickCount();
    WriteInt(kTimer, kInterval, 1000);
    Reference reference(1300);  // due at 1300, 2600, 3900: after each of the unit's first three
    ASSERT_TRUE(reference.ok());
    ASSERT_TRUE(RunLoopUntil([] { return Count('u') >= 3; }, 60000));
    EXPECT_EQ(g_order.substr(0, 5), "ururu") << "a period of 1000 ms puts each tick before the reference's";
    // Never early. (A tick that a busy machine delivered late is followed by one on time, so
    // two ticks may come closer together than a period.)
    for (size_t i = 0; i < 3; ++i) EXPECT_GE((*g_ticks)[i] + 50, 1000 * (i + 1)) << "tick " << i;
    EXPECT_EQ(ReadInt(kTimer, kInterval), 1000);
}

TEST(Timer, WritingTheSameIntervalAgainKeepsThePeriod) {
    LoadTimer();
    WriteInt(kTimer, kInterval, 1000);
    ASSERT_NE(SetTimer(nullptr, 0, 500, &RewriteSameInterval), 0u);
    Reference reference(1250);  // a restart at 500 ms would put the tick at 1500 ms, after this
    ASSERT_TRUE(reference.ok());
    ASSERT_TRUE(RunLoopUntil([] { return Count('u') >= 1 && Count('r') >= 1; }, 60000));
    EXPECT_EQ(g_order.substr(0, 2), "ur");
}

TEST(Timer, ZeroStopsTheTicksAndANegativeIntervalCountsAsZero) {
    LoadTimer();
    *g_onTick = [](size_t n) {
        if (n == 1) WriteInt(kTimer, kInterval, 0);
    };
    WriteInt(kTimer, kInterval, 300);
    ASSERT_TRUE(RunLoopUntil([] { return Count('u') >= 1; }, 60000));
    {
        // Started after the write of 0: a timer still running would fall due twice before it.
        Reference reference(700);
        ASSERT_TRUE(RunLoopUntil([] { return Count('r') >= 1; }, 60000));
    }
    EXPECT_EQ(g_order, "ur");
    EXPECT_EQ(ReadInt(kTimer, kInterval), 0);
    WriteInt(kTimer, kInterval, 200);
    WriteInt(kTimer, kInterval, -5);
    EXPECT_EQ(ReadInt(kTimer, kInterval), 0);
    {
        Reference reference(500);
        ASSERT_TRUE(RunLoopUntil([] { return Count('r') >= 2; }, 60000));
    }
    EXPECT_EQ(Count('u'), 1u);
}
