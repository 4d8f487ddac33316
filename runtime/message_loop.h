// The message loop shared by RtMessageLoop and modal windows.
#pragma once

#include <atomic>

// Runs until WM_QUIT (returns false; the quit message is consumed) or, with a modal flag,
// until the flag is cleared (returns true).
bool RunMessageLoop(const std::atomic<bool>* modalActive);
