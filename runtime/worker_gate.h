// Worker threads inside the runtime's entries. The main thread's shutdown destroys the windows
// and frees their units only once no worker is in the middle of an entry, where it may hold a
// unit it has looked up or be sending one of its windows a message; a worker that comes to an
// entry once the end has begun is stopped there until the process ends, a moment later.
#pragma once

#include <windows.h>

// Counts the calling worker into an entry for the object's life; nested entries count once.
// After CloseWorkerGate a worker is stopped here (StopThisThread). The main thread passes freely.
class WorkerEntry {
public:
    WorkerEntry();
    ~WorkerEntry();
    WorkerEntry(const WorkerEntry&) = delete;
    WorkerEntry& operator=(const WorkerEntry&) = delete;
};

// The shutdown's first step, on the main thread: no worker enters after it, and those inside an
// entry finish their call, for up to `timeoutMs`; what they send the main thread's windows
// meanwhile is served.
void CloseWorkerGate(DWORD timeoutMs);

// Counts the calling thread out of the entries it is in, for good: it will not come back out
// of them (it hands the shutdown to the main thread, or stops).
void LeaveEntriesForGood();

// Stops the calling thread for good, counted out of any entry first so that no shutdown waits
// for it: a thread that the process's end is about to take (a worker that failed after the first
// report, one that came to an entry too late).
[[noreturn]] void StopThisThread();

// Handles the messages other threads send to this thread's windows, waiting up to `waitMs` for
// the first of them.
void ServeSentMessages(DWORD waitMs);
