#include "tests/win/screen_shot.h"

#include <algorithm>
#include <cstdint>
#include <sstream>

int Shot::Count(COLORREF colour) const { return static_cast<int>(std::count(pixels.begin(), pixels.end(), colour)); }

int Shot::Count(const std::function<bool(COLORREF)>& pick) const {
    return static_cast<int>(std::count_if(pixels.begin(), pixels.end(), pick));
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

BITMAPINFOHEADER TopDownHeader(int width, int height) {
    BITMAPINFOHEADER h = {};
    h.biSize = sizeof h;
    h.biWidth = width;
    h.biHeight = -height;  // top row first
    h.biPlanes = 1;
    h.biBitCount = 32;
    h.biCompression = BI_RGB;
    return h;
}

Shot FromDc(HDC source, int x, int y, int width, int height) {
    Shot shot;
    shot.width = std::max(width, 0);
    shot.height = std::max(height, 0);
    if (!shot.width || !shot.height) return shot;
    BITMAPINFO info = {};
    info.bmiHeader = TopDownHeader(shot.width, shot.height);
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bitmap);
    BitBlt(dc, 0, 0, shot.width, shot.height, source, x, y, SRCCOPY);
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
    Shot shot = FromDc(screen, r.left, r.top, r.right - r.left, r.bottom - r.top);
    ReleaseDC(nullptr, screen);
    return shot;
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

std::string BmpFile(const Shot& shot) {
    BITMAPINFOHEADER info = TopDownHeader(shot.width, shot.height);
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = static_cast<DWORD>(file.bfOffBits + shot.pixels.size() * 4);
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
    bytes.append(reinterpret_cast<const char*>(&info), sizeof info);
    for (COLORREF c : shot.pixels) {
        // Opaque: readers take the fourth byte as alpha.
        const char pixel[4] = {static_cast<char>(GetBValue(c)), static_cast<char>(GetGValue(c)), static_cast<char>(GetRValue(c)),
                               static_cast<char>(0xFF)};
        bytes.append(pixel, 4);
    }
    return bytes;
}
