#include "runtime/phase_timing.h"

#include <windows.h>

namespace {

constexpr const char* kNames[] = {
    "runtime-initialise", "template-read", "create-window", "create-unit",  "reparent",     "order",
    "cursors",            "loaded-messages", "show-units",  "created-event", "host-files", "set-up-lists",
    "show-window",        "first-paint",   "load-host-lists", "fill-rows",  "pass",         "thread-start",
    "thread-launch",      "sockets",       "echo-handle",   "echo",         "cell-read",    "cell-write",
    "throttle",           "final-wait",
};
static_assert(sizeof kNames / sizeof kNames[0] == static_cast<size_t>(Phase::kCount), "a name per phase");

}  // namespace

const char* PhaseName(Phase phase) {
    return phase < Phase::kCount ? kNames[static_cast<size_t>(phase)] : "?";
}

#if MG_TEST_HOOKS

#include <atomic>
#include <cstdio>
#include <vector>

#include "runtime/win32_handles.h"

namespace {

struct PhaseRecord {
    Phase phase;
    uint32_t key;
    uint32_t count;
    int64_t total, firstStart, lastStart, lastEnd;
};

// Decided once: switched on by the environment, or by a benchmark before anything is timed.
std::atomic<int> g_enabled{-1};
SRWLOCK g_lock = SRWLOCK_INIT;
std::vector<PhaseRecord>* g_records = nullptr;  // never freed: spans may end during the exit

bool LogNamed(std::wstring* path) {
    wchar_t buffer[MAX_PATH];
    DWORD n = GetEnvironmentVariableW(L"MG_PHASE_LOG", buffer, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return false;
    if (path) path->assign(buffer, n);
    return true;
}

double Ms(int64_t ticks) {
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    return static_cast<double>(ticks) * 1000.0 / frequency;
}

}  // namespace

bool PhaseTimingEnabled() {
    int enabled = g_enabled.load(std::memory_order_relaxed);
    if (enabled < 0) {
        enabled = LogNamed(nullptr) ? 1 : 0;
        g_enabled.store(enabled);
    }
    return enabled != 0;
}

void EnablePhaseTiming() { g_enabled.store(1); }

int64_t PhaseClockNow() {
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t.QuadPart;
}

void ResetPhaseTiming() {
    AcquireSRWLockExclusive(&g_lock);
    if (g_records) g_records->clear();
    ReleaseSRWLockExclusive(&g_lock);
}

void RecordPhase(Phase phase, uint32_t key, int64_t start, int64_t end) {
    AcquireSRWLockExclusive(&g_lock);
    if (!g_records) g_records = new std::vector<PhaseRecord>;
    PhaseRecord* found = nullptr;
    for (PhaseRecord& r : *g_records)
        if (r.phase == phase && r.key == key) found = &r;
    if (!found) {
        g_records->push_back({phase, key, 0, 0, start, start, end});
        found = &g_records->back();
    }
    found->count += 1;
    found->total += end - start;
    if (start < found->firstStart) found->firstStart = start;
    if (start > found->lastStart) found->lastStart = start;
    if (end > found->lastEnd) found->lastEnd = end;
    ReleaseSRWLockExclusive(&g_lock);
}

namespace {
std::atomic<int64_t> g_begun[static_cast<size_t>(Phase::kCount)];
}

void BeginPhase(Phase phase) {
    if (PhaseTimingEnabled()) g_begun[static_cast<size_t>(phase)].store(PhaseClockNow());
}

void EndPhase(Phase phase) {
    if (!PhaseTimingEnabled()) return;
    int64_t start = g_begun[static_cast<size_t>(phase)].exchange(0);
    if (start > 0) RecordPhase(phase, 0, start, PhaseClockNow());
}

PhaseSpan::PhaseSpan(Phase phase, uint32_t key)
    : phase_(phase), key_(key), start_(PhaseTimingEnabled() ? PhaseClockNow() : 0) {}

PhaseSpan::~PhaseSpan() {
    if (start_ != 0) RecordPhase(phase_, key_, start_, PhaseClockNow());
}

std::string PhaseReport() {
    std::string out;
    char line[256];
    AcquireSRWLockShared(&g_lock);
    if (g_records) {
        for (const PhaseRecord& r : *g_records) {
            std::snprintf(line, sizeof line, "phase %s %08X %u %.3f %.3f %.3f %.3f\n", PhaseName(r.phase), r.key,
                          r.count, Ms(r.total), Ms(r.firstStart), Ms(r.lastStart), Ms(r.lastEnd));
            out += line;
        }
    }
    ReleaseSRWLockShared(&g_lock);
    return out;
}

void WritePhaseLog() {
    std::wstring path;
    if (!PhaseTimingEnabled() || !LogNamed(&path)) return;
    std::string report = PhaseReport();
    win::File f(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (f) WriteFile(f.get(), report.data(), static_cast<DWORD>(report.size()), &written, nullptr);
}

#endif
