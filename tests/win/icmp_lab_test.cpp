// The test lab seen through the platform's own ICMP functions: the hosts that tests and
// benchmarks of the network monitor probe answer at once, after their chosen delay, or never.
// Needs tools/lab.sh (every Windows test runs inside it).
#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>
#include <icmpapi.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "tests/win/echo_timing.h"

namespace {

// The replies are read through the platform's own structure; its layout differs by pointer width.
#ifdef _WIN64
static_assert(sizeof(ICMP_ECHO_REPLY) == 40);
#else
static_assert(sizeof(ICMP_ECHO_REPLY) == 28);
#endif

constexpr DWORD kTimeoutMs = 500;

IPAddr Address(uint8_t a, uint8_t b, uint8_t c, uint8_t d) {
    uint8_t bytes[4] = {a, b, c, d};  // network byte order in memory
    IPAddr address;
    std::memcpy(&address, bytes, 4);
    return address;
}

std::string Dotted(IPAddr address) {
    const auto* b = reinterpret_cast<const uint8_t*>(&address);
    return std::to_string(b[0]) + "." + std::to_string(b[1]) + "." + std::to_string(b[2]) + "." +
           std::to_string(b[3]);
}

// Room for the reply, the echoed data and an ICMP error's 8 bytes, with some to spare.
struct ReplyBuffer {
    alignas(ICMP_ECHO_REPLY) unsigned char bytes[sizeof(ICMP_ECHO_REPLY) + 64];
    const ICMP_ECHO_REPLY& reply() const { return *reinterpret_cast<const ICMP_ECHO_REPLY*>(bytes); }
};

struct Echo {
    IPAddr target = 0;
    unsigned char data[6] = {};
    ReplyBuffer buffer{};
    DWORD replies = 0;
    DWORD error = 0;
    DWORD elapsedMs = 0;
};

// One synchronous echo request on a handle of its own, as the program's probe sends it.
void SendEcho(Echo& echo, DWORD timeoutMs = kTimeoutMs) {
    HANDLE icmp = IcmpCreateFile();
    ASSERT_NE(icmp, INVALID_HANDLE_VALUE);
    ULONGLONG start = GetTickCount64();
    echo.replies = IcmpSendEcho(icmp, echo.target, echo.data, sizeof echo.data, nullptr, echo.buffer.bytes,
                                sizeof echo.buffer.bytes, timeoutMs);
    echo.error = echo.replies ? 0 : GetLastError();
    echo.elapsedMs = static_cast<DWORD>(GetTickCount64() - start);
    IcmpCloseHandle(icmp);
}

void SetData(Echo& echo, uint8_t tag1, uint8_t tag2) {
    const unsigned char data[6] = {'m', 'g', tag1, tag2, 0xFF, 0x00};
    std::memcpy(echo.data, data, sizeof data);
}

// A reply that came back from the target with the data it was sent, not before its delay.
void ExpectAnswered(const Echo& echo, DWORD delayMs) {
    SCOPED_TRACE(Dotted(echo.target));
    ASSERT_EQ(echo.replies, 1u) << "error " << echo.error;
    const ICMP_ECHO_REPLY& r = echo.buffer.reply();
    EXPECT_EQ(r.Status, static_cast<ULONG>(IP_SUCCESS));
    EXPECT_EQ(Dotted(r.Address), Dotted(echo.target));
    ASSERT_EQ(r.DataSize, sizeof echo.data);
    ASSERT_NE(r.Data, nullptr);
    EXPECT_EQ(std::memcmp(r.Data, echo.data, sizeof echo.data), 0) << "echoed data differs";
    echo_timing::ExpectNotEarly({Dotted(echo.target), delayMs, r.RoundTripTime});
}

echo_timing::Timed TimedOf(const Echo& echo, DWORD delayMs) {
    return {Dotted(echo.target), delayMs, echo.replies ? echo.buffer.reply().RoundTripTime : 0};
}

TEST(IcmpLab, HostsAnswerAfterTheirDelayOrNever) {
    struct Host {
        IPAddr target;
        DWORD delayMs;
    };
    const Host hosts[] = {{Address(127, 0, 0, 1), 0}, {Address(127, 0, 3, 7), 0},
                          {Address(127, 1, 0, 90), 90}, {Address(127, 1, 0, 150), 150},
                          {Address(127, 1, 1, 44), 300}};
    std::vector<echo_timing::Timed> timed;
    for (const Host& host : hosts) {
        Echo echo;
        echo.target = host.target;
        SetData(echo, 'a', 'z');
        SendEcho(echo);
        ExpectAnswered(echo, host.delayMs);
        timed.push_back(TimedOf(echo, host.delayMs));
        std::printf("%s: RoundTripTime %lu ms\n", Dotted(host.target).c_str(), echo.buffer.reply().RoundTripTime);
    }
    echo_timing::ExpectDelayOrder(timed);

    // A silent host: nothing comes back, and the platform waited for the whole timeout, but no
    // longer: it gives up before a request to a host that answers after 1200 ms, sent beside it
    // with a longer timeout, is answered.
    Echo silent, late;
    silent.target = Address(127, 2, 0, 1);
    late.target = Address(127, 1, 4, 176);  // 1200 ms
    SetData(silent, 's', 's');
    SetData(late, 'l', 'l');
    std::atomic<int> ended{0};
    int silentEnded = 0, lateEnded = 0;
    std::thread lateThread([&] {
        SendEcho(late, 3000);
        lateEnded = ++ended;
    });
    SendEcho(silent);
    silentEnded = ++ended;
    lateThread.join();
    EXPECT_EQ(silent.replies, 0u);
    EXPECT_EQ(silent.error, static_cast<DWORD>(IP_REQ_TIMED_OUT));
    EXPECT_EQ(silent.buffer.reply().Status, static_cast<ULONG>(IP_REQ_TIMED_OUT));
    EXPECT_GE(silent.elapsedMs, kTimeoutMs - 50);
    EXPECT_EQ(silentEnded, 1) << "the timeout was not kept";
    EXPECT_EQ(lateEnded, 2);
    ExpectAnswered(late, 1200);
    std::printf("127.2.0.1: no reply after %lu ms\n", silent.elapsedMs);
}

// 15 workers with two requests in flight each (one waiting on an event, one synchronous):
// 30 requests at once, to delays that differ: each comes back, not before its own delay, and
// delays far apart keep their order.
TEST(IcmpLab, ConcurrentRequestsKeepTheirOwnDelays) {
    constexpr int kWorkers = 15;
    struct Work {
        Echo first, second;
        DWORD firstDelay = 0, secondDelay = 0;
        bool firstSent = false;
    };
    std::vector<Work> work(kWorkers);
    for (int i = 0; i < kWorkers; ++i) {
        work[i].firstDelay = 20 + 15 * i;                 // 20 .. 230 ms
        work[i].secondDelay = 250 - 15 * ((i * 7) % 15);  // the same range, in another order
        work[i].first.target = Address(127, 1, 0, static_cast<uint8_t>(work[i].firstDelay));
        work[i].second.target = Address(127, 1, 0, static_cast<uint8_t>(work[i].secondDelay));
        SetData(work[i].first, static_cast<uint8_t>(i), 1);
        SetData(work[i].second, static_cast<uint8_t>(i), 2);
    }

    HANDLE go = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(go, nullptr);
    std::vector<std::thread> threads;
    for (Work& w : work) {
        threads.emplace_back([&w, go] {
            WaitForSingleObject(go, INFINITE);
            HANDLE icmp = IcmpCreateFile();
            HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
            if (icmp == INVALID_HANDLE_VALUE || !done) return;
            DWORD sent = IcmpSendEcho2(icmp, done, nullptr, nullptr, w.first.target, w.first.data,
                                       sizeof w.first.data, nullptr, w.first.buffer.bytes,
                                       sizeof w.first.buffer.bytes, kTimeoutMs);
            w.firstSent = sent != 0 || GetLastError() == ERROR_IO_PENDING;
            SendEcho(w.second);
            if (w.firstSent && WaitForSingleObject(done, 30000) == WAIT_OBJECT_0)
                w.first.replies = IcmpParseReplies(w.first.buffer.bytes, sizeof w.first.buffer.bytes);
            CloseHandle(done);
            IcmpCloseHandle(icmp);
        });
    }
    SetEvent(go);
    for (std::thread& t : threads) t.join();
    CloseHandle(go);

    std::vector<echo_timing::Timed> timed;
    for (int i = 0; i < kWorkers; ++i) {
        SCOPED_TRACE(testing::Message() << "worker " << i);
        EXPECT_TRUE(work[i].firstSent);
        ExpectAnswered(work[i].first, work[i].firstDelay);
        ExpectAnswered(work[i].second, work[i].secondDelay);
        timed.push_back(TimedOf(work[i].first, work[i].firstDelay));
        timed.push_back(TimedOf(work[i].second, work[i].secondDelay));
        std::printf("worker %2d: %3lu ms -> %3lu, %3lu ms -> %3lu\n", i, work[i].firstDelay,
                    work[i].first.buffer.reply().RoundTripTime, work[i].secondDelay,
                    work[i].second.buffer.reply().RoundTripTime);
    }
    echo_timing::ExpectDelayOrder(timed);
}

}  // namespace
