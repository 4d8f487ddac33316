// One monitoring pass of the real tools on the real main window, timed: RunMonitorPass on a
// thread of its own while this thread keeps the window's message loop going (the workers
// write their rows through it). Prints, per pass, the wall time, the process's CPU time and
// the wineserver's CPU time, then where the pass's time went: one "phase" line per phase
// (runtime/phase_timing.h), its points in ms from the pass's start.
//   monitor_pass_bench.exe DIRECTORY PASSES [WINESERVER_PID]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "bench/monitor/lab_program.h"
#include "runtime/phase_timing.h"
#include "toolbox/network_monitor.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: monitor_pass_bench DIRECTORY PASSES [WINESERVER_PID]\n");
        return 2;
    }
    const int passes = std::atoi(argv[2]);
    const std::string wineserver = argc > 3 ? argv[3] : "";
    std::printf("rows %d\n", StartToolsIn(argv[1]));
    EnablePhaseTiming();

    for (int pass = 0; pass < passes; ++pass) {
        PumpFor(300);  // the previous pass's rows written, the window idle
        LARGE_INTEGER frequency, t0, t1;
        QueryPerformanceFrequency(&frequency);
        double cpu0 = ProcessCpuMs(), server0 = UnixProcessCpuMs(wineserver);
        ResetPhaseTiming();
        QueryPerformanceCounter(&t0);
        HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        std::thread runner([done] {
            RunMonitorPass(nullptr);
            SetEvent(done);
        });
        PumpUntil(done);
        QueryPerformanceCounter(&t1);
        runner.join();
        CloseHandle(done);
        double wall = static_cast<double>(t1.QuadPart - t0.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
        std::printf("pass %.1f ms cpu %.1f ms wineserver %.1f ms\n", wall, ProcessCpuMs() - cpu0,
                    UnixProcessCpuMs(wineserver) - server0);
        std::printf("origin %.3f\n%s", static_cast<double>(t0.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart),
                    PhaseReport().c_str());
        std::fflush(stdout);
    }
    ExitProcess(0);
}
