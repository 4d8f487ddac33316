#include "tests/win/controls/control_test_util.h"

#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <sstream>
#include <thread>

#include "tests/win/forms/form_fixture.h"

int Shot::Count(COLORREF colour) const {
    return static_cast<int>(std::count(pixels.begin(), pixels.end(), colour));
}

RECT Shot::Bounds(const std::function<bool(COLORREF)>& pick) const {
    RECT r = {width, height, -1, -1};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (pick(At(x, y))) {
                r.left = std::min<LONG>(r.left, x);
                r.top = std::min<LONG>(r.top, y);
                r.right = std::max<LONG>(r.right, x + 1);
                r.bottom = std::max<LONG>(r.bottom, y + 1);
            }
    if (r.right < 0) return RECT{};
    return r;
}

namespace {

Shot FromDc(HDC source, int x, int y, int width, int height, const std::function<void(HDC)>& draw,
            const Shot* background = nullptr) {
    Shot shot;
    shot.width = std::max(width, 0);
    shot.height = std::max(height, 0);
    if (!shot.width || !shot.height) return shot;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = shot.width;
    info.bmiHeader.biHeight = -shot.height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bitmap);
    if (source) BitBlt(dc, 0, 0, shot.width, shot.height, source, x, y, SRCCOPY);
    if (background) {
        auto* p = static_cast<uint32_t*>(bits);
        for (size_t i = 0; i < background->pixels.size(); ++i) {
            COLORREF c = background->pixels[i];
            p[i] = (static_cast<uint32_t>(GetRValue(c)) << 16) | (static_cast<uint32_t>(GetGValue(c)) << 8) | GetBValue(c);
        }
    }
    if (draw) draw(dc);
    GdiFlush();
    const auto* p = static_cast<const uint32_t*>(bits);
    shot.pixels.resize(static_cast<size_t>(shot.width) * static_cast<size_t>(shot.height));
    for (size_t i = 0; i < shot.pixels.size(); ++i) {
        uint32_t v = p[i];  // 0x00RRGGBB
        shot.pixels[i] = RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    }
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return shot;
}

}  // namespace

Shot CaptureScreen(const RECT& r) {
    GdiFlush();
    HDC screen = GetDC(nullptr);
    Shot shot = FromDc(screen, r.left, r.top, r.right - r.left, r.bottom - r.top, nullptr);
    ReleaseDC(nullptr, screen);
    return shot;
}

Shot CaptureClient(HWND hwnd) {
    RedrawWindow(hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    Pump(30);
    RECT r;
    GetClientRect(hwnd, &r);
    MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return CaptureScreen(r);
}

Shot DrawOffScreen(int width, int height, const std::function<void(HDC)>& draw) {
    return FromDc(nullptr, 0, 0, width, height, draw);
}

Shot DrawOver(const Shot& background, const std::function<void(HDC)>& draw) {
    return FromDc(nullptr, 0, 0, background.width, background.height, draw, &background);
}

std::string Difference(const Shot& a, const Shot& b) {
    if (a.width != b.width || a.height != b.height) return "sizes differ";
    int count = 0, fx = -1, fy = -1;
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x)
            if (a.At(x, y) != b.At(x, y) && count++ == 0) {
                fx = x;
                fy = y;
            }
    std::ostringstream out;
    out << count << " pixels differ";
    if (count) out << ", first at (" << fx << ", " << fy << "): " << std::hex << a.At(fx, fy) << " vs " << b.At(fx, fy);
    return out.str();
}

void ClickAt(HWND hwnd, POINT client) {
    ClientToScreen(hwnd, &client);
    SetCursorPos(client.x, client.y);
    Pump(20);
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, in, sizeof in[0]);
    RunLoopFor(150);
}

MessageLog::MessageLog(std::vector<HWND> windows, std::vector<UINT> messages)
    : windows_(std::move(windows)), messages_(std::move(messages)) {
    for (HWND h : windows_) SetWindowSubclass(h, &MessageLog::Proc, 0x4D4C, reinterpret_cast<DWORD_PTR>(this));
}

MessageLog::~MessageLog() {
    for (HWND h : windows_)
        if (IsWindow(h)) RemoveWindowSubclass(h, &MessageLog::Proc, 0x4D4C);
}

LRESULT CALLBACK MessageLog::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<MessageLog*>(data);
    if (std::find(self->messages_.begin(), self->messages_.end(), message) != self->messages_.end())
        self->entries_.push_back({hwnd, message});
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

void RunOnWorkerWhilePumping(const std::function<void()>& work) {
    std::atomic<bool> done{false};
    std::thread worker([&] {
        work();
        done = true;
    });
    while (!done) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    worker.join();
}
