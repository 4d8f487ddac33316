// Writes where the toolbox's main window and the tabs of its page control are on the
// screen into the file named by the first argument: "window left top width height",
// then "tab x y" per tab (the tab's centre). tools/run.sh
// clicks there to take a screenshot of every page. Runs under Wine on the toolbox's
// desktop, beside the running program; it reads the tab rectangles across processes.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>

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
    std::fclose(out);
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    return 0;
}
