// Replies waiting for their time. One event loop serves every request, so a burst of
// requests with different delays must not wait on one another: each reply waits
// here, ordered by the time it is due, and the loop sleeps until the earliest one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

// Times are nanoseconds on one clock (the responder uses CLOCK_MONOTONIC).
struct PendingReply {
    int64_t due = 0;
    int64_t arrival = 0;      // when the request came, for the log
    uint32_t to = 0;          // host byte order
    std::vector<uint8_t> datagram;
    uint64_t order = 0;       // arrival order; keeps replies due at one time first come, first served
};

class ReplyQueue {
public:
    // Bounds against a flood: beyond them new replies are dropped, as a busy host would.
    ReplyQueue(size_t maxReplies, size_t maxBytes) : maxReplies_(maxReplies), maxBytes_(maxBytes) {}

    // False when the reply would exceed a bound; it is then dropped.
    bool Push(int64_t due, int64_t arrival, uint32_t to, std::vector<uint8_t> datagram);

    bool Empty() const { return heap_.empty(); }
    size_t Size() const { return heap_.size(); }
    // The earliest due time; only when not empty.
    int64_t NextDue() const { return heap_.front().due; }
    // Takes the earliest reply if it is due at now.
    std::optional<PendingReply> PopDue(int64_t now);

private:
    std::vector<PendingReply> heap_;
    size_t bytes_ = 0;
    uint64_t nextOrder_ = 0;
    size_t maxReplies_;
    size_t maxBytes_;
};

// When a request arrived, on the monotonic clock, from the kernel's receive stamp
// (realtime clock): a responder kept off the processor for a while still times its
// replies from the arrival. Without a stamp, or with one from a clock that jumped
// (in the future, or older than a second), the request counts as arriving now.
int64_t ArrivalOnMonotonic(int64_t nowMonotonic, int64_t nowRealtime, std::optional<int64_t> stampRealtime);
