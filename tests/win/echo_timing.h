// How tests judge echo round-trip times against the lab's configured delays. Under Wine on a
// busy machine replies read late by as much as the load makes them, so a test holds only what
// stays true under load: a reply is never early, and replies whose delays lie far apart keep
// the order of their delays.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace echo_timing {

// The platform measures whole milliseconds and may round down by one.
constexpr uint32_t kEarlyMs = 1;
// Delays at least this far apart come back in their order.
constexpr uint32_t kOrderGapMs = 100;

struct Timed {
    std::string host;
    uint32_t delayMs;
    uint32_t roundTripMs;
};

inline void ExpectNotEarly(const Timed& t) {
    EXPECT_GE(t.roundTripMs + kEarlyMs, t.delayMs) << t.host << " answered before its delay";
}

inline void ExpectDelayOrder(const std::vector<Timed>& replies) {
    for (const Timed& a : replies)
        for (const Timed& b : replies)
            if (a.delayMs + kOrderGapMs <= b.delayMs) {
                EXPECT_LT(a.roundTripMs, b.roundTripMs) << a.host << " (" << a.delayMs << " ms) came back after "
                                                        << b.host << " (" << b.delayMs << " ms)";
            }
}

}  // namespace echo_timing
