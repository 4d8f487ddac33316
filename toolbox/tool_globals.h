// Module-level state of the tools: it lives for the whole run and starts at zero.
#pragma once

#include <cstdint>

struct ToolGlobals {
    void* insideParts;   // text array: fields of the inside host list file
    void* outsideParts;  // text array: fields of the outside host list file
    int32_t insideHostCount;
    int32_t outsideHostCount;
    int32_t probeLimit;
    volatile int32_t probesInFlight;
    intptr_t monitorLock;  // critical section handle
};

extern ToolGlobals g_tools;

void InitToolGlobals();
// The exit routine registered with the runtime: frees both host list arrays.
void FreeToolGlobals(int32_t position);
