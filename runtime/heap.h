// The runtime heap: one heap (the process heap) and one ownership rule.
// Blocks that commands hand out are freed by their receiver with RtFree; pointers into
// the tools' constant block are never freed and never reallocated in place.
#pragma once

#include <cstddef>
#include <cstdint>

void* RtAlloc(size_t byteCount);                 // fatal on failure
void* RtRealloc(void* block, size_t byteCount);  // fatal on failure
void RtFree(void* block);

// Allocation without the fatal error: null on failure (notification 2024 with a mode other than 0).
void* RtTryAlloc(size_t byteCount);

// Bounds of the tools' constant block, known to the heap so that constants are left alone.
void SetConstantBlock(const void* start, size_t length);
bool IsInConstantBlock(const void* p);
const char* ConstantBlockEnd();

// The empty text and the empty byte set {1, 0} that callers pass in place of null.
const char* EmptyText();
const void* EmptyByteSet();

// Fresh heap copies in the shapes commands return: null for empty content.
char* NewText(const char* bytes, size_t length);
char* NewText(const char* text);
void* NewByteSet(const void* bytes, size_t length);

// Test support: make allocation number N (counted from now, 1-based) fail, or 0 for none;
// and the number of live blocks handed out by this heap.
void InjectAllocationFailure(uint64_t allocationNumber);
// Allocations made so far, numbered as InjectAllocationFailure counts them.
uint64_t AllocationCount();
int64_t LiveBlockCount();
// Bytes of those blocks, as the platform's heap sizes them.
int64_t LiveByteCount();
// The number of frees that reached the heap (constants and null never do).
uint64_t HeapFreeCount();
