#include "bench/monitor/lab_program.h"

#include <tlhelp32.h>

#include <cstdio>
#include <cstring>

#include "runtime/app.h"
#include "runtime/entries.h"
#include "runtime/program_descriptor.h"
#include "main_window_units.h"
#include "tests/win/process_counts.h"
#include "toolbox/rt.h"
#include "toolbox/tool_globals.h"

extern const ProgramDescriptor kProgramDescriptor;

namespace {

void DispatchWaiting() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

int Rows() { return rt::ListViewRowCount(units::超级列表框1) + rt::ListViewRowCount(units::超级列表框2); }

}  // namespace

int StartToolsIn(const char* directory) {
    UseProgramDescriptor(&kProgramDescriptor);
    RtEntries().otherHelp(kServiceInitialise, 0, 0, 0, 0, 0, 0);
    App().runDirectory = directory;
    InitToolGlobals();
    RtEntries().loadStartWindow(units::主窗口.windowId);
    DWORD start = GetTickCount();
    while (Rows() == 0 && GetTickCount() - start < 10000) PumpFor(10);
    PumpFor(200);  // the second list follows the first
    return Rows();
}

void PumpFor(DWORD ms) {
    DWORD start = GetTickCount();
    do {
        DispatchWaiting();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    } while (GetTickCount() - start < ms);
}

void PumpUntil(HANDLE done) {
    while (MsgWaitForMultipleObjects(1, &done, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) DispatchWaiting();
}

double ProcessCpuMs() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto ms = [](FILETIME f) { return (static_cast<double>(f.dwHighDateTime) * 4294967296.0 + f.dwLowDateTime) / 1e4; };
    return ms(kernel) + ms(user);
}

double UnixProcessCpuMs(const std::string& pid) {
    if (pid.empty()) return 0;
    std::wstring path = L"Z:\\proc\\" + std::wstring(pid.begin(), pid.end()) + L"\\stat";
    HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return 0;
    char buffer[1024] = {};
    DWORD got = 0;
    ReadFile(f, buffer, sizeof buffer - 1, &got, nullptr);
    CloseHandle(f);
    // After the command's closing parenthesis: the state (field 3), ... utime 14, stime 15.
    const char* p = std::strrchr(buffer, ')');
    unsigned long long utime = 0, stime = 0;
    if (!p || std::sscanf(p + 2, "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %llu %llu", &utime, &stime) != 2) return 0;
    return static_cast<double>(utime + stime) * 10.0;  // clock ticks of 10 ms
}

DWORD ProcessThreadCount() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return 0;
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    DWORD count = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        if (entry.th32OwnerProcessID == GetCurrentProcessId()) ++count;
    CloseHandle(snapshot);
    return count;
}

DWORD ProcessHandleCount() { return HandleCountOf(GetCurrentProcessId()); }
