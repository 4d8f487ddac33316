#include "toolbox/tool_globals.h"

#include <cstring>

#include "runtime/value.h"
#include "toolbox/rt.h"
#include "toolbox/tool_constants.h"

// Trivially destructible on purpose: the exit routine runs after the program's main routine
// has returned.
ToolGlobals g_tools;

namespace {

// A fresh empty array copied from the constant block.
void* NewEmptyArray() {
    void* block = rt::Entries().alloc(sizeof kToolConstants.emptyArray);
    std::memcpy(block, kToolConstants.emptyArray, sizeof kToolConstants.emptyArray);
    return block;
}

void FreeTextArray(void*& array) {
    if (!array) return;
    uint64_t n = array_block::ElementCount(array);
    for (uint64_t i = 0; i < n; ++i) rt::Free(array_block::PointerElement(array, i));
    rt::Free(array);
    array = nullptr;
}

}  // namespace

void InitToolGlobals() {
    g_tools.insideParts = NewEmptyArray();
    g_tools.outsideParts = NewEmptyArray();
}

void FreeToolGlobals(int32_t /*position*/) {
    FreeTextArray(g_tools.insideParts);
    FreeTextArray(g_tools.outsideParts);
}
