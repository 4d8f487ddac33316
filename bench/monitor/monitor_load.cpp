// The monitor of the real program under load, driven from outside in the lab; prints figures.
//   monitor_load.exe clicks [CLICKS [MS]]   CLICKS clicks on 开始 within MS (100, 2000) with 27
//                                           hosts: threads before, at most and after, the time
//                                           until the passes ended, boxes, the exit code
//   monitor_load.exe closes [ROUNDS]        the window closed during a pass ROUNDS times (50):
//                                           the exit codes
//   monitor_load.exe hosts [N]              N hosts in each list (500): the time the lists took
//                                           to load, one pass, the rows that show a result, and
//                                           the longest wait for the main window's answer to
//                                           WM_NULL sent again and again during the pass
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "tests/win/toolbox/monitor_load.h"

using namespace units;

namespace {

double NowMs() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// Waits for the threads to drop back to `before`, noting the most seen; the time taken.
double WaitForPassesToEnd(DWORD pid, DWORD before, DWORD* most, DWORD timeoutMs) {
    const double t0 = NowMs();
    *most = 0;
    WaitUntil(
        [&] {
            DWORD now = ThreadCountOf(pid);
            *most = std::max(*most, now);
            return now <= before;
        },
        timeoutMs);
    return NowMs() - t0;
}

int Clicks(int clicks, DWORD withinMs) {
    Toolbox::Options options;
    options.files = {{L"疆内.txt", HostList(LabHosts(6, 0, 40))}, {L"疆外.txt", HostList(LabHosts(21, 5, 90))}};
    Toolbox t(options);
    if (!t.started()) return std::puts("the program did not start"), 1;
    t.ShowPage(1);
    const DWORD before = ThreadCountOf(t.pid());
    const double t0 = NowMs();
    ClickRapidly(t, 开始, clicks, withinMs);
    const double clicked = NowMs() - t0;
    t.Click(停止);
    DWORD most = 0;
    const double ms = WaitForPassesToEnd(t.pid(), before, &most, 300000);
    const DWORD after = ThreadCountOf(t.pid());
    int shown = 0;
    for (int row = 0; row < 21; ++row) shown += t.Cell(疆外超级列表框, row, 2) != "...";
    const bool box = t.MessageBoxShowing();
    const DWORD code = t.Close();
    std::printf("%d clicks on the start button in %.0f ms, 27 hosts: threads %lu before, %lu at most, %lu after the passes "
                "(ended %.1f s after the clicks); outside rows with a time %d of 21; message box %s; exit code %lu\n",
                clicks, clicked, before, most, after, ms / 1000, shown, box ? "yes" : "no", code);
    return after <= before && !box && code == 0 ? 0 : 1;
}

int Closes(int rounds) {
    std::vector<std::pair<std::string, std::string>> inside, outside;
    for (int i = 0; i < 6; ++i) inside.push_back({"内" + std::to_string(i), i % 2 ? "127.2.0.1" : "127.1.0.150"});
    for (int i = 0; i < 21; ++i)
        outside.push_back({"外" + std::to_string(i), i % 3 ? "127.2.0." + std::to_string(i) : "127.1.0.90"});
    std::mt19937 random(20261210);
    std::map<DWORD, int> codes;
    for (int round = 0; round < rounds; ++round) {
        Toolbox::Options options;
        options.files = {{L"疆内.txt", HostList(inside)}, {L"疆外.txt", HostList(outside)}};
        Toolbox t(options);
        if (!t.started()) {
            ++codes[STILL_ACTIVE];
            continue;
        }
        t.ShowPage(1);
        t.Click(开始);
        Sleep(50 + random() % 700);  // the pass, its throttle or its last wave under way
        DWORD code = t.Close(20000);
        ++codes[code];
        if (code != 0) std::printf("round %d: exit code 0x%08lX\n", round, code);
        std::fflush(stdout);
    }
    std::printf("%d closes during a pass:", rounds);
    for (const auto& [code, n] : codes) std::printf("  exit code %lu: %d", code, n);
    std::printf("\n");
    return codes.size() == 1 && codes.count(0) ? 0 : 1;
}

int Hosts(int n) {
    // Inside hosts answer within 50 ms, outside ones after 5 to 150 ms: every row then shows a
    // time once probed, where a silent host would show what it showed before the pass.
    Toolbox::Options options;
    options.files = {{L"疆内.txt", HostList(LabHosts(n, 0, 50))}, {L"疆外.txt", HostList(LabHosts(n, 5, 146))}};
    options.waitForLists = false;
    const double t0 = NowMs();
    Toolbox t(options);
    if (!t.started()) return std::puts("the program did not start"), 1;
    const bool loaded = WaitUntil(
        [&] {
            return t.Rows(疆内超级列表框) == n && t.Rows(疆外超级列表框) == n && t.Rows(超级列表框1) == n &&
                   t.Rows(超级列表框2) == n;
        },
        300000);
    const double loadMs = NowMs() - t0;
    if (!loaded) return std::printf("the lists did not load: %d and %d rows\n", t.Rows(疆内超级列表框), t.Rows(疆外超级列表框)), 1;
    Sleep(500);  // the loader thread gone
    t.ShowPage(1);
    t.Click(编辑框秒);  // emptied by the click
    t.Type("3600");      // one pass now, the next in an hour
    const DWORD before = ThreadCountOf(t.pid());

    std::atomic<bool> measuring{true};
    std::vector<double> waits;
    int timeouts = 0;
    std::thread prober([&] {
        while (measuring.load()) {
            DWORD_PTR ignored;
            const double s = NowMs();
            if (!SendMessageTimeoutW(t.window(), WM_NULL, 0, 0, SMTO_NORMAL, 30000, &ignored)) ++timeouts;
            waits.push_back(NowMs() - s);
            Sleep(5);
        }
    });
    const double p0 = NowMs();
    t.Click(开始);
    DWORD most = 0;
    WaitForPassesToEnd(t.pid(), before, &most, 600000);
    const double passMs = NowMs() - p0;
    measuring = false;
    prober.join();

    int insideShown = 0, outsideShown = 0;
    for (int row = 0; row < n; ++row) {
        insideShown += t.Cell(疆内超级列表框, row, 2) != "...";
        outsideShown += t.Cell(疆外超级列表框, row, 2) != "...";
    }
    const DWORD code = t.Close(60000);
    std::sort(waits.begin(), waits.end());
    auto at = [&](double q) { return waits.empty() ? 0.0 : waits[static_cast<size_t>(q * (waits.size() - 1))]; };
    std::printf("%d hosts in each list: lists loaded in %.1f s; one pass of %d workers in %.1f s (threads %lu before, "
                "%lu at most); rows with a time: inside %d, outside %d of %d; exit code %lu\n",
                n, loadMs / 1000, n, passMs / 1000, before, most, insideShown, outsideShown, n, code);
    std::printf("WM_NULL sent to the main window during the pass: %zu times, wait median %.1f ms, 99%% %.1f ms, "
                "longest %.1f ms, %d timed out (30 s)\n",
                waits.size(), at(0.5), at(0.99), waits.empty() ? 0.0 : waits.back(), timeouts);
    return insideShown == n && outsideShown == n && code == 0 && timeouts == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    std::string mode = argc > 1 ? argv[1] : "";
    auto number = [&](int i, int otherwise) { return argc > i ? std::atoi(argv[i]) : otherwise; };
    if (mode == "clicks") return Clicks(number(2, 100), static_cast<DWORD>(number(3, 2000)));
    if (mode == "closes") return Closes(number(2, 50));
    if (mode == "hosts") return Hosts(number(2, 500));
    std::fprintf(stderr, "usage: monitor_load clicks [CLICKS [MS]] | closes [ROUNDS] | hosts [N]\n");
    return 2;
}
