#include "tests/win/toolbox/monitor_load.h"

#include <tlhelp32.h>

DWORD ThreadCountOf(DWORD pid) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return 0;
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    DWORD count = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        if (entry.th32OwnerProcessID == pid) ++count;
    CloseHandle(snapshot);
    return count;
}

bool WaitForThreads(DWORD pid, DWORD threads, DWORD timeoutMs) {
    return WaitUntil([&] { return ThreadCountOf(pid) <= threads; }, timeoutMs);
}

void ClickRapidly(Toolbox& toolbox, rt::AnyUnit unit, int clicks, DWORD withinMs) {
    RECT r = toolbox.ScreenRect(unit);
    const POINT at[2] = {{(r.left + r.right) / 2 - 3, (r.top + r.bottom) / 2}, {(r.left + r.right) / 2 + 3, (r.top + r.bottom) / 2}};
    const DWORD start = GetTickCount();
    for (int i = 0; i < clicks; ++i) {
        POINT p = at[i % 2];
        INPUT in[3] = {};
        for (INPUT& e : in) {
            e.type = INPUT_MOUSE;
            e.mi.dx = MulDiv(p.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
            e.mi.dy = MulDiv(p.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
        }
        in[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
        in[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
        in[2].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
        SendInput(3, in, sizeof in[0]);
        // Evenly spread over the time given, whatever each input took.
        const DWORD due = start + static_cast<DWORD>(static_cast<uint64_t>(withinMs) * (i + 1) / clicks);
        const DWORD now = GetTickCount();
        if (static_cast<LONG>(due - now) > 0) Sleep(due - now);
    }
}

std::vector<std::pair<std::string, std::string>> LabHosts(int count, int first, int span) {
    std::vector<std::pair<std::string, std::string>> hosts;
    for (int i = 0; i < count; ++i) {
        int ms = (i * 37) % span + first;
        std::string address = first == 0 && i % 9 == 0 ? "127.0.0." + std::to_string(i % 250 + 1)
                                                        : "127.1." + std::to_string(ms / 256) + "." + std::to_string(ms % 256);
        hosts.push_back({"主机" + std::to_string(i), address});
    }
    return hosts;
}
