// What the control tests share: captures of windows, real mouse clicks, message logs of
// chosen windows, and a worker thread that runs while the window thread pumps.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tests/win/screen_shot.h"

// The screen area of a window's client rectangle, after its pending paints ran.
Shot CaptureClient(HWND hwnd);

// A left click at a client point of the window, as real input, run through the runtime's
// message loop until it is handled; false when it was not.
[[nodiscard]] bool ClickAt(HWND hwnd, POINT client);

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
