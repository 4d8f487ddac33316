// How tests judge echo round-trip times against the lab's configured delays. Under Wine on a
// busy machine the first replies of a burst read tens of milliseconds late, so a test holds
// only what stays true under load: a reply is never early, comes back well before a second
// delay could have passed, and replies whose delays lie far apart keep the order of their delays.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace echo_timing {

// The platform measures whole milliseconds and may round down by one.
constexpr uint32_t kEarlyMs = 1;
// Room for a late reply: far below what a responder that served requests one after another
// (or mixed up their delays) would give.
constexpr uint32_t kLateMs = 150;
// Delays at least this far apart come back in their order.
constexpr uint32_t kOrderGapMs = 100;

struct Timed {
    std::string host;
    uint32_t delayMs;
    uint32_t roundTripMs;
};

inline void ExpectNearDelay(const Timed& t) {
    EXPECT_GE(t.roundTripMs + kEarlyMs, t.delayMs) << t.host << " answered before its delay";
    EXPECT_LE(t.roundTripMs, t.delayMs + kLateMs) << t.host;
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
