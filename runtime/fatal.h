// Fatal runtime errors: the one error channel. A report shows its box, empties the exit
// routine list and ends the process with exit code -1.
#pragma once

#include <cstdint>

// Shows the report for (message, code) and ends the program. Any thread may call it. Only
// the first report of the process shows a box: a later one, on any thread, leaves the end to
// the first.
[[noreturn]] void FatalReport(const char* message, int32_t code);

// True while another thread's report box waits for its answer.
bool FatalReportShowingElsewhere();
// On the main thread, at the program's end: when another thread's report box is showing,
// waits for that report to end the process (with -1), serving what other threads send.
void WaitForFatalReportElsewhere();

// Entry 0: the report with the message of the runtime error table.
[[noreturn]] void RtReportError(int32_t code);

// The optional hook consulted before the box; a non-zero result skips the box.
using FatalErrorHook = int32_t (*)(int32_t code, const char* message);
