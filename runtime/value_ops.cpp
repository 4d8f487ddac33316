#include "runtime/value_ops.h"

#include <cstring>

#include "runtime/fatal.h"
#include "runtime/heap.h"
#include "runtime/number_parse.h"
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

int32_t DoubleToInt32(double value) { return TruncateToInt32(value); }

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
