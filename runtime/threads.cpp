#include "runtime/threads.h"

#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <exception>
#include <new>

#include "runtime/commands/command_args.h"
#include "runtime/phase_timing.h"
#include "runtime/win32_handles.h"
#include "runtime/worker_gate.h"

namespace {

// One element of the library's list: a platform critical section and the link. Records come
// from the C library's allocator, not the runtime heap, and live until the shutdown.
struct SectionRecord {
    CRITICAL_SECTION section;
    SectionRecord* next;
    std::atomic<int> users;  // enter and leave commands inside the section's calls right now
};

// The list, guarded by a lock of its own that is held only to look a handle up (and count
// the caller in) or to change the list, never while waiting for a critical section.
SRWLOCK g_listLock = SRWLOCK_INIT;
SectionRecord* g_sections = nullptr;
std::atomic<NotifyRoutine> g_notify{nullptr};

// The record a handle names, with its caller counted in; null for any other handle.
SectionRecord* Use(void* handle) {
    if (!handle) return nullptr;
    AcquireSRWLockShared(&g_listLock);
    SectionRecord* found = nullptr;
    for (SectionRecord* r = g_sections; r; r = r->next)
        if (r == handle) {
            r->users.fetch_add(1);
            found = r;
            break;
        }
    ReleaseSRWLockShared(&g_listLock);
    return found;
}

// At the shutdown workers may still wait in a section or be about to leave one. The list is
// emptied at once, so that no later enter or leave finds a section; a section that a caller
// is inside is left alone (and its record kept) for the process's end a moment later, every
// other one is deleted and its record freed.
void DeleteAllSections() {
    AcquireSRWLockExclusive(&g_listLock);
    SectionRecord* r = g_sections;
    g_sections = nullptr;
    ReleaseSRWLockExclusive(&g_listLock);
    while (r) {
        SectionRecord* next = r->next;
        if (r->users.load() == 0 && TryEnterCriticalSection(&r->section)) {
            LeaveCriticalSection(&r->section);
            DeleteCriticalSection(&r->section);
            r->~SectionRecord();
            std::free(r);
        }
        r = next;
    }
}

// What EndThisWorker throws; only the start routine below catches it.
struct WorkerEnd {};

// Set on threads that run under StartRoutine.
thread_local bool t_startedHere = false;

struct StartRecord {
    LPTHREAD_START_ROUTINE routine;
    void* parameter;
    int64_t requested;  // when phases are timed: when the thread was asked for
};

DWORD WINAPI StartRoutine(void* p) {
    StartRecord start = *static_cast<StartRecord*>(p);
    delete static_cast<StartRecord*>(p);
#if MG_TEST_HOOKS
    if (start.requested != 0) RecordPhase(Phase::kThreadLaunch, 0, start.requested, PhaseClockNow());
#endif
    t_startedHere = true;
    try {
        return start.routine(start.parameter);
    } catch (const WorkerEnd&) {
        return 0;
    }
}

const CommandRoutine kThreadCommands[] = {&StartThread, &CreateCriticalSection, &EnterCriticalSection,
                                          &LeaveCriticalSection};

}  // namespace

void StartThread(ArgValue* result, int32_t count, ArgValue* args) {
    auto routine = reinterpret_cast<LPTHREAD_START_ROUTINE>(cmd::PointerOr(count, args, 0, nullptr));
    void* parameter = count >= 2 ? cmd::PointerOr(count, args, 1, nullptr) : nullptr;
    auto* handleVariable = count >= 3 ? static_cast<HANDLE*>(cmd::PointerOr(count, args, 2, nullptr)) : nullptr;
    cmd::SetBool(result, false);
    if (!routine) return;
    // Without a variable for the handle it is closed at once: the thread runs on regardless.
    int64_t requested = 0;
#if MG_TEST_HOOKS
    if (PhaseTimingEnabled()) requested = PhaseClockNow();
#endif
    auto* start = new StartRecord{routine, parameter, requested};
    PhaseSpan span(Phase::kThreadStart);
    win::Thread thread(CreateThread(nullptr, 0, &StartRoutine, start, 0, nullptr));
    if (!thread) {
        delete start;
        return;
    }
    cmd::SetBool(result, true);
    if (handleVariable) *handleVariable = thread.release();  // the caller owns it now
}

void EndThisWorker() {
    if (t_startedHere && std::uncaught_exceptions() == 0) throw WorkerEnd{};
    StopThisThread();
}

void CreateCriticalSection(ArgValue* result, int32_t, ArgValue*) {
    void* memory = std::malloc(sizeof(SectionRecord));
    if (!memory) return cmd::SetHandle(result, nullptr);
    auto* record = new (memory) SectionRecord{};
    InitializeCriticalSection(&record->section);
    AcquireSRWLockExclusive(&g_listLock);
    record->next = g_sections;
    g_sections = record;
    ReleaseSRWLockExclusive(&g_listLock);
    cmd::SetHandle(result, record);
}

void EnterCriticalSection(ArgValue*, int32_t count, ArgValue* args) {
    if (SectionRecord* r = Use(cmd::PointerOr(count, args, 0, nullptr))) {
        ::EnterCriticalSection(&r->section);
        r->users.fetch_sub(1);
    }
}

void LeaveCriticalSection(ArgValue*, int32_t count, ArgValue* args) {
    if (SectionRecord* r = Use(cmd::PointerOr(count, args, 0, nullptr))) {
        ::LeaveCriticalSection(&r->section);
        r->users.fetch_sub(1);
    }
}

intptr_t ThreadLibraryNotify(int32_t code, intptr_t value, intptr_t) {
    switch (code) {
        case 1:
            g_notify.store(reinterpret_cast<NotifyRoutine>(value));
            return 0;
        case 6:
            DeleteAllSections();
            return 0;
        default:
            return -1;
    }
}

NotifyRoutine ThreadLibraryNotifyService() { return g_notify.load(); }

const LibraryInfo kThreadLibrary = {
    "Threads", &ThreadLibraryNotify, 0, nullptr, sizeof kThreadCommands / sizeof kThreadCommands[0], kThreadCommands,
};
