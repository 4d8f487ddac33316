// What the control tests share: screen captures, real mouse clicks, message logs of
// chosen windows, and a worker thread that runs while the window thread pumps.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Pixels of a screen rectangle as COLORREF values, row by row.
struct Shot {
    int width = 0, height = 0;
    std::vector<COLORREF> pixels;
    COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)]; }
    // Number of pixels whose colour is `colour`.
    int Count(COLORREF colour) const;
    // The bounding box of the pixels for which `pick` holds; empty when none.
    RECT Bounds(const std::function<bool(COLORREF)>& pick) const;
    bool operator==(const Shot& o) const { return width == o.width && height == o.height && pixels == o.pixels; }
};

// The screen area of a window's client rectangle, after its pending paints ran.
Shot CaptureClient(HWND hwnd);
Shot CaptureScreen(const RECT& screenRect);
// A memory drawing of the given size: `draw` paints into a 32-bit DC.
Shot DrawOffScreen(int width, int height, const std::function<void(HDC)>& draw);
// The same over a copy of `background`.
Shot DrawOver(const Shot& background, const std::function<void(HDC)>& draw);
// Where two shots of the same size differ: count and the first place, for messages.
std::string Difference(const Shot& a, const Shot& b);

// A left click at a client point of the window, as real input (SendInput).
void ClickAt(HWND hwnd, POINT client);

// Records the messages of interest that chosen windows receive, in order, whether sent
// or dispatched from the queue.
class MessageLog {
public:
    struct Entry {
        HWND hwnd;
        UINT message;
        bool operator==(const Entry&) const = default;
    };
    MessageLog(std::vector<HWND> windows, std::vector<UINT> messages);
    ~MessageLog();
    const std::vector<Entry>& entries() const { return entries_; }
    void Clear() { entries_.clear(); }

private:
    static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    std::vector<HWND> windows_;
    std::vector<UINT> messages_;
    std::vector<Entry> entries_;
};

// Runs `work` on a new thread while this thread pumps messages, until the work is done.
void RunOnWorkerWhilePumping(const std::function<void()>& work);
