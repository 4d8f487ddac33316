// The timer (type code 0x00010020): a hidden runtime window of class _XR_Timer whose system
// timer (id 1000) raises event 0 at every interval.
#include "forms/type_data/timer_data.h"
#include "forms/described_unit.h"
#include "forms/units/core_unit_types.h"
#include "forms/units/unit_helpers.h"

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

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_TIMER && wParam == kTimerId) {
            RaiseUnitEvent(0);
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
    auto* t = new Timer(&kTimerType, a.windowId, a.unitId);
    if (!t->CreateOwnWindow(0, kTimerClass, nullptr, WS_CHILD | WS_CLIPSIBLINGS | a.styleBits, a)) {
        delete t;
        return nullptr;
    }
    t->SetInterval(static_cast<int32_t>(d->interval));
    return t;
}

void EnumerateTimerTexts(const uint8_t*, uint32_t, TextCallback, void*) {}


int32_t IntervalWrite(Timer& t, const UnitPropertyValue& v) {
    t.SetInterval(v.integer);
    return 0;
}

const Behaviours<Timer> Timer::kBehaviours = {
    {"Interval", WriteWith(&IntervalWrite)},
};

const UnitOperations kTimerOperations = {
    &CreateTimer, &WriteDescribedProperty<Timer>, &DescribedPropertyData<Timer>, &ReadDescribedProperty<Timer>,
    nullptr,      nullptr,                        &EnumerateTimerTexts,
};

}  // namespace

const UnitTypeInfo kTimerType =
    DescribedUnitType<TimerData>(kTypeWindowUnit | kTypeRaisesEvents | kTypeInvisible | kTypeNoFocus, &kTimerOperations);
