// The ICMP probe through the program's declared DLL commands, against the lab's hosts: an
// echo by dotted address and by name, a name that does not resolve, a silent host, and the
// sockets' start-up and release balanced on every way out.
#include <gtest/gtest.h>

#include <winsock2.h>
#include <windows.h>

#include <atomic>
#include <thread>

#include "runtime/entries.h"
#include "runtime/program_descriptor.h"
#include "tests/win/echo_timing.h"
#include "toolbox/network_monitor.h"

extern const ProgramDescriptor kProgramDescriptor;

namespace {

// True while no start-up of the sockets is outstanding in this process: a release without
// one fails with WSANOTINITIALISED.
bool SocketsReleased() { return WSACleanup() == SOCKET_ERROR && WSAGetLastError() == WSANOTINITIALISED; }

bool Untouched(const rt::ProbeReply& r) {
    return r.address == 0 && r.status == 0 && r.roundTripTime == 0 && r.dataSize == 0 && r.DataText().empty();
}

class Probe : public ::testing::Test {
protected:
    void SetUp() override {
        UseProgramDescriptor(&kProgramDescriptor);
        RtEntries().otherHelp(kServiceInitialise, 0, 0, 0, 0, 0, 0);
        ASSERT_TRUE(SocketsReleased());
    }
};

}  // namespace

TEST_F(Probe, EchoesByAddressAndByNameAndFailuresLeaveTheReplyAlone) {
    // Loopback in dotted form: one echo of "aaaaaa", status 0, at once.
    {
        rt::ProbeReply reply;
        EXPECT_EQ(ProbeHost("127.0.0.1", "aaaaaa", reply), 0);
        EXPECT_EQ(reply.status, 0);
        EXPECT_EQ(reply.dataSize, 6);
        EXPECT_EQ(reply.DataText(), "aaaaaa");
        EXPECT_EQ(reply.address, 0x0100007Fu);
    }
    // A lab host with a delay: the time comes back in the reply.
    {
        rt::ProbeReply reply;
        EXPECT_EQ(ProbeHost("127.1.0.60", "aaaaaa", reply), 0);
        echo_timing::ExpectNotEarly({"127.1.0.60", 60, reply.roundTripTime});
    }
    // A name: resolved through the HOSTENT copy and the first address read through it.
    {
        rt::ProbeReply reply;
        EXPECT_EQ(ProbeHost("localhost", "aaaaaa", reply), 0);
        EXPECT_EQ(reply.DataText(), "aaaaaa");
        EXPECT_EQ(reply.address & 0xFF, 127u);
    }
    // A name that does not resolve: -1 and the reply as it was.
    {
        rt::ProbeReply reply;
        EXPECT_EQ(ProbeHost("no-such-host.invalid", "aaaaaa", reply), -1);
        EXPECT_TRUE(Untouched(reply));
    }
    // 255.255.255.255 cannot be told from "no address".
    {
        rt::ProbeReply reply;
        EXPECT_EQ(ProbeHost("255.255.255.255", "aaaaaa", reply), -1);
        EXPECT_TRUE(Untouched(reply));
    }
    // A silent host: back after the 500 ms time-out at the earliest, without the data.
    {
        rt::ProbeReply reply;
        DWORD start = GetTickCount();
        EXPECT_NE(ProbeHost("127.2.0.1", "aaaaaa", reply), 0);
        EXPECT_GE(GetTickCount() - start, 450u);
        EXPECT_NE(reply.DataText(), "aaaaaa");
    }
    // A shorter time-out is kept: a probe with 100 ms ends before one with the default that
    // started beside it.
    {
        std::atomic<int> ended{0};
        int quickEnded = 0, slowEnded = 0;
        rt::ProbeReply quickReply, slowReply;
        std::thread slow([&] {
            ProbeHost("127.2.0.2", "aaaaaa", slowReply);
            slowEnded = ++ended;
        });
        std::thread quick([&] {
            ProbeHost("127.2.0.1", "aaaaaa", quickReply, 100);
            quickEnded = ++ended;
        });
        quick.join();
        slow.join();
        EXPECT_EQ(quickEnded, 1) << "the 100 ms time-out did not end the wait before the default one";
        EXPECT_EQ(slowEnded, 2);
    }
    // Every way out released what it started.
    EXPECT_TRUE(SocketsReleased());
}

TEST_F(Probe, ManyProbesAtOnceEachGetTheirOwnTime) {
    struct Job {
        const char* host;
        uint32_t delay;
        rt::ProbeReply reply = {};
        int32_t result = 99;
    };
    Job jobs[] = {{"127.1.0.10", 10}, {"127.1.0.40", 40}, {"127.1.0.90", 90}, {"127.1.0.150", 150},
                  {"127.0.0.1", 0},   {"127.1.0.20", 20}, {"127.1.0.70", 70}, {"127.1.0.120", 120}};
    struct Worker {
        static DWORD WINAPI Run(void* p) {  // stdcall, as the 32-bit platform calls it
            auto* job = static_cast<Job*>(p);
            job->result = ProbeHost(job->host, "aaaaaa", job->reply);
            return 0;
        }
    };
    std::vector<HANDLE> threads;
    for (Job& j : jobs) threads.push_back(CreateThread(nullptr, 0, &Worker::Run, &j, 0, nullptr));
    // Each probe ends by its own timeout; the test's time limit is the only bound needed.
    WaitForMultipleObjects(static_cast<DWORD>(threads.size()), threads.data(), TRUE, INFINITE);
    for (HANDLE h : threads) CloseHandle(h);
    std::vector<echo_timing::Timed> timed;
    for (const Job& j : jobs) {
        SCOPED_TRACE(j.host);
        EXPECT_EQ(j.result, 0);
        timed.push_back({j.host, j.delay, j.reply.roundTripTime});
        echo_timing::ExpectNotEarly(timed.back());
        EXPECT_EQ(j.reply.DataText(), "aaaaaa");
    }
    echo_timing::ExpectDelayOrder(timed);
    EXPECT_TRUE(SocketsReleased());
}
