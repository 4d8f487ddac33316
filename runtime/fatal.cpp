#include "runtime/fatal.h"

#include <windows.h>

#include <atomic>
#include <string>

#include "runtime/app.h"
#include "runtime/gbk_text.h"
#include "runtime/runtime_errors.h"
#include "runtime/worker_gate.h"

namespace {
// A report raised from inside the hook skips the hook, on whichever thread it is raised.
std::atomic<bool> g_hookInProgress = false;

// A process shows one report, the first; it ends with it. The thread that shows it, and
// whether its box has been answered.
std::atomic<DWORD> g_reportingThread{0};
std::atomic<bool> g_reportAnswered{false};

// Waits, handling only the messages other threads send to this one's windows, until one of
// them ends the process.
[[noreturn]] void ServeSentMessagesUntilTheEnd() {
    for (;;) ServeSentMessages(INFINITE);
}

// A report raised while the first one is under way shows no second box. The first one's own
// thread (a handler run by its box's message loop failed too) ends the program now. Any other
// thread waits for the first to end it: the main thread goes on serving what other threads
// send it, since the report's thread hands it the shutdown that way.
[[noreturn]] void LeaveToTheFirstReport(DWORD first) {
    Application& app = App();
    if (first == GetCurrentThreadId()) {
        app.exitRoutines.clear();
        RtExitProcess(-1);
    }
    if (GetCurrentThreadId() == app.mainThreadId) ServeSentMessagesUntilTheEnd();
    StopThisThread();
}

}  // namespace

bool FatalReportShowingElsewhere() {
    DWORD reporting = g_reportingThread.load();
    return reporting != 0 && reporting != GetCurrentThreadId() && !g_reportAnswered.load();
}

void WaitForFatalReportElsewhere() {
    if (FatalReportShowingElsewhere()) ServeSentMessagesUntilTheEnd();
}

void FatalReport(const char* message, int32_t code) {
    Application& app = App();
    ++app.fatalErrorCount;
    // A worker that fails once the main thread is ending the program shows nothing: the
    // process is gone a moment later, box and all.
    if (app.shuttingDown && app.mainThreadId != 0 && GetCurrentThreadId() != app.mainThreadId) StopThisThread();
    DWORD first = 0;
    if (!g_reportingThread.compare_exchange_strong(first, GetCurrentThreadId())) LeaveToTheFirstReport(first);

    bool skipBox = false;
    if (app.fatalErrorHook && !g_hookInProgress) {
        g_hookInProgress = true;
        skipBox = app.fatalErrorHook(code, message ? message : "") != 0;
        g_hookInProgress = false;
    }
    if (!skipBox) {
        std::wstring text = WideFromGbk(BuildFatalReportText(message, code).c_str());
        std::wstring caption = WideFromGbk(fatal_text::kCaption);
        MessageBoxW(nullptr, text.c_str(), caption.c_str(), MB_OK | MB_ICONHAND);
    }
    g_reportAnswered = true;
    app.exitRoutines.clear();
    RtExitProcess(-1);
}

void RtReportError(int32_t code) { FatalReport(RuntimeErrorMessage(code), code); }
