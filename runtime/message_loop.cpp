// RtMessageLoop: the program's message pump with its idle phase.
#include "runtime/message_loop.h"

#include "runtime/app.h"
#include "runtime/entries.h"
#include "runtime/phase_timing.h"
#include "runtime/runtime_hooks.h"
#include "runtime/test_hooks.h"

namespace {

struct IdleState {
    DWORD periodStart = 0;
    bool frameworkWorkPending = false;
};
IdleState g_idle;
uint64_t g_inputTaken = 0;

// Idle callbacks registered with notification 1012, last first; entries whose window is
// gone are dropped.
void RunIdleCallbacks() {
    Application& app = App();
    for (size_t i = app.idleWindows.size(); i-- > 0;) {
        if (i >= app.idleWindows.size()) continue;  // a callback may have removed entries
        if (IsWindow(app.idleWindows[i])) {
            app.idleRoutines[i](app.idleParameters[i]);
        } else {
            app.idleWindows.erase(app.idleWindows.begin() + static_cast<ptrdiff_t>(i));
            app.idleRoutines.erase(app.idleRoutines.begin() + static_cast<ptrdiff_t>(i));
            app.idleParameters.erase(app.idleParameters.begin() + static_cast<ptrdiff_t>(i));
        }
    }
}

// The application object's idle handler; nonzero keeps idle work enabled.
bool OnIdle(long counter) {
    if (counter == 0) {
        g_idle.periodStart = GetTickCount();
        g_idle.frameworkWorkPending = true;
        hook::FireIdleEvents(0, true);  // only clears the declined list
    }
    if (g_idle.frameworkWorkPending) {
        // The framework's own idle work (nothing is deferred in this runtime) ends at once.
        g_idle.frameworkWorkPending = false;
        return true;
    }
    if (counter >= 2) return hook::FireIdleEvents(GetTickCount() - g_idle.periodStart, false);
    return true;
}

// Messages that restart idle processing: everything but repeated mouse moves, paints and
// the caret's system timer.
bool IsIdleTriggering(const MSG& msg) {
    static POINT lastPoint = {-1, -1};
    if (msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE) {
        if (msg.pt.x == lastPoint.x && msg.pt.y == lastPoint.y) return false;
        lastPoint = msg.pt;
        return true;
    }
    return msg.message != WM_PAINT && msg.message != 0x0118 /* WM_SYSTIMER */;
}

// A peek before an idle step lets a waiting message go first. Only idle callbacks and windows'
// idle handlers do anything there; without them the steps just keep the loop's books, and the
// peeks would be trips to the window server for nothing (three after each clock tick).
// Phase timing keeps them: the first paint ends where a peek first finds the queue dry.
bool PeekBeforeIdleSteps() {
#if MG_TEST_HOOKS
    if (PhaseTimingEnabled()) return true;
#endif
    return !App().idleWindows.empty() || hook::IdleEventHandled();
}

// Get, pre-translate, translate, dispatch. False at WM_QUIT.
bool PumpMessage(MSG& msg) {
    if (GetMessageW(&msg, nullptr, 0, 0) <= 0) return false;
    if (IsKeyboardOrMouseMessage(msg.message) || (msg.message >= WM_NCMOUSEMOVE && msg.message <= WM_NCXBUTTONDBLCLK))
        ++g_inputTaken;
#if MG_TEST_HOOKS
    NoteMessageForTestHooks(msg);
#endif
    if (!hook::PreTranslateMessage(&msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return true;
}

}  // namespace

bool RunMessageLoop(const std::atomic<bool>* modalActive) {
    bool idle = true;
    long counter = 0;
    MSG msg;
    // A peek is a round trip to the window server. The idle phase does not repeat the one
    // that has just found the queue empty, and while no idle work is enabled the message
    // phase simply waits for the next message: the idle phase would do nothing in between.
    bool foundEmpty = false;
    // Asked once per message: idle work is registered by code that a message runs.
    bool peeks = PeekBeforeIdleSteps();
    for (;;) {
        while (idle && (foundEmpty || !peeks || !PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE))) {
            foundEmpty = false;
            EndPhase(Phase::kFirstPaint);  // nothing left to paint (timing peeks)
            RunIdleCallbacks();
            if (!OnIdle(counter++)) idle = false;
        }
        do {
            if (!PumpMessage(msg)) return false;
            if (modalActive && !*modalActive) return true;
            peeks = PeekBeforeIdleSteps();
            if (IsIdleTriggering(msg)) {
                idle = true;
                counter = 0;
            }
        } while (!idle || (peeks && PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)));
        foundEmpty = true;
    }
}

uint64_t InputMessagesTaken() { return g_inputTaken; }

void RtMessageLoop() {
    App().messageLoopFlag = 1;
    if (!hook::AnyWindowAlive()) return;
    RunMessageLoop(nullptr);
}
