// Which lab host answers after how long. Every address of 127/8 is local on the
// loopback interface, so a test chooses a host's round-trip time by choosing its address:
//   127.0.x.y   answers at once (127.0.0.1 is "localhost")
//   127.1.H.L   answers after H*256 + L milliseconds (127.1.0.80: 80 ms, 127.1.7.208: 2000 ms)
//   127.3.N.D   drops every Nth request to that address (the Nth, the 2Nth, ...; requests are
//               counted per address from the responder's start) and answers the others after
//               D milliseconds: 127.3.4.30 loses one request in four and answers in 30 ms.
//               N of 0 or 1 drops nothing or everything, as the rule says.
//   any other   never answers (127.2.x.y is the silent host tests name)
#pragma once

#include <cstdint>
#include <optional>
#include <unordered_map>

// address is IPv4 in host byte order (127.1.0.80 is 0x7F010050).
// Returns the delay in milliseconds, or nullopt for a host that never answers. For a host
// that drops a share of its requests, the delay of the requests it answers.
std::optional<uint32_t> ReplyDelayMs(uint32_t address);

// The answer to each request in turn, with the requests counted per dropping address.
class ReplyPlan {
public:
    // The delay for this request to `address`, or nullopt when it goes unanswered.
    std::optional<uint32_t> Next(uint32_t address);

private:
    std::unordered_map<uint32_t, uint64_t> requestsSeen_;  // dropping addresses only
};
