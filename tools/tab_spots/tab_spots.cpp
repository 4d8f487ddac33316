// Writes where the toolbox's main window and the tabs of its page control are on the
// screen into the file named by the first argument: "window left top width height",
// then "tab x y" per tab (the tab's centre), then "unit NAME x y" per unit window (its
// centre; the name in UTF-8 as the form gives it). tools/run.sh clicks and types there to
// take a screenshot of every page. Runs under Wine on the toolbox's
// desktop, beside the running program; it reads the tab rectangles across processes.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <iterator>
#include <string>

#include "main_window_units.h"

namespace {

// The loader numbers controls 100, 110, ... in creation order: the window's units from the
// last table position down to position 1.
UINT ControlIdAt(size_t k) { return static_cast<UINT>(100 + 10 * (std::size(units::kAllUnits) - 1 - k)); }

struct ChildSearch {
    UINT id;
    HWND found;
};

BOOL CALLBACK FindChild(HWND hwnd, LPARAM lParam) {
    auto* s = reinterpret_cast<ChildSearch*>(lParam);
    if (static_cast<UINT>(GetDlgCtrlID(hwnd)) != s->id) return TRUE;
    s->found = hwnd;
    return FALSE;
}

std::string Utf8FromGbk(const char* gbk) {
    wchar_t wide[128] = {};
    MultiByteToWideChar(936, 0, gbk, -1, wide, 128);
    char utf8[384] = {};
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8, sizeof utf8, nullptr, nullptr);
    return utf8;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    HWND form = nullptr, tabs = nullptr;
    for (int tries = 0; tries < 100 && !tabs; ++tries) {
        form = FindWindowW(nullptr, L"茗柜");
        if (form) tabs = FindWindowExW(form, nullptr, L"_XR_PageControl", nullptr);
        if (!tabs) Sleep(100);
    }
    if (!tabs) return 1;
    DWORD pid = 0;
    GetWindowThreadProcessId(tabs, &pid);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (!process) return 1;
    // TCM_GETITEMRECT writes into the program's own memory.
    void* remote = VirtualAllocEx(process, nullptr, sizeof(RECT), MEM_COMMIT, PAGE_READWRITE);
    FILE* out = _wfopen(argv[1], L"w");
    if (!remote || !out) return 1;
    RECT frame;
    GetWindowRect(form, &frame);
    std::fprintf(out, "window %ld %ld %ld %ld\n", static_cast<long>(frame.left), static_cast<long>(frame.top),
                 static_cast<long>(frame.right - frame.left), static_cast<long>(frame.bottom - frame.top));
    int count = static_cast<int>(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        RECT r = {};
        SIZE_T read = 0;
        if (!SendMessageW(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(remote)) ||
            !ReadProcessMemory(process, remote, &r, sizeof r, &read))
            continue;
        POINT centre = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        ClientToScreen(tabs, &centre);
        std::fprintf(out, "tab %ld %ld\n", static_cast<long>(centre.x), static_cast<long>(centre.y));
    }
    for (size_t k = 1; k < std::size(units::kAllUnits); ++k) {
        ChildSearch search{ControlIdAt(k), nullptr};
        EnumChildWindows(form, &FindChild, reinterpret_cast<LPARAM>(&search));
        if (!search.found) continue;
        RECT r;
        GetWindowRect(search.found, &r);
        std::fprintf(out, "unit %s %ld %ld\n", Utf8FromGbk(units::kAllUnits[k].name).c_str(),
                     static_cast<long>((r.left + r.right) / 2), static_cast<long>((r.top + r.bottom) / 2));
    }
    std::fclose(out);
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    return 0;
}
