// Echo requests as a raw IPv4 ICMP socket delivers them (IP header first), and the
// replies the responder sends back with an IP header of its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

struct EchoRequest {
    uint32_t source = 0;       // host byte order
    uint32_t destination = 0;  // host byte order
    uint16_t identifier = 0;
    uint16_t sequence = 0;
    // The ICMP message (8-byte header, then data); points into the parsed datagram.
    std::span<const uint8_t> message;

    size_t DataSize() const { return message.size() - 8; }
};

// The one's-complement sum of RFC 1071; an odd last byte counts as its high half.
uint16_t InternetChecksum(std::span<const uint8_t> bytes);

// The echo request in an IPv4 datagram, or nullopt for anything else: short or
// truncated datagrams, other protocols, fragments, other ICMP types (our own
// replies among them), a nonzero code or a bad ICMP checksum. IP options are skipped.
std::optional<EchoRequest> ParseEchoRequest(std::span<const uint8_t> datagram);

// The reply as a whole IPv4 datagram: from the address that was asked, to the
// asker, carrying the request's identifier, sequence number and data unchanged.
// The IP header has no options; the kernel fills in the datagram's identification.
std::vector<uint8_t> MakeEchoReply(const EchoRequest& request);

// Dotted form of a host-order IPv4 address, for the log.
struct DottedAddress {
    char text[16];
};
DottedAddress Dotted(uint32_t address);
