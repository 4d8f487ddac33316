// Keeps Wine's desktop process alive for the length of a test lab. Wine ends the desktop
// process a moment after the last program with a window has gone, and the next program to
// create a window starts it again; a program that starts while the old one is ending can
// fail to create its windows. The tests start one program after another, so the lab runs
// this beside them: one hidden window that never shows, never takes the focus, and lives
// until the lab's wineserver is stopped. Once its window exists, the desktop is up: it then
// creates the file named by its argument, for which the lab waits before the first test.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR readyFile, int) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = instance;
    wc.lpszClassName = L"MingguiLabDesktopKeeper";
    if (!RegisterClassW(&wc)) return 1;
    if (!CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, instance,
                         nullptr))
        return 1;
    if (readyFile && *readyFile) {
        HANDLE ready = CreateFileW(readyFile, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (ready != INVALID_HANDLE_VALUE) CloseHandle(ready);
    }
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    return 0;
}
