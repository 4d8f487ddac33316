// The timer, a unit type in one file: its description first (portable: the form compiler and
// the tests read it), then its behaviour, which the build compiles from this same file as a
// source of its own (MG_UNIT_BEHAVIOUR). A hidden runtime window of class _XR_Timer whose
// system timer (id 1000) raises Tick at every interval. Type data: maximum version 1.
#pragma once

#include "forms/type_data/described_properties.h"

#define MG_TIMER_FIELDS(F, V, U) \
    F(uint32_t, interval, 0, Prop(8, "Interval", P::kInteger))  /* milliseconds; 0 = stopped */

// Tick: the interval has passed.
#define MG_TIMER_EVENTS(E) E(0, Tick, ())

struct TimerData {
    static constexpr const char* kTypeName = "时钟";
    static constexpr const char* kEnglishName = "Timer";
    static constexpr uint32_t kMaxVersion = 1;
    MG_DESCRIBED_FIELDS(MG_TIMER_FIELDS)
    MG_DESCRIBED_EVENTS(MG_TIMER_EVENTS)

    static std::optional<TimerData> Parse(const uint8_t* data, size_t size) {
        return ParseTypeData<TimerData>(data, size);
    }
    static std::vector<uint8_t> Write(const TimerData& d) { return WriteTypeData(d); }
    bool operator==(const TimerData&) const = default;
};

#if MG_UNIT_BEHAVIOUR
#include "forms/described_unit.h"
#include "runtime/message_loop.h"

namespace {

const wchar_t kTimerClass[] = L"_XR_Timer";
constexpr UINT_PTR kTimerId = 1000;

class Timer : public UnitObject {
public:
    using UnitObject::UnitObject;
    TimerData data;
    static const Behaviours<Timer> kBehaviours;

    // A negative interval counts as 0; the same interval leaves the running period alone;
    // otherwise the period starts again from now, or stops for 0.
    void SetInterval(int32_t interval) {
        uint32_t value = interval < 0 ? 0 : static_cast<uint32_t>(interval);
        if (value == data.interval) return;
        data.interval = value;
        KillTimer(hwnd(), kTimerId);
        if (value > 0) SetTimer(hwnd(), kTimerId, value, nullptr);
    }

private:
    // One step after a burst of input, by whichever timer ticks first (the clock, before a
    // monitor's longer period): another timer's step would put the caret out of step again.
    static inline uint64_t inputAtStep = ~uint64_t{0};

    // The caret blinks on a timer of its own. When the period is a multiple of the blink time,
    // restarting the blink from this tick (hiding and showing the caret) brings it in step: each
    // later tick finds the blink due right after it, and one wake-up of an idle program serves
    // both. Done again only after input, which may have restarted the blink (typing, clicks),
    // and only for a caret of this thread.
    void FallInWithTheCaret() {
        const uint64_t input = InputMessagesTaken();
        if (input == inputAtStep) return;
        const UINT blink = GetCaretBlinkTime();
        if (blink == 0 || blink == INFINITE || data.interval % blink != 0) return;
        inputAtStep = input;
        GUITHREADINFO thread{};
        thread.cbSize = sizeof thread;
        if (!GetGUIThreadInfo(GetCurrentThreadId(), &thread) || !thread.hwndCaret) return;
        if (!HideCaret(thread.hwndCaret)) return;
        ShowCaret(thread.hwndCaret);
        // The period starts again too, a request after the blink: both then come due within
        // the window server's timer granularity, so it hands them out in one wake-up rather
        // than the tick and, a moment later, the blink.
        SetTimer(hwnd(), kTimerId, data.interval, nullptr);
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_TIMER && wParam == kTimerId) {
            FallInWithTheCaret();
            Raise(TimerData::Tick);
            return 0;
        }
        if (message == WM_DESTROY) KillTimer(hwnd(), kTimerId);
        return UnitObject::WindowProc(message, wParam, lParam);
    }
};

UnitObject* CreateTimer(const UnitCreateArgs& a) {
    std::optional<TimerData> d = TimerData::Parse(a.typeData, a.typeDataLength);
    if (!d) return nullptr;
    UnitObject::RegisterUnitClass(kTimerClass, CS_DBLCLKS);
    auto* t = new Timer(a.type, a.windowId, a.unitId);
    if (!t->CreateOwnWindow(0, kTimerClass, nullptr, WS_CHILD | WS_CLIPSIBLINGS | a.styleBits, a)) {
        delete t;
        return nullptr;
    }
    t->SetInterval(static_cast<int32_t>(d->interval));
    return t;
}

int32_t IntervalWrite(Timer& t, const UnitPropertyValue& v) {
    t.SetInterval(v.integer);
    return 0;
}

const Behaviours<Timer> Timer::kBehaviours = {
    {"Interval", WriteWith(&IntervalWrite)},
};

}  // namespace

// A timer has no texts.
extern const UnitOperations kTimerOperations = DescribedOperations<Timer>({.create = &CreateTimer});
#endif
