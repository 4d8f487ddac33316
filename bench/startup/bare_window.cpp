// Start-up baseline: one empty top-level window of the main window's outer size and frame,
// centred on the screen, shown until it is closed. What any program pays to show a window.
// With --focused-edit it holds one edit box with the focus, its caret blinking: what any
// program pays, idle, for a window whose focus starts in a text box.
#include <windows.h>

#include <cwchar>

namespace {

const wchar_t kClass[] = L"BenchBareWindow";

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = CreateSolidBrush(RGB(0xEC, 0xEC, 0xEC));
    wc.lpszClassName = kClass;
    if (!RegisterClassExW(&wc)) return 1;

    constexpr int kWidth = 500, kHeight = 550;  // outer size, frame included
    int x = (GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2;
    int y = (GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2;
    HWND hwnd = CreateWindowExW(0, kClass, L"茗柜", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, x, y, kWidth, kHeight,
                                nullptr, nullptr, instance, nullptr);
    if (!hwnd) return 1;
    HWND edit = nullptr;
    if (std::wcsstr(GetCommandLineW(), L"--focused-edit"))
        edit = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 20, 20, 60, 22,
                               hwnd, nullptr, instance, nullptr);
    ShowWindow(hwnd, show);
    UpdateWindow(hwnd);
    if (edit) SetFocus(edit);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
