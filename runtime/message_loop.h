// The message loop shared by RtMessageLoop and modal windows.
#pragma once

#include <atomic>
#include <cstdint>

// Runs until WM_QUIT (returns false; the quit message is consumed) or, with a modal flag,
// until the flag is cleared (returns true).
bool RunMessageLoop(const std::atomic<bool>* modalActive);

// How many messages the loop has taken that may have moved the caret or restarted its blink:
// all but timers and paints. A timer that brings the caret's blink in step with its ticks does
// it again only when this count has moved.
uint64_t CaretActivityCount();
