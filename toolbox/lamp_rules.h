// How the monitor judges a probe: the status lamp of a host's row and whether its time
// column shows the time or "...". Portable.
#pragma once

#include <cstdint>

// Indexes into the result lists' image list.
enum Lamp : int32_t { kLampGrey = 0, kLampGreen = 1, kLampYellow = 2, kLampRed = 3 };

struct RowVerdict {
    Lamp lamp;
    bool hideTime;  // the time column shows "..." instead of the time
};

// t is the round-trip time in milliseconds as read back from the row's time text. The rules
// are applied in their order, a later one overriding an earlier one, and compare with a
// tolerance of 1e-7.
// Inside hosts (the café's own network): fast and echoing "aaaaaa", or not good.
RowVerdict JudgeInsideHost(double t, bool echoedData);
// Outside hosts: wider limits; the echoed data is not looked at.
RowVerdict JudgeOutsideHost(double t);
