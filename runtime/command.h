// Command routines and the support library records through which units, commands and
// notification hooks reach the runtime.
#pragma once

#include <cstdint>

#include "runtime/value.h"

// A command: cdecl, (result record, argument count, first argument record). It writes its
// result into the result record and leaves it untouched when it has none.
using CommandRoutine = void (*)(ArgValue* result, int32_t count, ArgValue* args);

// The runtime's notification service, handed to every support library at start-up.
using NotifyRoutine = intptr_t (*)(int32_t code, intptr_t p1, intptr_t p2);

// A support library's notification hook: (code, value, 0). Code 1 hands over the runtime's
// notification service; code 6 announces the shutdown with the library's own data word.
using LibraryNotifyHook = intptr_t (*)(int32_t code, intptr_t value, intptr_t reserved);

struct UnitTypeInfo;

struct LibraryInfo {
    const char* name;
    LibraryNotifyHook notifyHook;             // may be null
    uint32_t unitTypeCount;
    const UnitTypeInfo* const* unitTypes;     // 1-based type number n is unitTypes[n - 1]; entries may be null
    uint32_t commandCount;
    const CommandRoutine* commands;           // in the order of the library's command table
};

constexpr int kSupportLibraryCount = 5;
