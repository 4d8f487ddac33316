// Pixels of the screen, compared and measured by the tests that look at what windows paint.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Pixels of a rectangle as COLORREF values, row by row.
struct Shot {
    int width = 0, height = 0;
    std::vector<COLORREF> pixels;
    COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)]; }
    // Number of pixels whose colour is `colour`.
    int Count(COLORREF colour) const;
    // Number of pixels for which `pick` holds.
    int Count(const std::function<bool(COLORREF)>& pick) const;
    // The bounding box of the pixels for which `pick` holds; empty when none.
    RECT Bounds(const std::function<bool(COLORREF)>& pick) const;
    bool operator==(const Shot& o) const { return width == o.width && height == o.height && pixels == o.pixels; }
};

// What the screen shows in a rectangle of screen coordinates.
Shot CaptureScreen(const RECT& screenRect);
// Where two shots of the same size differ: count and the first place, for messages.
std::string Difference(const Shot& a, const Shot& b);
// The shot as a 32-bit BMP file (for pictures of the README).
std::string BmpFile(const Shot& shot);
