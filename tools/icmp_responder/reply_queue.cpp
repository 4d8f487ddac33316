#include "tools/icmp_responder/reply_queue.h"

#include <algorithm>

namespace {

// std::push_heap keeps the largest first; this puts the earliest due (then earliest arrival) first.
bool Later(const PendingReply& a, const PendingReply& b) {
    if (a.due != b.due) return a.due > b.due;
    return a.order > b.order;
}

constexpr int64_t kMaxStampAge = 1'000'000'000;

}  // namespace

bool ReplyQueue::Push(int64_t due, int64_t arrival, uint32_t to, std::vector<uint8_t> datagram) {
    if (heap_.size() >= maxReplies_ || datagram.size() > maxBytes_ - std::min(bytes_, maxBytes_)) return false;
    bytes_ += datagram.size();
    heap_.push_back(PendingReply{due, arrival, to, std::move(datagram), nextOrder_++});
    std::push_heap(heap_.begin(), heap_.end(), Later);
    return true;
}

std::optional<PendingReply> ReplyQueue::PopDue(int64_t now) {
    if (heap_.empty() || heap_.front().due > now) return std::nullopt;
    std::pop_heap(heap_.begin(), heap_.end(), Later);
    PendingReply reply = std::move(heap_.back());
    heap_.pop_back();
    bytes_ -= reply.datagram.size();
    return reply;
}

int64_t ArrivalOnMonotonic(int64_t nowMonotonic, int64_t nowRealtime, std::optional<int64_t> stampRealtime) {
    if (!stampRealtime) return nowMonotonic;
    int64_t age = nowRealtime - *stampRealtime;
    if (age < 0 || age > kMaxStampAge) return nowMonotonic;
    return nowMonotonic - age;
}
