// icmp_responder: the hosts of the test lab. Inside a network namespace whose kernel
// ignores echo requests, it answers them itself on a raw ICMP socket, after the delay
// that the destination address chooses (reply_delay.h), or never.
//
//   icmp_responder [--log] [--ready-file PATH]
//
// --log         one line per request and reply on standard error, with times
// --ready-file  created (holding the pid) once the socket is open and requests are answered
//
// It ends on SIGTERM, SIGINT or SIGHUP, and when the process that started it ends.
#include <fcntl.h>
#include <linux/icmp.h>
#include <netinet/in.h>
#include <poll.h>
#include <sched.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/signalfd.h>
#include <sys/socket.h>
#include <sys/timerfd.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tools/icmp_responder/echo_packet.h"
#include "tools/icmp_responder/reply_delay.h"
#include "tools/icmp_responder/reply_queue.h"

namespace {

// fping bursts and 30 probes in flight stay far below these.
constexpr size_t kMaxPendingReplies = 65536;
constexpr size_t kMaxPendingBytes = 64u << 20;
constexpr int kReceiveBuffer = 4 << 20;

struct Options {
    bool log = false;
    std::string readyFile;
};

int64_t Now(clockid_t clock) {
    timespec ts;
    clock_gettime(clock, &ts);
    return int64_t{ts.tv_sec} * 1'000'000'000 + ts.tv_nsec;
}

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "icmp_responder: %s: %s\n", what, std::strerror(errno));
    std::exit(1);
}

bool ParseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--log") {
            options.log = true;
        } else if (arg == "--ready-file" && i + 1 < argc) {
            options.readyFile = argv[++i];
        } else {
            std::fprintf(stderr, "usage: icmp_responder [--log] [--ready-file PATH]\n");
            return false;
        }
    }
    return true;
}

class Responder {
public:
    explicit Responder(const Options& options) : options_(options), start_(Now(CLOCK_MONOTONIC)) {}

    void Open();
    void Run();

private:
    void ReceiveAll();
    void Answer(const EchoRequest& request, int64_t arrival);
    void SendDue();
    void ArmTimer();
    void Send(const PendingReply& reply);
    double Seconds(int64_t t) const { return static_cast<double>(t - start_) / 1e9; }

    const Options& options_;
    int64_t start_;
    int socket_ = -1;
    int timer_ = -1;
    int signals_ = -1;
    ReplyQueue queue_{kMaxPendingReplies, kMaxPendingBytes};
    ReplyPlan plan_;
    uint8_t buffer_[65536];
    unsigned long requests_ = 0, replies_ = 0, silent_ = 0, ignored_ = 0, dropped_ = 0;
};

void Responder::Open() {
    socket_ = socket(AF_INET, SOCK_RAW | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_ICMP);
    if (socket_ < 0) Fail("raw ICMP socket (needs root)");
    int on = 1;
    // Replies carry an IP header of our own, so that they come from the address that was asked.
    if (setsockopt(socket_, IPPROTO_IP, IP_HDRINCL, &on, sizeof on) != 0) Fail("IP_HDRINCL");
    if (setsockopt(socket_, SOL_SOCKET, SO_TIMESTAMPNS, &on, sizeof on) != 0) Fail("SO_TIMESTAMPNS");
    // Only echo requests wake the loop; the parser still checks every datagram.
    icmp_filter filter{~(1u << ICMP_ECHO)};
    setsockopt(socket_, SOL_RAW, ICMP_FILTER, &filter, sizeof filter);
    if (setsockopt(socket_, SOL_SOCKET, SO_RCVBUFFORCE, &kReceiveBuffer, sizeof kReceiveBuffer) != 0)
        setsockopt(socket_, SOL_SOCKET, SO_RCVBUF, &kReceiveBuffer, sizeof kReceiveBuffer);

    timer_ = timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    if (timer_ < 0) Fail("timerfd");

    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGHUP);
    if (sigprocmask(SIG_BLOCK, &set, nullptr) != 0) Fail("sigprocmask");
    signals_ = signalfd(-1, &set, SFD_NONBLOCK | SFD_CLOEXEC);
    if (signals_ < 0) Fail("signalfd");

    // Timer wake-ups to the microsecond rather than the default 50 us slack, and ahead of
    // the builds that share the machine when the system allows it (harmless if refused).
    prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
    sched_param priority{};
    priority.sched_priority = 1;
    if (sched_setscheduler(0, SCHED_FIFO, &priority) != 0 && options_.log)
        std::fprintf(stderr, "icmp_responder: no real-time priority (%s); timing may suffer under load\n",
                     std::strerror(errno));
}

void Responder::Run() {
    if (!options_.readyFile.empty()) {
        // Written whole, then renamed: whoever waits never sees half a file.
        std::string temporary = options_.readyFile + ".tmp";
        FILE* f = std::fopen(temporary.c_str(), "w");
        if (!f) Fail("ready file");
        std::fprintf(f, "%d\n", static_cast<int>(getpid()));
        if (std::fclose(f) != 0 || std::rename(temporary.c_str(), options_.readyFile.c_str()) != 0)
            Fail("ready file");
    }
    if (options_.log) std::fprintf(stderr, "%10.6f ready\n", 0.0);

    pollfd fds[3] = {{socket_, POLLIN, 0}, {timer_, POLLIN, 0}, {signals_, POLLIN, 0}};
    for (;;) {
        if (poll(fds, 3, -1) < 0) {
            if (errno == EINTR) continue;
            Fail("poll");
        }
        if (fds[2].revents) break;
        if (fds[1].revents) {
            uint64_t expirations;
            [[maybe_unused]] ssize_t n = read(timer_, &expirations, sizeof expirations);
        }
        if (fds[0].revents) ReceiveAll();
        SendDue();
        ArmTimer();
    }
    if (options_.log)
        std::fprintf(stderr,
                     "%10.6f stopped: %lu requests, %lu replies, %lu silent, %lu ignored, %lu dropped, %zu pending\n",
                     Seconds(Now(CLOCK_MONOTONIC)), requests_, replies_, silent_, ignored_, dropped_,
                     queue_.Size());
}

void Responder::ReceiveAll() {
    for (;;) {
        alignas(cmsghdr) char control[CMSG_SPACE(sizeof(timespec))];
        iovec io{buffer_, sizeof buffer_};
        msghdr message{};
        message.msg_iov = &io;
        message.msg_iovlen = 1;
        message.msg_control = control;
        message.msg_controllen = sizeof control;
        ssize_t size = recvmsg(socket_, &message, 0);
        if (size < 0) {
            if (errno == EINTR) continue;
            if (errno != EAGAIN && errno != EWOULDBLOCK && options_.log)
                std::fprintf(stderr, "icmp_responder: receive: %s\n", std::strerror(errno));
            return;
        }
        int64_t nowMonotonic = Now(CLOCK_MONOTONIC);
        int64_t nowRealtime = Now(CLOCK_REALTIME);
        std::optional<int64_t> stamp;
        for (cmsghdr* c = CMSG_FIRSTHDR(&message); c; c = CMSG_NXTHDR(&message, c)) {
            if (c->cmsg_level == SOL_SOCKET && c->cmsg_type == SCM_TIMESTAMPNS) {
                timespec ts;
                std::memcpy(&ts, CMSG_DATA(c), sizeof ts);
                stamp = int64_t{ts.tv_sec} * 1'000'000'000 + ts.tv_nsec;
            }
        }
        int64_t arrival = ArrivalOnMonotonic(nowMonotonic, nowRealtime, stamp);
        std::optional<EchoRequest> request;
        if (!(message.msg_flags & MSG_TRUNC))
            request = ParseEchoRequest({buffer_, static_cast<size_t>(size)});
        if (!request) {
            ++ignored_;
            if (options_.log)
                std::fprintf(stderr, "%10.6f ignored %zd bytes: not an echo request\n", Seconds(arrival), size);
            continue;
        }
        Answer(*request, arrival);
    }
}

void Responder::Answer(const EchoRequest& request, int64_t arrival) {
    ++requests_;
    std::optional<uint32_t> delay = plan_.Next(request.destination);
    if (options_.log) {
        std::fprintf(stderr, "%10.6f request %s > %s id %u seq %u data %zu: ", Seconds(arrival),
                     Dotted(request.source).text, Dotted(request.destination).text, request.identifier,
                     request.sequence, request.DataSize());
        if (delay)
            std::fprintf(stderr, "reply in %u ms\n", *delay);
        else
            std::fprintf(stderr, "silent\n");
    }
    if (!delay) {
        ++silent_;
        return;
    }
    int64_t due = arrival + int64_t{*delay} * 1'000'000;
    if (!queue_.Push(due, arrival, request.source, MakeEchoReply(request))) {
        ++dropped_;
        if (options_.log) std::fprintf(stderr, "icmp_responder: too many replies pending; one dropped\n");
        return;
    }
    // An immediate answer does not wait for the rest of a burst to be read.
    if (*delay == 0) SendDue();
}

void Responder::SendDue() {
    int64_t now = Now(CLOCK_MONOTONIC);
    while (std::optional<PendingReply> reply = queue_.PopDue(now)) Send(*reply);
}

void Responder::Send(const PendingReply& reply) {
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = htonl(reply.to);
    ssize_t sent = sendto(socket_, reply.datagram.data(), reply.datagram.size(), 0,
                          reinterpret_cast<const sockaddr*>(&to), sizeof to);
    int64_t now = Now(CLOCK_MONOTONIC);
    if (sent < 0) {
        ++dropped_;
        if (options_.log) std::fprintf(stderr, "icmp_responder: send: %s\n", std::strerror(errno));
        return;
    }
    ++replies_;
    if (options_.log) {
        const uint8_t* p = reply.datagram.data();
        std::fprintf(stderr, "%10.6f reply   %u.%u.%u.%u > %s id %u seq %u after %.3f ms (%+.3f ms late)\n",
                     Seconds(now), p[12], p[13], p[14], p[15], Dotted(reply.to).text, p[24] << 8 | p[25],
                     p[26] << 8 | p[27], static_cast<double>(now - reply.arrival) / 1e6,
                     static_cast<double>(now - reply.due) / 1e6);
    }
}

void Responder::ArmTimer() {
    itimerspec when{};
    if (!queue_.Empty()) {
        int64_t due = queue_.NextDue();
        when.it_value.tv_sec = due / 1'000'000'000;
        when.it_value.tv_nsec = due % 1'000'000'000;
        // An all-zero time would disarm the timer instead of firing it.
        if (when.it_value.tv_sec == 0 && when.it_value.tv_nsec == 0) when.it_value.tv_nsec = 1;
    }
    if (timerfd_settime(timer_, TFD_TIMER_ABSTIME, &when, nullptr) != 0) Fail("timerfd_settime");
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options)) return 2;

    // A responder left behind would keep the lab's namespace alive: end with whoever started it.
    pid_t parent = getppid();
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != parent) return 0;

    static Responder responder(options);  // static: the receive buffer is large
    responder.Open();
    responder.Run();
    return 0;
}
