// Type data of the timer (type code 0x00010020), maximum version 1.
#pragma once

#include "forms/type_data/type_data_io.h"

struct TimerData {
    static constexpr uint32_t kMaxVersion = 1;

    uint32_t interval = 0;  // [8] milliseconds; 0 = stopped

    static std::optional<TimerData> Parse(const uint8_t* data, size_t size);
    static std::vector<uint8_t> Write(const TimerData& d);
    bool operator==(const TimerData&) const = default;
};
