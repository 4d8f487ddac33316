// Workers that the runtime ends early: one that reaches for a unit of a window that has been
// closed is unwound to the start of its thread, so that what it holds goes back. Inside the
// program's own process, on the real tools' main window, closed after a first pass.
#include <gtest/gtest.h>

#include <windows.h>

#include "runtime/app.h"
#include "runtime/entries.h"
#include "runtime/gbk_text.h"
#include "runtime/heap.h"
#include "runtime/program_descriptor.h"
#include "runtime/threads.h"
#include "tests/win/forms/form_fixture.h"
#include "tests/win/process_counts.h"
#include "tests/win/toolbox/toolbox_driver.h"
#include "toolbox/event_handlers.h"
#include "toolbox/network_monitor.h"
#include "toolbox/rt.h"
#include "toolbox/tool_globals.h"

extern const ProgramDescriptor kProgramDescriptor;

using namespace units;

namespace {

// As a probe worker is between opening its echo handle and closing it, with a text of its own:
// it reaches for an address of the closed window, and the runtime ends it there.
uint32_t MG_STDCALL HoldAnEchoHandleAndReachForARow(void*) {
    rt::Text held = rt::ToText(int32_t{42});
    rt::IcmpHandle icmp;
    rt::Text host = rt::ListViewCellText(超级列表框1, 0, 0);
    ADD_FAILURE() << "the worker went on after reaching for a closed window";
    return 0;
}

// Started through the thread library, keeping the handle to wait for it.
HANDLE StartWorker(rt::ThreadRoutine routine, intptr_t parameter) {
    HANDLE thread = nullptr;
    rt::raw::LibCommand(rt::raw::kThreadLibrary, &::StartThread,
                        {ArgValue::OfPointer(reinterpret_cast<const void*>(routine), kTagSubroutine),
                         ArgValue::OfPointer(reinterpret_cast<const void*>(parameter), kTagInt),
                         ArgValue::OfPointer(&thread, kTagInt)});
    return thread;
}

bool LoopUntil(bool (*condition)(), DWORD timeoutMs) {
    DWORD start = GetTickCount();
    while (!condition() && GetTickCount() - start < timeoutMs) RunLoopFor(10);
    return condition();
}

}  // namespace

TEST(WorkersEndedEarly, ReleaseTheirEchoHandleTextsAndProbeCountOverTwoHundredPasses) {
    TempDirectory dir;
    std::vector<std::pair<std::string, std::string>> hosts;
    for (int i = 0; i < 6; ++i) hosts.push_back({"主机", "127.0.0." + std::to_string(i + 1)});
    WriteWholeFile(dir.File(L"疆内.txt"), HostList(hosts));
    WriteWholeFile(dir.File(L"疆外.txt"), HostList(hosts));
    UseProgramDescriptor(&kProgramDescriptor);
    RtEntries().otherHelp(kServiceInitialise, 0, 0, 0, 0, 0, 0);
    App().runDirectory = GbkFromWide(dir.path().c_str());
    InitToolGlobals();
    RtEntries().loadStartWindow(主窗口.windowId);
    ASSERT_TRUE(LoopUntil([] { return rt::ListViewRowCount(超级列表框2) == 6; }, 10000));
    // A whole pass first: the sockets and the echo library are loaded for good.
    OnMonitorTimer();
    ASSERT_TRUE(LoopUntil([] { return g_tools.probesInFlight.load() > 0; }, 5000));
    ASSERT_TRUE(LoopUntil([] { return g_tools.probesInFlight.load() == 0; }, 10000));
    RunLoopFor(200);
    DestroyWindow(reinterpret_cast<HWND>(rt::GetWindowHandle(主窗口)));
    RunLoopFor(100);

    const DWORD handles = HandleCountOf(GetCurrentProcessId());
    const int64_t blocks = LiveBlockCount();
    for (int pass = 0; pass < 200; ++pass) {
        // Each pass as the monitor's: its probe workers, and as many that hold an echo handle.
        HANDLE workers[12];
        for (int row = 0; row < 6; ++row) {
            workers[2 * row] = StartWorker(&ProbeWorker, row);
            workers[2 * row + 1] = StartWorker(&HoldAnEchoHandleAndReachForARow, 0);
        }
        ASSERT_EQ(WaitForMultipleObjects(12, workers, TRUE, 30000), WAIT_OBJECT_0) << "pass " << pass;
        for (HANDLE worker : workers) {
            DWORD code = 1;
            GetExitCodeThread(worker, &code);
            EXPECT_EQ(code, 0u);
            CloseHandle(worker);
        }
        ASSERT_EQ(g_tools.probesInFlight.load(), 0) << "pass " << pass << ": the ended workers kept their probes counted";
    }
    EXPECT_LE(HandleCountOf(GetCurrentProcessId()), handles + 5) << handles << " handles before 200 passes";
    EXPECT_EQ(LiveBlockCount(), blocks);
}
