#include "tools/icmp_responder/reply_delay.h"

std::optional<uint32_t> ReplyDelayMs(uint32_t address) {
    uint32_t a = address >> 24;
    uint32_t b = (address >> 16) & 0xFF;
    uint32_t low16 = address & 0xFFFF;
    if (a != 127) return std::nullopt;
    if (b == 0) return 0;
    if (b == 1) return low16;
    return std::nullopt;
}
