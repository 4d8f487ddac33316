// The program's own C++ allocations (containers, texts and objects of the runtime, the form
// framework and the controls) come from the runtime heap too, so that one that fails ends in
// the allocation report like every other instead of an uncaught exception, and the heap's
// count and failure injection see them. Linked into the program only: test programs keep
// the C library's allocator, so that the runtime heap's block count stays theirs to check.
#include <cstddef>
#include <new>

#include "runtime/heap.h"

void* operator new(std::size_t size) { return RtAlloc(size); }
void* operator new[](std::size_t size) { return RtAlloc(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return RtTryAlloc(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return RtTryAlloc(size); }
void operator delete(void* block) noexcept { RtFree(block); }
void operator delete[](void* block) noexcept { RtFree(block); }
void operator delete(void* block, std::size_t) noexcept { RtFree(block); }
void operator delete[](void* block, std::size_t) noexcept { RtFree(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { RtFree(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { RtFree(block); }
