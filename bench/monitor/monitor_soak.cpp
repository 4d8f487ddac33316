// The soak: passes started back to back by real clicks on 开始 (each click starts one at
// once), over the lab hosts in DIRECTORY's host files. Prints the runtime heap's bytes and
// blocks in use, the handle count and the thread count at the start, every 100 passes and
// at the end: all of them should stay flat.
//   monitor_soak.exe DIRECTORY PASSES
// Or one click on 开始 with INTERVAL seconds (5 unless given) in the box, the monitor's own
// timer starting every further pass for SECONDS; the same figures every 5 minutes.
//   monitor_soak.exe DIRECTORY --for SECONDS [INTERVAL]
// Or PASSES passes with the pointer resting on the first inside row, so its tip stays open
// and every pass redraws it: each pass is started as the timer starts one, which leaves the
// pointer where it is. Also says whether the tip showed at the start and the end.
//   monitor_soak.exe DIRECTORY PASSES --tip
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "bench/monitor/lab_program.h"
#include "runtime/heap.h"
#include "main_window_units.h"
#include "toolbox/event_handlers.h"
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

// The working set: Wine reads it from the process's resident size, where its private bytes
// read 0.
size_t WorkingSetBytes() {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.WorkingSetSize;
}

void Report(const char* when, int passes) {
    DWORD handles = ProcessHandleCount();
    std::printf("%-6s passes %5d  heap %8lld bytes in %6lld blocks  handles %5lu  threads %3lu  working set %6zu KiB\n",
                when, passes, static_cast<long long>(LiveByteCount()), static_cast<long long>(LiveBlockCount()),
                handles, ProcessThreadCount(), WorkingSetBytes() / 1024);
    std::fflush(stdout);
}

// The row tip when it shows, and its text's second line ("最近N次：...").
void ReportTip(const char* when) {
    HWND tip = FindWindowW(L"MgRowTip", nullptr);
    wchar_t text[1024] = {};
    if (tip && IsWindowVisible(tip)) GetWindowTextW(tip, text, 1024);
    const wchar_t* second = wcsstr(text, L"\r\n");
    const wchar_t* end = second ? wcsstr(second + 2, L"\r\n") : nullptr;
    char shown[256] = {};
    if (second && end)
        WideCharToMultiByte(CP_UTF8, 0, second + 2, static_cast<int>(end - second - 2), shown, sizeof shown - 1,
                            nullptr, nullptr);
    std::printf("%-6s tip %s %s\n", when, tip && IsWindowVisible(tip) ? "shown" : "not shown", shown);
    std::fflush(stdout);
}

// Rests the pointer on the centre of `row`, arriving from beside it so the list sees a move.
void RestOnRow(HWND list, int row) {
    RECT r = {};
    ListView_GetItemRect(list, row, &r, LVIR_BOUNDS);
    POINT p = CentreOf(list, r);
    SetCursorPos(p.x - 4, p.y);
    PumpFor(50);
    SetCursorPos(p.x, p.y);
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = MOUSEEVENTF_MOVE;  // a move of nothing: the list is told where the pointer is
    SendInput(1, &in, sizeof in);
    PumpFor(1000);  // the hover time and the tip drawn
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3 || (std::strcmp(argv[2], "--for") == 0 && argc < 4)) {
        std::fprintf(stderr, "usage: monitor_soak DIRECTORY PASSES [--tip] | DIRECTORY --for SECONDS [INTERVAL]\n");
        return 2;
    }
    const bool timed = std::strcmp(argv[2], "--for") == 0;
    const bool tip = !timed && argc > 3 && std::strcmp(argv[3], "--tip") == 0;
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
        if (tip)
            OnMonitorTimer();
        else
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
    HWND inside = HandleOf(units::疆内超级列表框);
    onePass();  // the sockets and ICMP libraries loaded, the first rows written
    if (tip) {
        RestOnRow(inside, 0);
        ReportTip("start");
    }
    Report("start", 1);
    for (int pass = 2; pass <= passes; ++pass) {
        onePass();
        if (pass % 100 == 0 && pass != passes) Report("", pass);
    }
    rt::Set(units::时钟2, rt::Timer::Interval, 0);
    PumpFor(1500);  // the last workers gone
    if (tip) ReportTip("end");
    Report("end", passes);
    ExitProcess(0);
}
