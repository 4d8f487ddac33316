// Fatal runtime errors: the one error channel. A report shows its box, empties the exit
// routine list and ends the process with exit code -1.
#pragma once

#include <cstdint>

// Shows the report for (message, code) and ends the program. Any thread may call it.
[[noreturn]] void FatalReport(const char* message, int32_t code);

// Entry 0: the report with the message of the runtime error table.
[[noreturn]] void RtReportError(int32_t code);

// The optional hook consulted before the box; a non-zero result skips the box.
using FatalErrorHook = int32_t (*)(int32_t code, const char* message);
