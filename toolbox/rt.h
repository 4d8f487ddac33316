// The tools' typed layer over the runtime entry table: builds argument records and calls
// through the table, so tool code reads like the work it does. Every call goes through
// RtEntries(); tool code never calls a runtime routine directly.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "runtime/command.h"
#include "runtime/entries.h"
#include "runtime/value.h"

namespace rt {

inline const RtEntryTable& Entries() { return RtEntries(); }

// A unit of the main window, as the tools name it in argument records.
struct UnitRef {
    uint32_t windowId;
    uint32_t unitId;
    uint32_t typeCode;
    ArgValue Arg() const { return ArgValue::OfUnit(windowId, unitId, typeCode); }
};

inline intptr_t OtherHelp(int32_t service, intptr_t a1 = 0, intptr_t a2 = 0, intptr_t a3 = 0, intptr_t a4 = 0,
                          intptr_t a5 = 0, intptr_t a6 = 0) {
    return Entries().otherHelp(service, a1, a2, a3, a4, a5, a6);
}

inline void InitialiseRuntime() { OtherHelp(kServiceInitialise); }
inline void RegisterExitRoutine(void (*routine)(int32_t)) {
    OtherHelp(kServiceRegisterExitRoutine, reinterpret_cast<intptr_t>(routine));
}
inline void LoadStartWindow(uint32_t windowId) { Entries().loadStartWindow(windowId); }
inline void MessageLoop() { Entries().messageLoop(); }
inline void Free(void* block) { Entries().free(block); }

// A core command with the given argument records (copied: commands may write into them).
inline ArgValue Command(CommandRoutine routine, std::initializer_list<ArgValue> args) {
    ArgValue block[16];
    int32_t n = 0;
    for (const ArgValue& a : args)
        if (n < 16) block[n++] = a;
    return Entries().callCoreCommand(routine, n, block);
}
inline ArgValue LibCommand(int32_t library, CommandRoutine routine, std::initializer_list<ArgValue> args) {
    ArgValue block[16];
    int32_t n = 0;
    for (const ArgValue& a : args)
        if (n < 16) block[n++] = a;
    return Entries().callLibCommand(library, routine, n, block);
}

// Property access by index; part -1 is the whole property.
inline uint64_t Read(const UnitRef& unit, int32_t index) {
    return Entries().readProperty(unit.windowId, unit.unitId, index, -1);
}
inline void Write(const UnitRef& unit, int32_t index, uint64_t value) {
    Entries().writeProperty(unit.windowId, unit.unitId, index, -1, static_cast<uint32_t>(value),
                            static_cast<uint32_t>(value >> 32));
}
inline void WriteInt(const UnitRef& unit, int32_t index, int32_t value) {
    Write(unit, index, static_cast<uint32_t>(value));
}
// Texts are passed as a pointer; the runtime does not take the text over.
inline void WriteText(const UnitRef& unit, int32_t index, const char* text) {
    Write(unit, index, static_cast<uint64_t>(reinterpret_cast<uintptr_t>(text)));
}
// A fresh text owned by the caller (may be null for the empty text).
inline char* ReadText(const UnitRef& unit, int32_t index) {
    return reinterpret_cast<char*>(static_cast<uintptr_t>(Read(unit, index)));
}

}  // namespace rt
