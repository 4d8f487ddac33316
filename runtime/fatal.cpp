#include "runtime/fatal.h"

#include <windows.h>

#include <atomic>
#include <string>

#include "runtime/app.h"
#include "runtime/gbk_text.h"
#include "runtime/runtime_errors.h"

namespace {
// A report raised from inside the hook skips the hook, on whichever thread it is raised.
std::atomic<bool> g_hookInProgress = false;
}  // namespace

void FatalReport(const char* message, int32_t code) {
    Application& app = App();
    ++app.fatalErrorCount;

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
    app.exitRoutines.clear();
    RtExitProcess(-1);
}

void RtReportError(int32_t code) { FatalReport(RuntimeErrorMessage(code), code); }
