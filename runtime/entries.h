// The table of thirteen runtime entries: the only way the tools' code reaches the runtime.
#pragma once

#include <cstddef>
#include <cstdint>

#include "runtime/command.h"
#include "runtime/value.h"

// The runtime-side entry points, in slot order.
[[noreturn]] void RtReportError(int32_t code);
void* RtCallDllCommand(int32_t index);
ArgValue RtCallLibCommand(int32_t library, CommandRoutine routine, int32_t count, ArgValue* args);
ArgValue RtCallCoreCommand(CommandRoutine routine, int32_t count, ArgValue* args);
uint64_t RtReadProperty(uint32_t windowId, uint32_t unitId, int32_t index, int32_t part);
void RtWriteProperty(uint32_t windowId, uint32_t unitId, int32_t index, int32_t part, uint32_t low, uint32_t high);
void* RtAlloc(size_t byteCount);
void* RtRealloc(void* block, size_t byteCount);
void RtFree(void* block);
[[noreturn]] void RtExitProcess(int32_t exitCode);
void RtMessageLoop();
void RtLoadStartWindow(uint32_t windowId);
intptr_t RtOtherHelp(int32_t service, intptr_t a1, intptr_t a2, intptr_t a3, intptr_t a4, intptr_t a5, intptr_t a6);

intptr_t RtNotify(int32_t code, intptr_t p1, intptr_t p2);

struct RtEntryTable {
    void (*reportError)(int32_t code);
    // Resolves DLL command `index` and gives its routine's address; the caller makes the
    // call itself with the routine's own arguments (see dll_call.h).
    void* (*callDllCommand)(int32_t index);
    ArgValue (*callLibCommand)(int32_t library, CommandRoutine routine, int32_t count, ArgValue* args);
    ArgValue (*callCoreCommand)(CommandRoutine routine, int32_t count, ArgValue* args);
    uint64_t (*readProperty)(uint32_t windowId, uint32_t unitId, int32_t index, int32_t part);
    void (*writeProperty)(uint32_t windowId, uint32_t unitId, int32_t index, int32_t part, uint32_t low, uint32_t high);
    void* (*alloc)(size_t byteCount);
    void* (*realloc)(void* block, size_t byteCount);
    void (*free)(void* block);
    void (*exitProcess)(int32_t exitCode);
    void (*messageLoop)();
    void (*loadStartWindow)(uint32_t windowId);
    intptr_t (*otherHelp)(int32_t service, intptr_t, intptr_t, intptr_t, intptr_t, intptr_t, intptr_t);
};

const RtEntryTable& RtEntries();

// RtOtherHelp services.
enum OtherHelpService : int32_t {
    kServiceFindFile = 0,
    kServiceCloseFind = 1,
    kServiceMakeArrayWritable = 2,
    kServiceRegisterExitRoutine = 3,
    kServiceReadObjectProperty = 4,
    kServiceWriteObjectProperty = 5,
    kServiceInitialise = 6,
};

// RtNotify codes.
enum NotifyCode : int32_t {
    kNotifyWindowList = 1001,
    kNotifyTypeInfo = 1002,
    kNotifyAddIdleCallback = 1012,
    kNotifyRemoveIdleCallback = 1013,
    kNotifyRunDirectory = 2003,
    kNotifyProgramFileName = 2004,
    kNotifyLookUpUnit = 2006,
    kNotifyResolveUnit = 2007,
    kNotifyRaiseEvent = 2008,
    kNotifyWindowLoadStart = 2009,
    kNotifyWindowLoadEnd = 2010,
    kNotifyFileKind = 2011,
    kNotifyAddFile = 2012,
    kNotifyRemoveFile = 2013,
    kNotifyAlloc = 2024,
    kNotifyFree = 2025,
    kNotifyPageChanged = 2039,
};
