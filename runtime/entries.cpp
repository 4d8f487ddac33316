#include "runtime/entries.h"

#include "runtime/app.h"
#include "runtime/fatal.h"
#include "runtime/heap.h"
#include "runtime/runtime_hooks.h"
#include "runtime/threads.h"
#include "runtime/worker_gate.h"

namespace {

// Runtime entries with return types that differ from the table's ([[noreturn]] functions
// convert to the table's plain pointer types).
void ReportErrorEntry(int32_t code) { RtReportError(code); }
void ExitProcessEntry(int32_t code) { RtExitProcess(code); }

const RtEntryTable kEntries = {
    &ReportErrorEntry, &RtCallDllCommand, &RtCallLibCommand, &RtCallCoreCommand, &RtReadProperty,
    &RtWriteProperty,  &RtAlloc,          &RtRealloc,        &RtFree,            &ExitProcessEntry,
    &RtMessageLoop,    &RtLoadStartWindow, &RtOtherHelp,
};

}  // namespace

const RtEntryTable& RtEntries() { return kEntries; }

namespace {

ArgValue Call(CommandRoutine routine, int32_t count, ArgValue* args) {
    ArgValue result;  // all three words 0
    routine(&result, count, args);
    return result;
}

bool IsThreadLibrary(int32_t library) {
    const Application& app = App();
    return app.libraries && library >= 0 && static_cast<uint32_t>(library) < app.libraryCount &&
           app.libraries[library] == &kThreadLibrary;
}

}  // namespace

ArgValue RtCallCoreCommand(CommandRoutine routine, int32_t count, ArgValue* args) {
    WorkerEntry entry;
    return Call(routine, count, args);
}

ArgValue RtCallLibCommand(int32_t library, CommandRoutine routine, int32_t count, ArgValue* args) {
    // The thread library touches no window, and a worker that holds a critical section must
    // still get to leave it at the end: another may be waiting to enter.
    if (IsThreadLibrary(library)) return Call(routine, count, args);
    WorkerEntry entry;
    return Call(routine, count, args);
}

// Properties belong to the windows and their units: the form framework answers them.
uint64_t RtReadProperty(uint32_t windowId, uint32_t unitId, int32_t index, int32_t part) {
    WorkerEntry entry;
    return hook::ReadProperty(windowId, unitId, index, part);
}

void RtWriteProperty(uint32_t windowId, uint32_t unitId, int32_t index, int32_t part, uint32_t low, uint32_t high) {
    WorkerEntry entry;
    hook::WriteProperty(windowId, unitId, index, part, (static_cast<uint64_t>(high) << 32) | low);
}
