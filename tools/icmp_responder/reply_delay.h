// Which lab host answers after how long. Every address of 127/8 is local on the
// loopback interface, so a test chooses a host's round-trip time by choosing its address:
//   127.0.x.y   answers at once (127.0.0.1 is "localhost")
//   127.1.H.L   answers after H*256 + L milliseconds (127.1.0.80: 80 ms, 127.1.7.208: 2000 ms)
//   any other   never answers (127.2.x.y is the silent host tests name)
#pragma once

#include <cstdint>
#include <optional>

// address is IPv4 in host byte order (127.1.0.80 is 0x7F010050).
// Returns the delay in milliseconds, or nullopt for a host that never answers.
std::optional<uint32_t> ReplyDelayMs(uint32_t address);
