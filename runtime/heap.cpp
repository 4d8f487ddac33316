#include "runtime/heap.h"

#include <windows.h>

#include <atomic>
#include <cstring>

#include "runtime/fatal.h"
#include "runtime/runtime_errors.h"
#include "runtime/test_hooks.h"

namespace {

const char* g_constStart = nullptr;
const char* g_constEnd = nullptr;

std::atomic<uint64_t> g_failAt{0};
std::atomic<uint64_t> g_allocations{0};
std::atomic<int64_t> g_live{0};
std::atomic<uint64_t> g_frees{0};
std::atomic<int64_t> g_liveBytes{0};

// The runtime's own constants: the empty text and the empty byte set {1, 0}. Like the
// tools' constant block they are never freed or changed.
struct RuntimeConstants {
    char emptyText[8];
    uint32_t emptyByteSet[2];
};
alignas(8) const RuntimeConstants kRuntimeConstants = {{0}, {1, 0}};

bool InRuntimeConstants(const void* p) {
    auto c = static_cast<const char*>(p);
    auto start = reinterpret_cast<const char*>(&kRuntimeConstants);
    return c >= start && c < start + sizeof kRuntimeConstants;
}

// End of the constant block that holds p (which must be a constant).
const char* ConstantEndFor(const void* p) {
    return InRuntimeConstants(p) ? reinterpret_cast<const char*>(&kRuntimeConstants) + sizeof kRuntimeConstants
                                 : g_constEnd;
}

HANDLE Heap() {
    static HANDLE heap = GetProcessHeap();
    return heap;
}

// Counts down to an injected failure; true when this allocation must fail.
bool InjectedFailure() {
#if MG_TEST_HOOKS
    // Asked once, before the first allocation is counted, whichever that is.
    static const bool hookRead = [] {
        if (uint64_t n = AllocationToFailFromEnvironment()) InjectAllocationFailure(n);
        return true;
    }();
    (void)hookRead;
#endif
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    uint64_t n = g_failAt.load(std::memory_order_relaxed);
    while (n != 0) {
        if (g_failAt.compare_exchange_weak(n, n - 1)) return n == 1;
    }
    return false;
}

[[noreturn]] void AllocationFailed(size_t byteCount) {
    FatalReport(AllocationFailedMessage(byteCount).c_str(), 0);
}

}  // namespace

void SetConstantBlock(const void* start, size_t length) {
    g_constStart = static_cast<const char*>(start);
    g_constEnd = g_constStart ? g_constStart + length : nullptr;
}

bool IsInConstantBlock(const void* p) {
    auto c = static_cast<const char*>(p);
    return InRuntimeConstants(p) || (g_constStart && c >= g_constStart && c < g_constEnd);
}

const char* ConstantBlockEnd() { return g_constEnd; }

const char* EmptyText() { return kRuntimeConstants.emptyText; }
const void* EmptyByteSet() { return kRuntimeConstants.emptyByteSet; }

void* RtTryAlloc(size_t byteCount) {
    if (InjectedFailure()) return nullptr;
    void* p = HeapAlloc(Heap(), 0, byteCount ? byteCount : 1);
    if (p) {
        g_live.fetch_add(1, std::memory_order_relaxed);
        g_liveBytes.fetch_add(static_cast<int64_t>(HeapSize(Heap(), 0, p)), std::memory_order_relaxed);
    }
    return p;
}

void* RtAlloc(size_t byteCount) {
    void* p = RtTryAlloc(byteCount);
    if (!p) AllocationFailed(byteCount);
    return p;
}

void* RtRealloc(void* block, size_t byteCount) {
    if (!block) return RtAlloc(byteCount);
    if (IsInConstantBlock(block)) {
        // A constant is copied, never changed: as much of the request as the constant
        // block still holds after the pointer.
        auto src = static_cast<const char*>(block);
        size_t available = static_cast<size_t>(ConstantEndFor(block) - src);
        void* fresh = RtAlloc(byteCount);
        std::memcpy(fresh, src, byteCount < available ? byteCount : available);
        return fresh;
    }
    if (InjectedFailure()) AllocationFailed(byteCount);
    SIZE_T before = HeapSize(Heap(), 0, block);
    void* p = HeapReAlloc(Heap(), 0, block, byteCount ? byteCount : 1);
    if (!p) AllocationFailed(byteCount);
    if (before != static_cast<SIZE_T>(-1))
        g_liveBytes.fetch_add(static_cast<int64_t>(HeapSize(Heap(), 0, p)) - static_cast<int64_t>(before),
                              std::memory_order_relaxed);
    return p;
}

void RtFree(void* block) {
    if (!block || IsInConstantBlock(block)) return;
    g_frees.fetch_add(1, std::memory_order_relaxed);
    SIZE_T size = HeapSize(Heap(), 0, block);
    if (HeapFree(Heap(), 0, block)) {
        g_live.fetch_sub(1, std::memory_order_relaxed);
        if (size != static_cast<SIZE_T>(-1)) g_liveBytes.fetch_sub(static_cast<int64_t>(size), std::memory_order_relaxed);
    }
}

char* NewText(const char* bytes, size_t length) {
    if (length == 0) return nullptr;
    auto text = static_cast<char*>(RtAlloc(length + 1));
    std::memcpy(text, bytes, length);
    text[length] = 0;
    return text;
}

char* NewText(const char* text) { return text ? NewText(text, std::strlen(text)) : nullptr; }

void* NewByteSet(const void* bytes, size_t length) {
    if (length == 0) return nullptr;
    auto block = static_cast<char*>(RtAlloc(length + 8));
    uint32_t header[2] = {1, static_cast<uint32_t>(length)};
    std::memcpy(block, header, 8);
    if (bytes) std::memcpy(block + 8, bytes, length);
    return block;
}

void InjectAllocationFailure(uint64_t allocationNumber) { g_failAt.store(allocationNumber); }

uint64_t AllocationCount() { return g_allocations.load(); }
int64_t LiveBlockCount() { return g_live.load(); }
int64_t LiveByteCount() { return g_liveBytes.load(); }
uint64_t HeapFreeCount() { return g_frees.load(); }
