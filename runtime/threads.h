// The thread library (support library 4): worker threads that run a routine of the tools,
// and critical sections that the tools hold as integer handles.
#pragma once

#include <cstdint>

#include "runtime/command.h"
#include "runtime/value.h"

// subroutine, [parameter], [address of a pointer-wide variable for the handle] → logical.
// The subroutine is a platform thread routine: WINAPI, one pointer-wide parameter. It runs
// under the library's own start routine, which is where EndThisWorker unwinds to.
void StartThread(ArgValue* result, int32_t count, ArgValue* args);

// Ends the calling worker early: its stack is unwound to the thread's start, so that every
// destructor on it runs (what it holds is released, what it counted is given back), and the
// thread ends with exit code 0. A thread that StartThread did not start, or one that is
// already being unwound, cannot be unwound from here: it waits for the process's end.
[[noreturn]] void EndThisWorker();
// → handle (the address of the library's record), 0 when no record could be allocated.
void CreateCriticalSection(ArgValue* result, int32_t count, ArgValue* args);
// handle; handles the library did not create (0 included) are ignored.
void EnterCriticalSection(ArgValue* result, int32_t count, ArgValue* args);
void LeaveCriticalSection(ArgValue* result, int32_t count, ArgValue* args);

// The library's notification hook: code 1 keeps the notification service, code 6 deletes
// every critical section; any other code gives -1.
intptr_t ThreadLibraryNotify(int32_t code, intptr_t value, intptr_t reserved);

// Commands in table order: StartThread, CreateCriticalSection, EnterCriticalSection,
// LeaveCriticalSection.
extern const LibraryInfo kThreadLibrary;

// The notification service the runtime handed over (null before code 1).
NotifyRoutine ThreadLibraryNotifyService();
