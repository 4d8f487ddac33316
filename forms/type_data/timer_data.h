// Type data of the timer (type code 0x00010020), maximum version 1, and its one property.
#pragma once

#include "forms/type_data/described_properties.h"

#define MG_TIMER_FIELDS(F, V, U) \
    F(uint32_t, interval, 0, Prop(8, "Interval", P::kInteger))  /* milliseconds; 0 = stopped */

struct TimerData {
    static constexpr uint32_t kTypeCode = 0x00010020;
    static constexpr const char* kTypeName = "时钟";
    static constexpr const char* kEnglishName = "Timer";
    static constexpr uint32_t kMaxVersion = 1;
    MG_DESCRIBED_FIELDS(MG_TIMER_FIELDS)

    static std::optional<TimerData> Parse(const uint8_t* data, size_t size) {
        return ParseTypeData<TimerData>(data, size);
    }
    static std::vector<uint8_t> Write(const TimerData& d) { return WriteTypeData(d); }
    bool operator==(const TimerData&) const = default;
};
