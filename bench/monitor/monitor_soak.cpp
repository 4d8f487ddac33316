// The soak: passes started back to back by real clicks on 开始 (each click starts one at
// once), over the lab hosts in DIRECTORY's host files. Prints the runtime heap's bytes and
// blocks in use, the handle count and the thread count at the start, every 100 passes and
// at the end: all of them should stay flat.
//   monitor_soak.exe DIRECTORY PASSES
// Or one click on 开始 with INTERVAL seconds (5 unless given) in the box, the monitor's own
// timer starting every further pass for SECONDS; the same figures every 5 minutes.
//   monitor_soak.exe DIRECTORY --for SECONDS [INTERVAL]
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "bench/monitor/lab_program.h"
#include "runtime/heap.h"
#include "main_window_units.h"
#include "toolbox/rt.h"
#include "toolbox/tool_globals.h"

namespace {

HWND HandleOf(rt::AnyUnit unit) { return reinterpret_cast<HWND>(rt::GetWindowHandle(unit)); }

void ClickScreen(POINT p) {
    SetCursorPos(p.x, p.y);
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, in, sizeof in[0]);
}

POINT CentreOf(HWND window, RECT r) {
    POINT p = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(window, &p);
    return p;
}

void Report(const char* when, int passes) {
    DWORD handles = ProcessHandleCount();
    std::printf("%-6s passes %5d  heap %8lld bytes in %6lld blocks  handles %5lu  threads %3lu\n", when, passes,
                static_cast<long long>(LiveByteCount()), static_cast<long long>(LiveBlockCount()), handles,
                ProcessThreadCount());
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3 || (std::strcmp(argv[2], "--for") == 0 && argc < 4)) {
        std::fprintf(stderr, "usage: monitor_soak DIRECTORY PASSES | DIRECTORY --for SECONDS [INTERVAL]\n");
        return 2;
    }
    const bool timed = std::strcmp(argv[2], "--for") == 0;
    const int passes = timed ? 0 : std::atoi(argv[2]);
    std::printf("rows %d\n", StartToolsIn(argv[1]));
    HWND main = HandleOf(units::主窗口);
    SetForegroundWindow(main);
    HWND tabs = HandleOf(units::茗柜);
    RECT tab;
    TabCtrl_GetItemRect(tabs, 1, &tab);
    ClickScreen(CentreOf(tabs, tab));
    PumpFor(300);
    HWND start = HandleOf(units::开始);
    RECT button;
    GetClientRect(start, &button);

    auto onePass = [&] {
        ClickScreen(CentreOf(start, button));
        DWORD t0 = GetTickCount();
        while (g_tools.probesInFlight.load() == 0 && GetTickCount() - t0 < 2000) PumpFor(1);
        while (g_tools.probesInFlight.load() != 0) PumpFor(1);
        PumpFor(20);
    };
    if (timed) {
        rt::Set(units::编辑框秒, rt::EditBox::Content, argc > 4 ? argv[4] : "5");
        onePass();  // the first pass, at once; the timer starts the others
        Report("start", 1);
        const DWORD seconds = static_cast<DWORD>(std::atoi(argv[3]));
        const DWORD t0 = GetTickCount();
        int counted = 1;
        bool running = false;
        DWORD nextReport = 300;
        while (GetTickCount() - t0 < seconds * 1000) {
            PumpFor(1);
            bool nowRunning = g_tools.probesInFlight.load() != 0;
            if (nowRunning && !running) ++counted;
            running = nowRunning;
            if ((GetTickCount() - t0) / 1000 >= nextReport) {
                Report("", counted);
                nextReport += 300;
            }
        }
        rt::Set(units::时钟2, rt::Timer::Interval, 0);
        while (g_tools.probesInFlight.load() != 0) PumpFor(1);
        PumpFor(1500);  // the last workers gone
        Report("end", counted);
        ExitProcess(0);
    }
    onePass();  // the sockets and ICMP libraries loaded, the first rows written
    Report("start", 1);
    for (int pass = 2; pass <= passes; ++pass) {
        onePass();
        if (pass % 100 == 0 && pass != passes) Report("", pass);
    }
    rt::Set(units::时钟2, rt::Timer::Interval, 0);
    PumpFor(1500);  // the last workers gone
    Report("end", passes);
    ExitProcess(0);
}
