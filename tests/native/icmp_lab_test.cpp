// The ICMP responder's rules: which address answers when, which datagrams count as
// echo requests, what the reply carries, and the order in which waiting replies leave.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

#include "tools/icmp_responder/echo_packet.h"
#include "tools/icmp_responder/reply_delay.h"
#include "tools/icmp_responder/reply_queue.h"

namespace {

constexpr uint32_t Ip(uint32_t a, uint32_t b, uint32_t c, uint32_t d) { return a << 24 | b << 16 | c << 8 | d; }

TEST(ReplyDelay, AddressesChooseTheDelay) {
    struct Case {
        uint32_t address;
        std::optional<uint32_t> delay;
    };
    const Case cases[] = {
        {Ip(127, 0, 0, 1), 0},          {Ip(127, 0, 0, 0), 0},         {Ip(127, 0, 255, 255), 0},
        {Ip(127, 0, 3, 200), 0},        {Ip(127, 1, 0, 0), 0},         {Ip(127, 1, 0, 1), 1},
        {Ip(127, 1, 0, 80), 80},        {Ip(127, 1, 0, 255), 255},     {Ip(127, 1, 1, 0), 256},
        {Ip(127, 1, 7, 208), 2000},     {Ip(127, 1, 255, 255), 65535}, {Ip(127, 2, 0, 1), std::nullopt},
        {Ip(127, 2, 0, 0), std::nullopt}, {Ip(127, 255, 255, 255), std::nullopt},
        {Ip(10, 0, 0, 1), std::nullopt}, {Ip(126, 0, 0, 1), std::nullopt}, {Ip(128, 0, 0, 1), std::nullopt},
        {Ip(0, 0, 0, 0), std::nullopt},  {Ip(255, 1, 0, 80), std::nullopt}, {Ip(1, 0, 0, 127), std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(ReplyDelayMs(c.address), c.delay) << Dotted(c.address).text;
}

// 127.3.N.D answers after D ms but drops every Nth request, counted per address; other
// addresses keep their fixed answer.
TEST(ReplyDelay, ADroppingHostLosesEveryNthRequestCountedPerAddress) {
    ReplyPlan plan;
    const uint32_t quarter = Ip(127, 3, 4, 30), half = Ip(127, 3, 2, 7);
    std::vector<std::optional<uint32_t>> quarterAnswers, halfAnswers;
    for (int i = 0; i < 8; ++i) {
        quarterAnswers.push_back(plan.Next(quarter));
        if (i < 4) halfAnswers.push_back(plan.Next(half));  // interleaved: counts stay apart
        EXPECT_EQ(plan.Next(Ip(127, 1, 0, 80)), 80u);
        EXPECT_EQ(plan.Next(Ip(127, 2, 0, 1)), std::nullopt);
    }
    using O = std::optional<uint32_t>;
    const std::vector<O> everyFourth = {30u, 30u, 30u, std::nullopt, 30u, 30u, 30u, std::nullopt};
    EXPECT_EQ(quarterAnswers, everyFourth);
    EXPECT_EQ(halfAnswers, (std::vector<O>{7u, std::nullopt, 7u, std::nullopt}));
    for (int i = 0; i < 5; ++i) EXPECT_EQ(plan.Next(Ip(127, 3, 0, 9)), 9u) << "N of 0 drops nothing";
    EXPECT_EQ(plan.Next(Ip(127, 3, 1, 9)), std::nullopt) << "N of 1 drops everything";
}

// An echo request datagram as a raw socket delivers it; options makes the IP header longer.
std::vector<uint8_t> Request(uint32_t from, uint32_t to, uint16_t id, uint16_t seq, std::vector<uint8_t> data,
                             std::vector<uint8_t> options = {}) {
    size_t header = 20 + options.size();
    std::vector<uint8_t> d(header + 8 + data.size());
    d[0] = static_cast<uint8_t>(0x40 | header / 4);
    d[2] = static_cast<uint8_t>(d.size() >> 8);
    d[3] = static_cast<uint8_t>(d.size());
    d[8] = 64;
    d[9] = 1;
    for (int i = 0; i < 4; ++i) {
        d[12 + i] = static_cast<uint8_t>(from >> (24 - 8 * i));
        d[16 + i] = static_cast<uint8_t>(to >> (24 - 8 * i));
    }
    std::copy(options.begin(), options.end(), d.begin() + 20);
    uint8_t* icmp = d.data() + header;
    icmp[0] = 8;
    icmp[4] = static_cast<uint8_t>(id >> 8);
    icmp[5] = static_cast<uint8_t>(id);
    icmp[6] = static_cast<uint8_t>(seq >> 8);
    icmp[7] = static_cast<uint8_t>(seq);
    std::copy(data.begin(), data.end(), icmp + 8);
    uint16_t sum = InternetChecksum({icmp, 8 + data.size()});
    icmp[2] = static_cast<uint8_t>(sum >> 8);
    icmp[3] = static_cast<uint8_t>(sum);
    return d;
}

// Known sums, so that the checksum is not only checked against itself: RFC 1071's
// example, an IPv4 header whose checksum is 0xB861, odd lengths and a double carry.
TEST(EchoPacket, ChecksumMatchesKnownSums) {
    const uint8_t rfc1071[] = {0x00, 0x01, 0xF2, 0x03, 0xF4, 0xF5, 0xF6, 0xF7};
    EXPECT_EQ(InternetChecksum(rfc1071), 0x220D);
    const uint8_t header[] = {0x45, 0x00, 0x00, 0x73, 0x00, 0x00, 0x40, 0x00, 0x40, 0x11,
                              0x00, 0x00, 0xC0, 0xA8, 0x00, 0x01, 0xC0, 0xA8, 0x00, 0xC7};
    EXPECT_EQ(InternetChecksum(header), 0xB861);
    const uint8_t one[] = {0x01};
    EXPECT_EQ(InternetChecksum(one), 0xFEFF);
    const uint8_t three[] = {0xFF, 0xFF, 0x01};
    EXPECT_EQ(InternetChecksum(three), 0xFEFF);
    const uint8_t twoCarries[] = {0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x01};  // folding the carry carries again
    EXPECT_EQ(InternetChecksum(twoCarries), 0xFFFE);
    EXPECT_EQ(InternetChecksum({}), 0xFFFF);
}

uint32_t Get32(const uint8_t* p) { return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3]; }

TEST(EchoPacket, ReplyComesFromTheAskedAddressWithTheRequestUnchanged) {
    // Odd data lengths exercise the checksum's last half word; options must not shift the message.
    const std::vector<uint8_t> optionSets[] = {{}, {1, 1, 1, 0}, std::vector<uint8_t>(40, 1)};
    for (const std::vector<uint8_t>& options : optionSets) {
        for (std::vector<uint8_t> data : {std::vector<uint8_t>{}, std::vector<uint8_t>{'a', 'b', 'c', 'd', 'e', 'f'},
                                          std::vector<uint8_t>{0xFF, 0xFF, 0xFF}, std::vector<uint8_t>(1473, 0xA5)}) {
            SCOPED_TRACE(testing::Message() << options.size() << " option bytes, " << data.size() << " data bytes");
            std::vector<uint8_t> datagram = Request(Ip(127, 0, 0, 1), Ip(127, 1, 0, 80), 0xBEEF, 0x0102, data, options);
            std::optional<EchoRequest> request = ParseEchoRequest(datagram);
            ASSERT_TRUE(request);
            EXPECT_EQ(request->source, Ip(127, 0, 0, 1));
            EXPECT_EQ(request->destination, Ip(127, 1, 0, 80));
            EXPECT_EQ(request->identifier, 0xBEEF);
            EXPECT_EQ(request->sequence, 0x0102);
            EXPECT_EQ(request->DataSize(), data.size());

            std::vector<uint8_t> reply = MakeEchoReply(*request);
            ASSERT_EQ(reply.size(), 20 + 8 + data.size());
            EXPECT_EQ(reply[0], 0x45);
            EXPECT_EQ(reply[2] << 8 | reply[3], static_cast<int>(reply.size()));
            EXPECT_EQ(reply[9], 1);
            EXPECT_NE(reply[8], 0) << "a zero TTL reply dies on the way";
            EXPECT_EQ(Get32(&reply[12]), Ip(127, 1, 0, 80));
            EXPECT_EQ(Get32(&reply[16]), Ip(127, 0, 0, 1));
            EXPECT_EQ(InternetChecksum({reply.data(), 20}), 0);
            std::span<const uint8_t> icmp(reply.data() + 20, reply.size() - 20);
            EXPECT_EQ(icmp[0], 0);
            EXPECT_EQ(icmp[1], 0);
            EXPECT_EQ(InternetChecksum(icmp), 0);
            EXPECT_EQ(std::vector<uint8_t>(icmp.begin() + 4, icmp.end()),
                      std::vector<uint8_t>(request->message.begin() + 4, request->message.end()));
            // The reply is not itself taken for a request (the responder sees its own replies).
            EXPECT_FALSE(ParseEchoRequest(reply));
        }
    }
}

TEST(EchoPacket, AnythingButAWholeEchoRequestIsIgnored) {
    const std::vector<uint8_t> good = Request(Ip(127, 0, 0, 1), Ip(127, 0, 0, 1), 7, 9, {1, 2, 3, 4, 5, 6});
    ASSERT_TRUE(ParseEchoRequest(good));
    auto changed = [&](auto change) {
        std::vector<uint8_t> d = good;
        change(d);
        return d;
    };
    // A changed ICMP message with a checksum that fits it, so that only the change can reject it.
    auto resummed = [&](auto change) {
        std::vector<uint8_t> d = changed(change);
        d[22] = d[23] = 0;
        uint16_t sum = InternetChecksum({d.data() + 20, d.size() - 20});
        d[22] = static_cast<uint8_t>(sum >> 8);
        d[23] = static_cast<uint8_t>(sum);
        return d;
    };
    struct Case {
        const char* what;
        std::vector<uint8_t> datagram;
    };
    const Case cases[] = {
        {"empty", {}},
        {"shorter than an IP header", std::vector<uint8_t>(good.begin(), good.begin() + 19)},
        {"IP header only", changed([](auto& d) { d.resize(20), d[3] = 20; })},
        {"ICMP header cut short", changed([](auto& d) { d.resize(27), d[3] = 27; })},
        {"total length beyond what arrived", changed([](auto& d) { d[3] += 1; })},
        {"total length below the headers", changed([](auto& d) { d[3] = 24; })},
        {"header length below five words", changed([](auto& d) { d[0] = 0x44; })},
        {"header length beyond the datagram", changed([](auto& d) { d[0] = 0x4F; })},
        {"IPv6", changed([](auto& d) { d[0] = 0x65; })},
        {"not ICMP", changed([](auto& d) { d[9] = 17; })},
        {"first fragment", changed([](auto& d) { d[6] = 0x20; })},
        {"later fragment", changed([](auto& d) { d[7] = 0x10; })},
        {"echo reply", resummed([](auto& d) { d[20] = 0; })},
        {"destination unreachable", resummed([](auto& d) { d[20] = 3; })},
        {"timestamp request", resummed([](auto& d) { d[20] = 13; })},
        {"nonzero code", resummed([](auto& d) { d[21] = 1; })},
        {"bad checksum", changed([](auto& d) { d[22] ^= 0x40; })},
        {"data changed after the checksum", changed([](auto& d) { d[30] ^= 1; })},
    };
    for (const Case& c : cases) EXPECT_FALSE(ParseEchoRequest(c.datagram)) << c.what;

    // Bytes beyond the total length (padding) are not part of the message.
    std::vector<uint8_t> padded = good;
    padded.insert(padded.end(), {0, 0, 0});
    std::optional<EchoRequest> request = ParseEchoRequest(padded);
    ASSERT_TRUE(request);
    EXPECT_EQ(request->DataSize(), 6u);
    // The don't-fragment flag is a whole datagram.
    EXPECT_TRUE(ParseEchoRequest(changed([](auto& d) { d[6] = 0x40; })));
}

TEST(ReplyQueue, RepliesLeaveInDueOrderAndWithinBounds) {
    ReplyQueue queue(100, 1 << 20);
    // A burst with mixed delays, as 30 probes or an fping round send it.
    const int64_t delays[] = {150, 0, 90, 90, 20, 65535, 1, 90, 0, 500};
    for (int i = 0; i < 10; ++i)
        ASSERT_TRUE(queue.Push(1000 + delays[i], 1000, static_cast<uint32_t>(i), std::vector<uint8_t>(10)));
    EXPECT_EQ(queue.NextDue(), 1000);

    EXPECT_FALSE(queue.PopDue(999));
    std::vector<uint32_t> order;
    for (int64_t now : {1000, 1000, 1089, 1090, 2000, 70000}) {
        while (std::optional<PendingReply> r = queue.PopDue(now)) {
            EXPECT_LE(r->due, now);
            order.push_back(r->to);
        }
    }
    // Equal due times keep their arrival order (2, 3, 7 at 90).
    EXPECT_EQ(order, (std::vector<uint32_t>{1, 8, 6, 4, 2, 3, 7, 0, 9, 5}));
    EXPECT_TRUE(queue.Empty());

    // A larger burst due at one time (an fping round to one host) still leaves in arrival order.
    for (uint32_t i = 0; i < 40; ++i) ASSERT_TRUE(queue.Push(i % 3 == 0 ? 500 : 300, 0, i, {}));
    std::vector<uint32_t> at300, at500;
    while (std::optional<PendingReply> r = queue.PopDue(500)) (r->due == 300 ? at300 : at500).push_back(r->to);
    EXPECT_TRUE(std::is_sorted(at300.begin(), at300.end()));
    EXPECT_TRUE(std::is_sorted(at500.begin(), at500.end()));
    EXPECT_EQ(at300.size() + at500.size(), 40u);

    ReplyQueue few(2, 100);
    EXPECT_TRUE(few.Push(1, 0, 0, std::vector<uint8_t>(40)));
    EXPECT_TRUE(few.Push(1, 0, 0, std::vector<uint8_t>(60)));
    EXPECT_FALSE(few.Push(1, 0, 0, std::vector<uint8_t>(1))) << "count bound";
    ASSERT_TRUE(few.PopDue(1));
    EXPECT_FALSE(few.Push(1, 0, 0, std::vector<uint8_t>(41))) << "byte bound";
    EXPECT_TRUE(few.Push(1, 0, 0, std::vector<uint8_t>(40)));
    ASSERT_TRUE(few.PopDue(1));
    ASSERT_TRUE(few.PopDue(1));
    EXPECT_TRUE(few.Push(1, 0, 0, std::vector<uint8_t>(100))) << "popped replies give their bytes back";
}

TEST(ReplyQueue, ArrivalComesFromTheKernelStampWhenItIsSane) {
    constexpr int64_t ms = 1'000'000;
    const int64_t mono = 5'000 * ms, real = 1'700'000'000'000 * ms;
    EXPECT_EQ(ArrivalOnMonotonic(mono, real, real - 7 * ms), mono - 7 * ms);
    EXPECT_EQ(ArrivalOnMonotonic(mono, real, real), mono);
    EXPECT_EQ(ArrivalOnMonotonic(mono, real, std::nullopt), mono);
    EXPECT_EQ(ArrivalOnMonotonic(mono, real, real + 3 * ms), mono) << "stamp from the future";
    EXPECT_EQ(ArrivalOnMonotonic(mono, real, real - 3'600'000 * ms), mono) << "clock stepped";
}

}  // namespace
