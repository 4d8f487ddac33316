// The message loop shared by RtMessageLoop and modal windows.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>

// Runs until WM_QUIT (returns false; the quit message is consumed) or, with a modal flag,
// until the flag is cleared (returns true).
bool RunMessageLoop(const std::atomic<bool>* modalActive);

// A keyboard or mouse message of the client area: what the user does inside a window.
inline bool IsKeyboardOrMouseMessage(UINT m) {
    return (m >= WM_KEYFIRST && m <= WM_KEYLAST) || (m >= WM_MOUSEFIRST && m <= WM_MOUSELAST);
}

// How many keyboard and mouse messages (the non-client ones too) the loop has taken. Input is what moves the caret and
// restarts its blink, so a timer that brings the blink in step with its ticks does it again
// only when this count has moved.
uint64_t InputMessagesTaken();
