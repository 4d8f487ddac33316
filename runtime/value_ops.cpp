#include "runtime/value_ops.h"

#include <cmath>
#include <cstring>

#include "runtime/fatal.h"
#include "runtime/heap.h"
#include "runtime/value.h"

char* ConcatTexts(std::initializer_list<const char*> texts) {
    size_t total = 0;
    for (const char* t : texts) total += t ? std::strlen(t) : 0;
    auto out = static_cast<char*>(RtAlloc(total + 1));
    char* p = out;
    for (const char* t : texts) {
        if (!t) continue;
        size_t n = std::strlen(t);
        std::memcpy(p, t, n);
        p += n;
    }
    *p = 0;
    return out;
}

int CompareTexts(const char* a, const char* b) {
    auto pa = reinterpret_cast<const unsigned char*>(a ? a : "");
    auto pb = reinterpret_cast<const unsigned char*>(b ? b : "");
    while (*pa && *pa == *pb) ++pa, ++pb;
    return *pa < *pb ? -1 : (*pa > *pb ? 1 : 0);
}

int32_t DoubleToInt32(double value) {
    if (std::isnan(value)) return 0;
    int64_t whole;
    if (value >= 9223372036854775807.0)
        whole = INT64_MAX;
    else if (value <= -9223372036854775808.0)
        whole = INT64_MIN;
    else
        whole = static_cast<int64_t>(value);
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(whole)));
}

void* ArrayElement(void* array, int64_t index, size_t elementSize) {
    if (index < 1) RtReportError(4);
    uint64_t count = array_block::ElementCount(array);
    if (static_cast<uint64_t>(index) > count) RtReportError(1);
    return array_block::Data(array) + (static_cast<uint64_t>(index) - 1) * elementSize;
}

void* NewEmptyArray() {
    auto block = static_cast<uint32_t*>(RtAlloc(8));
    block[0] = 1;
    block[1] = 0;
    return block;
}

void FreePointerArray(void* array) {
    if (!array) return;
    if (!IsInConstantBlock(array)) {
        uint64_t n = array_block::ElementCount(array);
        for (uint64_t i = 0; i < n; ++i) RtFree(array_block::PointerElement(array, i));
    }
    RtFree(array);
}
