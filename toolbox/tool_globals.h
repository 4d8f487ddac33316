// Module-level state of the tools: it lives for the whole run and starts at zero.
// Trivially destructible on purpose: the exit routine frees it after the program's main
// routine has returned, and no destructor may run after that.
#pragma once

#include <atomic>
#include <type_traits>
#include <cstdint>

#include "toolbox/rt.h"

struct ToolGlobals {
    // Network monitor.
    rt::StaticTextArray insideParts;   // fields of 疆内.txt
    rt::StaticTextArray outsideParts;  // fields of 疆外.txt
    // Set by the loader thread, read by the workers of later passes.
    std::atomic<int32_t> insideHostCount;
    std::atomic<int32_t> outsideHostCount;
    int32_t probeLimit;                    // probes in flight that hold back the next worker
    std::atomic<int32_t> probesInFlight;   // changed only under monitorLock; read without it
    rt::CriticalSection monitorLock;

    // Inventory sheet: overwritten by every calculation before they are used.
    double drinkAmount;
    double snackAmount;
    double cigaretteAmount;
    int32_t otherAmount;  // whole yuan
};
static_assert(std::is_trivially_destructible_v<ToolGlobals>);

extern ToolGlobals g_tools;

void InitToolGlobals();
// The exit routine registered with the runtime: frees both host list arrays.
void FreeToolGlobals(int32_t position);
