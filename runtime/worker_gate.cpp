#include "runtime/worker_gate.h"

#include <atomic>

#include "runtime/app.h"

namespace {

// Sequentially consistent on purpose: a worker counts itself in and then looks at the flag,
// the shutdown sets the flag and then looks at the count, so one of them always sees the other.
std::atomic<int> g_workersInside{0};
std::atomic<bool> g_closed{false};
thread_local int t_depth = 0;

bool OnWorker() {
    DWORD main = App().mainThreadId;
    return main != 0 && GetCurrentThreadId() != main;
}

}  // namespace

WorkerEntry::WorkerEntry() {
    if (t_depth++ > 0 || !OnWorker()) return;
    g_workersInside.fetch_add(1);
    if (g_closed.load()) StopThisThread();
}

WorkerEntry::~WorkerEntry() {
    if (--t_depth > 0 || !OnWorker()) return;
    g_workersInside.fetch_sub(1);
}

void CloseWorkerGate(DWORD timeoutMs) {
    g_closed.store(true);
    const DWORD start = GetTickCount();
    while (g_workersInside.load() > 0 && GetTickCount() - start < timeoutMs) ServeSentMessages(5);
}

void LeaveEntriesForGood() {
    if (t_depth > 0 && OnWorker()) g_workersInside.fetch_sub(1);
    t_depth = 0;
}

void StopThisThread() {
    LeaveEntriesForGood();
    for (;;) Sleep(INFINITE);
}

void ServeSentMessages(DWORD waitMs) {
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, waitMs, QS_SENDMESSAGE);
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}
