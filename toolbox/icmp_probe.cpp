// One ICMP echo through the declared DLL commands of ws2_32.dll, ICMP.DLL and kernel32.
#include <optional>

#include "runtime/phase_timing.h"
#include "toolbox/network_monitor.h"

using namespace rt;

namespace {

constexpr int32_t kDefaultTimeout = 500;  // milliseconds

// The host's first IPv4 address as a dotted text, from the platform's HOSTENT copied into
// a record of our own; empty when the name does not resolve.
Text ResolveToDottedText(TextView host) {
    intptr_t entry = GetHostByName(host);
    if (entry == 0) return Text();
    HostEnt hostEnt;
    CopyHostEnt(hostEnt, entry, GlobalSizeOf(hostEnt));
    if (hostEnt.addressList == 0) return Text();
    intptr_t firstAddress = ReadIntAt(hostEnt.addressList);  // only the first address is used
    Bytes b = PointerToBytes(firstAddress, 4);
    if (b.size() < 4) return Text();  // an empty address list
    return Concat({ToText(b.data()[0]), ".", ToText(b.data()[1]), ".", ToText(b.data()[2]), ".", ToText(b.data()[3])});
}

// Everything between the sockets' start-up and their release, so that every way out of the
// probe passes the one WSACleanup.
int32_t SendEcho(TextView host, TextView data, ProbeReply& reply, int32_t timeout) {
    uint32_t address = InetAddr(host);
    if (address == kNoAddress) {
        Text dotted = ResolveToDottedText(host);
        if (dotted.empty()) return -1;
        address = InetAddr(dotted);
    }
    // 255.255.255.255 is indistinguishable from "no address" and cannot be probed.
    if (address == kNoAddress) return -1;
    if (timeout <= 0) timeout = kDefaultTimeout;
    std::optional<PhaseSpan> step(std::in_place, Phase::kEchoHandle);
    IcmpHandle icmp;
    if (!icmp.valid()) return -1;
    step.emplace(Phase::kEcho);
    IcmpSendEcho(icmp.get(), address, data, TextLength(data), 0, reply, static_cast<int32_t>(GlobalSizeOf(reply)),
                 timeout);
    step.emplace(Phase::kEchoHandle);  // the handle closes on the way out
    return reply.status;
}

}  // namespace

int32_t ProbeHost(TextView host, TextView data, ProbeReply& reply, int32_t timeout) {
    WsaData sockets;
    {
        PhaseSpan span(Phase::kSockets);
        WsaStartup(MakeShort(2, 2), sockets);
    }
    int32_t result = SendEcho(host, data, reply, timeout);
    PhaseSpan span(Phase::kSockets);
    WsaCleanup();
    return result;
}
