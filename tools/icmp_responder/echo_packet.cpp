#include "tools/icmp_responder/echo_packet.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr uint8_t kProtocolIcmp = 1;
constexpr uint8_t kEchoReply = 0;
constexpr uint8_t kEchoRequest = 8;
constexpr size_t kIpHeaderSize = 20;
constexpr size_t kIcmpHeaderSize = 8;
constexpr uint8_t kReplyTtl = 64;

uint16_t Get16(const uint8_t* p) { return static_cast<uint16_t>(p[0] << 8 | p[1]); }
uint32_t Get32(const uint8_t* p) {
    return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
}
void Put16(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v >> 8);
    p[1] = static_cast<uint8_t>(v);
}
void Put32(uint8_t* p, uint32_t v) {
    Put16(p, static_cast<uint16_t>(v >> 16));
    Put16(p + 2, static_cast<uint16_t>(v));
}

}  // namespace

uint16_t InternetChecksum(std::span<const uint8_t> bytes) {
    uint64_t sum = 0;
    size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2) sum += Get16(&bytes[i]);
    if (i < bytes.size()) sum += uint32_t{bytes[i]} << 8;
    while (sum >> 16) sum = (sum & 0xFFFF) + (sum >> 16);
    return static_cast<uint16_t>(~sum);
}

std::optional<EchoRequest> ParseEchoRequest(std::span<const uint8_t> datagram) {
    if (datagram.size() < kIpHeaderSize) return std::nullopt;
    const uint8_t* ip = datagram.data();
    if (ip[0] >> 4 != 4) return std::nullopt;
    size_t headerSize = size_t{ip[0] & 0x0Fu} * 4;
    size_t totalSize = Get16(ip + 2);
    if (headerSize < kIpHeaderSize || totalSize < headerSize + kIcmpHeaderSize) return std::nullopt;
    // The total length is the truth; what the socket gave beyond it is padding, less is truncation.
    if (totalSize > datagram.size()) return std::nullopt;
    if (ip[9] != kProtocolIcmp) return std::nullopt;
    // More-fragments flag or a fragment offset: not a whole message.
    if (Get16(ip + 6) & 0x3FFF) return std::nullopt;

    std::span<const uint8_t> message = datagram.subspan(headerSize, totalSize - headerSize);
    if (message[0] != kEchoRequest || message[1] != 0) return std::nullopt;
    if (InternetChecksum(message) != 0) return std::nullopt;

    EchoRequest request;
    request.source = Get32(ip + 12);
    request.destination = Get32(ip + 16);
    request.identifier = Get16(&message[4]);
    request.sequence = Get16(&message[6]);
    request.message = message;
    return request;
}

std::vector<uint8_t> MakeEchoReply(const EchoRequest& request) {
    std::vector<uint8_t> reply(kIpHeaderSize + request.message.size());
    uint8_t* ip = reply.data();
    ip[0] = 0x45;  // version 4, five header words
    Put16(ip + 2, static_cast<uint16_t>(reply.size()));
    ip[8] = kReplyTtl;
    ip[9] = kProtocolIcmp;
    Put32(ip + 12, request.destination);
    Put32(ip + 16, request.source);
    Put16(ip + 10, InternetChecksum({ip, kIpHeaderSize}));

    uint8_t* icmp = ip + kIpHeaderSize;
    std::copy(request.message.begin(), request.message.end(), icmp);
    icmp[0] = kEchoReply;
    icmp[1] = 0;
    Put16(icmp + 2, 0);
    Put16(icmp + 2, InternetChecksum({icmp, request.message.size()}));
    return reply;
}

DottedAddress Dotted(uint32_t address) {
    DottedAddress d;
    std::snprintf(d.text, sizeof d.text, "%u.%u.%u.%u", address >> 24, (address >> 16) & 0xFF,
                  (address >> 8) & 0xFF, address & 0xFF);
    return d;
}
