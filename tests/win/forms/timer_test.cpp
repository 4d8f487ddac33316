// The timer unit: its interval starts, keeps, restarts and stops the ticks of event 0, and its
// ticks bring a caret's blink in step with them.
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
#include "forms/type_data/edit_box_data.h"
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

constexpr uint32_t kEdit = 0x16010003;

void LoadTimer() {
    UnitRecord timer = Unit(kTimer, kTypeTimer, 0, 0, 24, 24, TimerData::Write({}), UnitRecord::kStateVisible);
    On(timer, rt::Timer::Tick.number);
    StartRuntime(ImageBytes(OneWindow({WindowRecord(PlainWindowData()), timer,
                                       Unit(kEdit, kTypeEditBox, 40, 10, 100, 22, EditBoxData::Write({}))})));
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

namespace {

// When the loop took each of the unit's ticks ('u') and each blink of the caret ('b').
std::vector<std::pair<char, DWORD>>* g_taken = nullptr;

LRESULT CALLBACK NoteTaken(int code, WPARAM removal, LPARAM lParam) {
    const MSG& msg = *reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && removal == PM_REMOVE && g_taken) {
        if (msg.message == WM_TIMER && msg.hwnd == UnitHandle(kTimer)) g_taken->push_back({'u', GetTickCount()});
        if (msg.message == 0x0118 /* WM_SYSTIMER */ && msg.wParam == 0xFFFF /* the caret's */)
            g_taken->push_back({'b', GetTickCount()});
    }
    return CallNextHookEx(nullptr, code, removal, lParam);
}

void CALLBACK TypeASeven(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    PostMessageW(UnitHandle(kEdit), WM_CHAR, '7', 1);
}

// How far each of the unit's ticks from the `from`th (1 = the first) lies from the nearest
// blink, before or after it.
std::vector<DWORD> BlinkDistancesFromTick(size_t from) {
    std::vector<DWORD> distances;
    size_t tick = 0;
    for (size_t i = 0; i < g_taken->size(); ++i) {
        if ((*g_taken)[i].first != 'u' || ++tick < from) continue;
        DWORD nearest = INFINITE;
        for (const auto& [kind, time] : *g_taken) {
            const DWORD at = (*g_taken)[i].second;
            if (kind == 'b') nearest = std::min(nearest, time > at ? time - at : at - time);
        }
        bool blinkAfter = false;
        for (size_t j = i + 1; j < g_taken->size(); ++j) blinkAfter = blinkAfter || (*g_taken)[j].first == 'b';
        if (blinkAfter) distances.push_back(nearest);
    }
    return distances;
}

}  // namespace

// The caret of a focused edit box blinks on a timer of its own. A timer unit whose period is a
// multiple of the blink time brings the blink in step at its first tick, and again at the
// first tick after typing, which restarts the blink: from then on each tick and a blink come
// due together, so one wake-up serves both. (Out of step, the nearest blink can be half the
// blink time away: here the blink starts a third of it before the first tick, and the typing
// lands a third of it after the fourth.)
TEST(Timer, ATickBringsTheCaretsBlinkInStepAgainAfterTyping) {
    LoadTimer();
    SetForegroundWindow(FormHandle());
    SetFocus(UnitHandle(kEdit));
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    ASSERT_TRUE(GetGUIThreadInfo(GetCurrentThreadId(), &thread));
    ASSERT_EQ(thread.hwndCaret, UnitHandle(kEdit)) << "the edit box shows a caret";
    const UINT blink = GetCaretBlinkTime();
    ASSERT_TRUE(blink >= 300 && blink <= 2000) << blink;

    g_taken = new std::vector<std::pair<char, DWORD>>;
    HHOOK hook = SetWindowsHookExW(WH_GETMESSAGE, &NoteTaken, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    static UINT third;
    third = blink / 3;
    *g_onTick = [](size_t n) {
        if (n == 4) SetTimer(nullptr, 0, third, &TypeASeven);
    };
    Pump(third);  // the box painted, which restarts the blink, a third of it before the write
    WriteInt(kTimer, kInterval, static_cast<int32_t>(blink));
    const bool ticked = RunLoopUntil([] { return BlinkDistancesFromTick(2).size() >= 6; }, 60000);
    UnhookWindowsHookEx(hook);
    ASSERT_TRUE(ticked);
    EXPECT_EQ(ReadText(kEdit, rt::EditBox::Content), "7") << "the typing reached the box";

    // Ticks 2 to 4 come after the first tick's step, 6 and 7 after the fifth's. In step, a tick
    // and a blink come due a request apart, which a loaded machine can stretch; out of step
    // here the nearest blink is a third of the blink time away.
    std::vector<DWORD> distances = BlinkDistancesFromTick(2);
    ASSERT_GE(distances.size(), 6u);
    for (size_t i : {0u, 1u, 2u, 4u, 5u}) EXPECT_LT(distances[i], blink / 5) << "tick " << i + 2;
    delete g_taken;
    g_taken = nullptr;
}
