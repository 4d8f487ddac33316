// The soak: passes started back to back by real clicks on 开始 (each click starts one at
// once), over the lab hosts in DIRECTORY's host files. Prints the runtime heap's bytes and
// blocks in use, the handle count and the thread count at the start, every 100 passes and
// at the end: all of them should stay flat.
//   monitor_soak.exe DIRECTORY PASSES
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>

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
    if (argc < 3) {
        std::fprintf(stderr, "usage: monitor_soak DIRECTORY PASSES\n");
        return 2;
    }
    const int passes = std::atoi(argv[2]);
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
