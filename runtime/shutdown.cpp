// Shutdown: on the main thread, or handed to it from a worker through the hidden owner window.
#include <windows.h>
#include <ole2.h>

#include <atomic>

#include "runtime/app.h"
#include "runtime/dll_modules.h"
#include "runtime/entries.h"
#include "runtime/fatal.h"
#include "runtime/phase_timing.h"
#include "runtime/runtime_hooks.h"
#include "runtime/worker_gate.h"

namespace {

std::atomic<bool> g_shutdownRunning = false;

void CleanUpSockets() {
    // The runtime itself never links the sockets library; it only releases a start-up it made.
    HMODULE ws2 = GetModuleHandleW(L"ws2_32.dll");
    if (!ws2) return;
    using Cleanup = int(WINAPI*)();
    if (auto cleanup = reinterpret_cast<Cleanup>(reinterpret_cast<void*>(GetProcAddress(ws2, "WSACleanup")))) cleanup();
}

}  // namespace

void RunShutdown() {
    Application& app = App();
    if (g_shutdownRunning.exchange(true)) return;

    app.shuttingDown = true;
    hook::SuspendEventDispatch();
    // Workers in the middle of a call may hold a unit or be sending one of the windows a
    // message: the windows go only once they are out (at most 5 s, the time a stuck one gets).
    CloseWorkerGate(5000);
    app.idleWindows.clear();
    app.idleRoutines.clear();
    app.idleParameters.clear();
    hook::DestroyWindows();

    // Each routine once, in registration order, with its position. The list is taken first
    // so that a routine that ends the program cannot make the others run twice.
    std::vector<ExitRoutine> routines;
    routines.swap(app.exitRoutines);
    for (size_t i = 0; i < routines.size(); ++i) routines[i](static_cast<int32_t>(i));

    if (app.libraries) {
        for (uint32_t i = 0; i < app.libraryCount && i < kSupportLibraryCount; ++i) {
            const LibraryInfo* lib = app.libraries[i];
            if (lib && lib->notifyHook) lib->notifyHook(6, app.libraryData[i], 0);
        }
        app.libraries = nullptr;
        app.libraryCount = 0;
    }

    ReleaseDllModules();

    hook::ReleaseDefaultIcons();
    app.hiddenOwner.reset();
    hook::ReleaseUnitObjects();
    if (app.socketsStarted) CleanUpSockets();

    if (app.oleInitialised) OleUninitialize();
    app.oleInitialised = false;
    app.shutdownDone = true;
#if MG_TEST_HOOKS
    WritePhaseLog();
#endif
}

void RtExitProcess(int32_t exitCode) {
    Application& app = App();
    bool onMainThread = app.mainThreadId == 0 || GetCurrentThreadId() == app.mainThreadId;
    if (!onMainThread) {
        // The main thread owns every window: it carries the shutdown out and ends the
        // process, so this call does not come back. Without a running loop there is no one
        // to hand it to and the process ends at once.
        LeaveEntriesForGood();  // the shutdown must not wait for this thread
        HWND owner = app.hiddenOwner.get();
        if (!app.shuttingDown && app.messageLoopFlag && owner && IsWindow(owner))
            SendMessageW(owner, kShutdownRequestMessage, static_cast<WPARAM>(exitCode), 0);
        if (!app.shuttingDown) ExitProcess(static_cast<UINT>(exitCode));
        StopThisThread();  // the main thread is already ending the process
    }
    // An end while a worker's report box shows is that report's: it ends with -1.
    if (exitCode != -1) WaitForFatalReportElsewhere();
    RunShutdown();
    ExitProcess(static_cast<UINT>(exitCode));
}
