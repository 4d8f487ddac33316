// The timer (type code 0x00010020): a hidden runtime window of class _XR_Timer whose system
// timer (id 1000) raises event 0 at every interval.
#include "forms/type_data/timer_data.h"
#include "forms/unit_object.h"
#include "forms/units/core_unit_types.h"
#include "forms/units/unit_helpers.h"

namespace {

const wchar_t kTimerClass[] = L"_XR_Timer";
constexpr UINT_PTR kTimerId = 1000;

class Timer : public UnitObject {
public:
    using UnitObject::UnitObject;
    TimerData data;

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

int32_t WriteTimerProperty(UnitObject* unit, int32_t index, const UnitPropertyValue& v) {
    if (index == 0) static_cast<Timer*>(unit)->SetInterval(v.integer);
    return 0;
}

bool ReadTimerProperty(UnitObject* unit, int32_t index, UnitPropertyValue* out) {
    if (index != 0) return false;
    *out = IntValue(static_cast<Timer*>(unit)->data.interval);
    return true;
}

std::vector<uint8_t> TimerPropertyData(UnitObject* unit) { return TimerData::Write(static_cast<Timer*>(unit)->data); }

void EnumerateTimerTexts(const uint8_t*, uint32_t, TextCallback, void*) {}

AnyOperation TimerInterface(int32_t number) {
    switch (number) {
        case kInterfaceCreateUnit: return AsOperation(&CreateTimer);
        case kInterfaceWriteProperty: return AsOperation(&WriteTimerProperty);
        case kInterfaceGetAllPropertyData: return AsOperation(&TimerPropertyData);
        case kInterfaceReadProperty: return AsOperation(&ReadTimerProperty);
        case kInterfaceEnumerateTexts: return AsOperation(&EnumerateTimerTexts);
        default: return nullptr;
    }
}

const PropertyInfo kTimerProperties[9] = {
    MG_COMMON_PROPERTIES,
    {"Interval", PropertyType::kInteger, 0},
};

}  // namespace

const UnitTypeInfo kTimerType = {
    "时钟", "Timer", kTypeWindowUnit | kTypeRaisesEvents | kTypeInvisible | kTypeNoFocus, 9, kTimerProperties,
    &TimerInterface,
};
