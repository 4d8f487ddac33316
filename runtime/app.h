// The application object: one global object that owns the runtime's whole state.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "runtime/command.h"
#include "runtime/fatal.h"
#include "runtime/win32_handles.h"

using ExitRoutine = void (*)(int32_t position);
using IdleRoutine = void (*)(intptr_t parameter);

struct Application {
    Application();
    ~Application();  // the shutdown of a normal end, with exit code 0 (see EndOfProgramShutdown)
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    FatalErrorHook fatalErrorHook = nullptr;
    uint32_t versionMajor = 0, versionMinor = 0, versionBuild = 0;
    std::string runDirectory;     // program's directory, no trailing backslash
    std::string programFileName;  // file name part of the program's path
    std::string moduleDirectory;  // with trailing backslash
    std::string extraDllDirectory;  // never set by this program; searched first when it is

    const LibraryInfo* const* libraries = nullptr;
    uint32_t libraryCount = 0;
    intptr_t libraryData[kSupportLibraryCount] = {};

    // Declared DLL commands: names from the descriptor, handles and addresses on first use.
    std::vector<const char*> dllLibraryNames;
    std::vector<const char*> dllCommandNames;
    std::vector<win::Module> dllModules;
    std::vector<void*> dllRoutines;

    uintptr_t userCodeBase = 0;
    int32_t fatalErrorCount = 0;
    int32_t messageLoopFlag = 0;

    // Idle callback table: three parallel arrays.
    std::vector<HWND> idleWindows;
    std::vector<IdleRoutine> idleRoutines;
    std::vector<intptr_t> idleParameters;

    DWORD mainThreadId = 0;

    // File object registry: object and kind byte.
    std::vector<void*> fileObjects;
    std::vector<uint8_t> fileKinds;

    win::Window hiddenOwner;  // made by the start-up, destroyed by the shutdown
    bool oleInitialised = false;
    HANDLE heap = nullptr;
    std::vector<ExitRoutine> exitRoutines;
    std::atomic<bool> shuttingDown = false;  // read by worker threads
    bool socketsStarted = false;
    bool initialised = false;
    bool shutdownDone = false;

    CRITICAL_SECTION lock;  // the object's own; static initialisation sets it up
};

Application& App();

// Ends the process after the shutdown; on a worker thread the main thread carries it out.
[[noreturn]] void RtExitProcess(int32_t exitCode);

// The shutdown steps that run on the main thread (once; later calls do nothing).
void RunShutdown();

// The shutdown of a normal end. Start-up registers it with atexit, so it runs when the
// program's main routine returns and before any static object of the program is destroyed
// (exit routines may still use them); the destructor repeats it as a fallback.
void EndOfProgramShutdown();

// The message sent to the hidden owner window to move a shutdown to the main thread.
constexpr UINT kShutdownRequestMessage = 0x83E7;
