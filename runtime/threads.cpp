#include "runtime/threads.h"

#include <windows.h>

#include <atomic>
#include <cstdlib>

#include "runtime/commands/command_args.h"

namespace {

// One element of the library's list: a platform critical section and the link. Records come
// from the C library's allocator, not the runtime heap, and live until the shutdown.
struct SectionRecord {
    CRITICAL_SECTION section;
    SectionRecord* next;
};

// New records go in front with a release store, so a worker walking the list while the
// window thread creates a section always sees a complete chain.
std::atomic<SectionRecord*> g_sections{nullptr};
std::atomic<NotifyRoutine> g_notify{nullptr};

SectionRecord* FindSection(void* handle) {
    if (!handle) return nullptr;
    for (SectionRecord* r = g_sections.load(std::memory_order_acquire); r; r = r->next)
        if (r == handle) return r;
    return nullptr;
}

void DeleteAllSections() {
    SectionRecord* r = g_sections.exchange(nullptr, std::memory_order_acq_rel);
    while (r) {
        SectionRecord* next = r->next;
        DeleteCriticalSection(&r->section);
        std::free(r);
        r = next;
    }
}

const CommandRoutine kThreadCommands[] = {&StartThread, &CreateCriticalSection, &EnterCriticalSection,
                                          &LeaveCriticalSection};

}  // namespace

void StartThread(ArgValue* result, int32_t count, ArgValue* args) {
    auto routine = reinterpret_cast<LPTHREAD_START_ROUTINE>(cmd::PointerOr(count, args, 0, nullptr));
    void* parameter = count >= 2 ? cmd::PointerOr(count, args, 1, nullptr) : nullptr;
    auto* handleVariable = count >= 3 ? static_cast<HANDLE*>(cmd::PointerOr(count, args, 2, nullptr)) : nullptr;
    HANDLE thread = routine ? CreateThread(nullptr, 0, routine, parameter, 0, nullptr) : nullptr;
    cmd::SetBool(result, thread != nullptr);
    if (!thread) return;
    if (handleVariable)
        *handleVariable = thread;  // the caller owns it now
    else
        CloseHandle(thread);  // the thread runs on regardless
}

void CreateCriticalSection(ArgValue* result, int32_t, ArgValue*) {
    auto* record = static_cast<SectionRecord*>(std::malloc(sizeof(SectionRecord)));
    if (!record) return cmd::SetHandle(result, nullptr);
    InitializeCriticalSection(&record->section);
    record->next = g_sections.load(std::memory_order_relaxed);
    while (!g_sections.compare_exchange_weak(record->next, record, std::memory_order_release,
                                             std::memory_order_relaxed)) {
    }
    cmd::SetHandle(result, record);
}

void EnterCriticalSection(ArgValue*, int32_t count, ArgValue* args) {
    if (SectionRecord* r = FindSection(cmd::PointerOr(count, args, 0, nullptr))) ::EnterCriticalSection(&r->section);
}

void LeaveCriticalSection(ArgValue*, int32_t count, ArgValue* args) {
    if (SectionRecord* r = FindSection(cmd::PointerOr(count, args, 0, nullptr))) ::LeaveCriticalSection(&r->section);
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
