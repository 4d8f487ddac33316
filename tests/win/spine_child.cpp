// A small program on the runtime, driven by its command line, for tests that must watch a
// process end: fatal reports, shutdown from a worker thread, exit routines, start-up paths.
#include <windows.h>

#include <string>

#include "runtime/app.h"
#include "runtime/entries.h"
#include "runtime/fatal.h"
#include "runtime/gbk_text.h"
#include "runtime/heap.h"
#include "runtime/message_loop.h"
#include "runtime/program_descriptor.h"
#include "runtime/startup.h"
#include "runtime/value_ops.h"
#include "tests/win/child_args.h"

namespace {

wchar_t g_log[MAX_PATH];  // file that records what ran, for the parent to read
std::vector<std::wstring> g_args;

void Log(const std::string& line) {
    if (!g_log[0]) return;
    HANDLE h = CreateFileW(g_log, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                           0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return;
    std::string l = line + "\n";
    DWORD n;
    WriteFile(h, l.data(), static_cast<DWORD>(l.size()), &n, nullptr);
    CloseHandle(h);
}

void ExitRoutineA(int32_t position) { Log("A " + std::to_string(position)); }
void ExitRoutineB(int32_t position) { Log("B " + std::to_string(position)); }

void RegisterRoutines() {
    const RtEntryTable& rt = RtEntries();
    rt.otherHelp(kServiceRegisterExitRoutine, reinterpret_cast<intptr_t>(&ExitRoutineA), 0, 0, 0, 0, 0);
    rt.otherHelp(kServiceRegisterExitRoutine, reinterpret_cast<intptr_t>(&ExitRoutineB), 0, 0, 0, 0, 0);
    rt.otherHelp(kServiceRegisterExitRoutine, reinterpret_cast<intptr_t>(&ExitRoutineA), 0, 0, 0, 0, 0);
}

DWORD WINAPI ExitFromWorker(void* code) {
    Sleep(100);
    Log("worker " + std::to_string(GetCurrentThreadId() != App().mainThreadId));
    RtExitProcess(static_cast<int32_t>(reinterpret_cast<intptr_t>(code)));
}

DWORD WINAPI FatalFromWorker(void*) {
    Sleep(100);
    RtReportError(5);
}

alignas(8) const char kConstants[] = "hello\0world\0";
const ProgramDescriptor kDescriptor = {
    3, 0, 66502, 0, kConstants, sizeof kConstants, nullptr, 0, 0, nullptr, 0, nullptr, nullptr,
    nullptr,  // the runtime alone: no layer of windows above it
};

int32_t Entry() {
    const RtEntryTable& rt = RtEntries();
    const std::wstring& mode = g_args.at(1);
    rt.otherHelp(kServiceInitialise, 0, 0, 0, 0, 0, 0);
    if (mode == L"report-error") {
        rt.reportError(_wtoi(g_args.at(2).c_str()));
    } else if (mode == L"alloc-fail") {
        InjectAllocationFailure(1);
        rt.alloc(static_cast<size_t>(_wtoi64(g_args.at(2).c_str())));
    } else if (mode == L"fatal-empty") {
        FatalReport("", 0);
    } else if (mode == L"array-index") {
        void* array = NewEmptyArray();
        ArrayElement(array, _wtoi64(g_args.at(2).c_str()), 4);
    } else if (mode == L"exit-worker") {
        RegisterRoutines();
        CloseHandle(CreateThread(nullptr, 0, &ExitFromWorker,
                                 reinterpret_cast<void*>(static_cast<intptr_t>(_wtoi(g_args.at(2).c_str()))), 0,
                                 nullptr));
        App().messageLoopFlag = 1;
        RunMessageLoop(nullptr);
        Log("loop returned");
    } else if (mode == L"fatal-worker") {
        RegisterRoutines();
        CloseHandle(CreateThread(nullptr, 0, &FatalFromWorker, nullptr, 0, nullptr));
        App().messageLoopFlag = 1;
        RunMessageLoop(nullptr);
    } else if (mode == L"fatal-after-routines") {
        RegisterRoutines();
        rt.reportError(1);
    } else if (mode == L"normal-end") {
        RegisterRoutines();
        rt.messageLoop();  // no window: returns at once
        Log("loop returned");
    } else if (mode == L"paths") {
        const Application& app = App();
        Log(app.runDirectory + "|" + app.programFileName + "|" + app.moduleDirectory);
        wchar_t cwd[MAX_PATH];
        GetCurrentDirectoryW(MAX_PATH, cwd);
        Log(GbkFromWide(cwd));
    } else if (mode == L"start-window") {
        rt.loadStartWindow(0x52010001);
    }
    return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    g_args = ChildArguments();
    if (g_args.size() < 2) return 2;
    if (g_args.size() >= 4 && g_args[g_args.size() - 2] == L"--log") wcsncpy(g_log, g_args.back().c_str(), MAX_PATH - 1);
    return RunApplication(instance, &kDescriptor, &Entry);
}
