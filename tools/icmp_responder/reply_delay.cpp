#include "tools/icmp_responder/reply_delay.h"

namespace {

bool DropsAShare(uint32_t address) { return (address >> 16) == 0x7F03; }

}  // namespace

std::optional<uint32_t> ReplyDelayMs(uint32_t address) {
    uint32_t a = address >> 24;
    uint32_t b = (address >> 16) & 0xFF;
    uint32_t low16 = address & 0xFFFF;
    if (a != 127) return std::nullopt;
    if (b == 0) return 0;
    if (b == 1) return low16;
    if (DropsAShare(address)) return address & 0xFF;
    return std::nullopt;
}

std::optional<uint32_t> ReplyPlan::Next(uint32_t address) {
    if (!DropsAShare(address)) return ReplyDelayMs(address);
    const uint32_t every = (address >> 8) & 0xFF;
    const uint64_t number = ++requestsSeen_[address];
    if (every != 0 && number % every == 0) return std::nullopt;
    return ReplyDelayMs(address);
}
