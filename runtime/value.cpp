#include "runtime/value.h"

#include <cstdio>
#include <cstdlib>

void ValueTagMismatch(const char* accessor, uint32_t tag) {
    std::fprintf(stderr, "ArgValue::%s() read a record of tag 0x%08X\n", accessor, static_cast<unsigned>(tag));
    std::fflush(stderr);
    std::abort();
}
