// The raw calls through the runtime entry table that the typed layer is built on: argument
// records in, result record out, properties by index. Tool code uses the typed layer
// (toolbox/rt.h), not these.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "runtime/command.h"
#include "runtime/entries.h"
#include "runtime/value.h"

namespace rt::raw {

// Library numbers of the support libraries, as RtCallLibCommand takes them (0-based).
constexpr int32_t kListViewLibrary = 2;
constexpr int32_t kThreadLibrary = 3;
constexpr int32_t kShellLibrary = 4;

inline ArgValue Command(CommandRoutine routine, std::initializer_list<ArgValue> args) {
    ArgValue block[16];  // commands may write into their argument records: always a copy
    int32_t n = 0;
    for (const ArgValue& a : args)
        if (n < 16) block[n++] = a;
    return RtEntries().callCoreCommand(routine, n, block);
}

inline ArgValue LibCommand(int32_t library, CommandRoutine routine, std::initializer_list<ArgValue> args) {
    ArgValue block[16];
    int32_t n = 0;
    for (const ArgValue& a : args)
        if (n < 16) block[n++] = a;
    return RtEntries().callLibCommand(library, routine, n, block);
}

// Part -1: the whole property.
inline uint64_t Read(uint32_t windowId, uint32_t unitId, int32_t index) {
    return RtEntries().readProperty(windowId, unitId, index, -1);
}

inline void Write(uint32_t windowId, uint32_t unitId, int32_t index, uint64_t value) {
    RtEntries().writeProperty(windowId, unitId, index, -1, static_cast<uint32_t>(value),
                              static_cast<uint32_t>(value >> 32));
}

inline void* AsPointer(uint64_t value) { return reinterpret_cast<void*>(static_cast<uintptr_t>(value)); }
inline uint64_t PointerBits(const void* p) { return static_cast<uint64_t>(reinterpret_cast<uintptr_t>(p)); }

}  // namespace rt::raw
