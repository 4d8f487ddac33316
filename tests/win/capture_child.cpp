// A framed window captured with CaptureWindowImage, for a desktop that draws caption bars
// and frames (Wine's own desktop: explorer /desktop=NAME,WxH capture_child.exe REPORT).
// The window is captured as the screen shows it, then partly covered by another window,
// then partly off the screen. Each check writes a line to the report; the last line is
// "result 0" when every check held.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "runtime/commands/core_commands.h"
#include "runtime/heap.h"
#include "runtime/value.h"
#include "tests/win/child_args.h"

namespace {

constexpr COLORREF kClient = RGB(0, 128, 0);
constexpr COLORREF kCover = RGB(255, 0, 255);
constexpr int kWidth = 320, kHeight = 220;

std::string g_report;
int g_failures = 0;

void Check(bool ok, const char* what, const std::string& detail = "") {
    g_report += (ok ? "ok   " : "FAIL ") + std::string(what) + (detail.empty() ? "" : ": " + detail) + "\n";
    if (!ok) ++g_failures;
}

std::string Hex(COLORREF c) {
    char text[16];
    std::snprintf(text, sizeof text, "%06lX", static_cast<unsigned long>(c));
    return text;
}

LRESULT CALLBACK PaintProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT || message == WM_ERASEBKGND) {
        PAINTSTRUCT ps;
        HDC dc = message == WM_PAINT ? BeginPaint(hwnd, &ps) : reinterpret_cast<HDC>(wParam);
        RECT all;
        GetClientRect(hwnd, &all);
        HBRUSH brush = CreateSolidBrush(GetWindowLongPtrW(hwnd, GWLP_USERDATA) ? kCover : kClient);
        FillRect(dc, &all, brush);
        DeleteObject(brush);
        if (message == WM_PAINT) EndPaint(hwnd, &ps);
        return message == WM_ERASEBKGND ? 1 : 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void Pump(DWORD ms) {
    DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        Sleep(10);
    } while (GetTickCount() - start < ms);
}

// Pixels of a picture, top row first.
struct Pixels {
    int width = 0, height = 0;
    std::vector<COLORREF> at;
    COLORREF Get(int x, int y) const { return at[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)]; }
};

Pixels FromBmp(const std::string& file) {
    Pixels p;
    if (file.size() < 54 || file.compare(0, 2, "BM") != 0) return p;
    int32_t w, h;
    std::memcpy(&w, file.data() + 18, 4);
    std::memcpy(&h, file.data() + 22, 4);
    size_t row = (static_cast<size_t>(w) * 3 + 3) & ~size_t{3};
    if (w <= 0 || h <= 0 || file.size() < 54 + row * static_cast<size_t>(h)) return p;
    p.width = w;
    p.height = h;
    p.at.resize(static_cast<size_t>(w) * static_cast<size_t>(h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const auto* b = reinterpret_cast<const uint8_t*>(file.data() + 54 + row * static_cast<size_t>(h - 1 - y) + static_cast<size_t>(x) * 3);
            p.at[static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)] = RGB(b[2], b[1], b[0]);
        }
    return p;
}

Pixels Capture(HWND hwnd) {
    ArgValue args[1] = {ArgValue::OfPointer(hwnd, kTagInt)};
    ArgValue result;
    CaptureWindowImage(&result, 1, args);
    std::string file;
    if (void* block = result.Pointer()) {
        file.assign(reinterpret_cast<const char*>(array_block::ByteSetData(block)), array_block::ByteSetLength(block));
        RtFree(block);
    }
    return FromBmp(file);
}

// What the screen shows over a rectangle, read independently of the command.
Pixels Screen(const RECT& r) {
    Pixels p;
    p.width = r.right - r.left;
    p.height = r.bottom - r.top;
    p.at.resize(static_cast<size_t>(p.width) * static_cast<size_t>(p.height));
    HDC screen = GetDC(nullptr);
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            p.at[static_cast<size_t>(y) * static_cast<size_t>(p.width) + static_cast<size_t>(x)] = GetPixel(screen, r.left + x, r.top + y);
    ReleaseDC(nullptr, screen);
    return p;
}

// Rows 0 .. rows-1, columns 0 .. columns-1 of two pictures: the number of pixels that differ
// and the first of them.
std::string CompareRows(const Pixels& a, const Pixels& b, int rows, int columns, int* differing) {
    *differing = 0;
    std::string first;
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < columns; ++x)
            if (a.Get(x, y) != b.Get(x, y)) {
                if (!(*differing)++)
                    first = "first at (" + std::to_string(x) + ", " + std::to_string(y) + "): " + Hex(a.Get(x, y)) +
                            " against " + Hex(b.Get(x, y));
            }
    return std::to_string(*differing) + " differ" + (first.empty() ? "" : ", " + first);
}

int Count(const Pixels& p, int rows, COLORREF colour) {
    int n = 0;
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < p.width; ++x) n += p.Get(x, y) == colour;
    return n;
}

int Run() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW wc = {};
    wc.lpfnWndProc = &PaintProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.lpszClassName = L"mg_capture_child";
    RegisterClassW(&wc);

    // Fixed frame with caption and system menu, as the main window has.
    HWND window = CreateWindowExW(0, L"mg_capture_child", L"Capture", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                                  60, 60, kWidth, kHeight, nullptr, nullptr, instance, nullptr);
    ShowWindow(window, SW_SHOWNORMAL);
    SetForegroundWindow(window);
    UpdateWindow(window);
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    Pump(600);

    RECT outer, client;
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    const int caption = client.top - outer.top, border = client.left - outer.left;
    Check(caption >= 10 && border >= 1, "the desktop draws a caption bar and a frame",
          "caption " + std::to_string(caption) + ", border " + std::to_string(border));
    if (g_failures) return 3;

    // 1. Uncovered and wholly on the screen.
    const Pixels screen = Screen(outer);
    const Pixels shown = Capture(window);
    Check(shown.width == outer.right - outer.left && shown.height == outer.bottom - outer.top,
          "the picture has the window's outer size", std::to_string(shown.width) + " x " + std::to_string(shown.height));
    if (g_failures) return 4;
    int differing = 0;
    std::string detail = CompareRows(shown, screen, caption, shown.width, &differing);
    Check(differing == 0, "the caption-bar rows are the screen's", detail);
    Check(Count(shown, caption, kClient) == 0, "no caption-bar pixel has the client's colour");
    Check(Count(screen, caption, kClient) == 0, "the screen's caption bar is not the client's colour");
    Check(shown.Get(border + 20, caption + 20) == kClient, "the client area follows the frame",
          Hex(shown.Get(border + 20, caption + 20)));
    // The left and right frame columns below the caption bar.
    bool sides = true;
    for (int y = caption; y < shown.height; ++y)
        sides = sides && shown.Get(0, y) == screen.Get(0, y) && shown.Get(shown.width - 1, y) == screen.Get(shown.width - 1, y);
    Check(sides, "the side frame columns are the screen's");

    // 2. Partly covered by a window that does not take the activation.
    HWND cover = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, L"mg_capture_child", L"", WS_POPUP,
                                 outer.left + 10, outer.top, 120, caption + 40, nullptr, nullptr, instance, nullptr);
    SetWindowLongPtrW(cover, GWLP_USERDATA, 1);
    ShowWindow(cover, SW_SHOWNOACTIVATE);
    UpdateWindow(cover);
    Pump(400);
    Check(Screen({outer.left + 20, outer.top + 2, outer.left + 21, outer.top + 3}).Get(0, 0) == kCover,
          "the cover shows on the screen");
    const Pixels covered = Capture(window);
    detail = CompareRows(covered, screen, caption, covered.width, &differing);
    Check(differing == 0, "covered: the caption-bar rows are the window's own", detail);
    Check(Count(covered, covered.height, kCover) == 0, "covered: nothing of the covering window is in the picture");
    DestroyWindow(cover);
    Pump(300);

    // 3. Partly off the right edge of the screen: the picture keeps the window's size; the
    // part on the screen is what the screen showed before.
    const int visible = 100;
    SetWindowPos(window, nullptr, GetSystemMetrics(SM_CXSCREEN) - visible, outer.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Pump(400);
    const Pixels off = Capture(window);
    Check(off.width == shown.width && off.height == shown.height, "off the screen: the picture has the window's outer size",
          std::to_string(off.width) + " x " + std::to_string(off.height));
    if (off.width == shown.width && off.height == shown.height) {
        detail = CompareRows(off, screen, caption, visible, &differing);
        Check(differing == 0, "off the screen: the caption-bar rows on the screen are the window's own", detail);
    }

    DestroyWindow(window);
    return g_failures ? 1 : 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    std::vector<std::wstring> args = ChildArguments();
    if (args.size() < 2) return 2;
    int code = Run();
    g_report += "result " + std::to_string(code) + "\n";
    HANDLE f = CreateFileW(args[1].c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return 2;
    DWORD written = 0;
    WriteFile(f, g_report.data(), static_cast<DWORD>(g_report.size()), &written, nullptr);
    CloseHandle(f);
    return code;
}
