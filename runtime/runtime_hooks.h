// What the layer above the runtime (the form framework) does at the runtime's start-up, in
// its message loop, at its shutdown, in the notification service and behind the property
// entries. The runtime never calls up into that layer except through this table, which the
// program descriptor names (ProgramDescriptor::hooks).
//
// Every hook may be left null: its default is what a runtime without windows does, so such
// a runtime starts and ends cleanly (no template to read, no window alive, nothing to
// pre-translate or dispatch, nothing to release).
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

struct RuntimeHooks {
    // Start-up: reads the template image into the window list, resolving handler offsets
    // against the event-code base. False for a malformed image. Default: nothing to read.
    bool (*loadTemplate)(const uint8_t* image, size_t length, uintptr_t eventCodeBase,
                         size_t eventCodeLength);
    // RtLoadStartWindow: false when the id is unknown or the load fails. Default: false.
    bool (*loadStartWindow)(uint32_t windowId);

    // The message loop. A message the hook consumed is not dispatched (default: none); the
    // windows' idle events ask for more idle time (default: no), and whether any window
    // handles its idle event at all (default: none); the loop runs only while some window
    // lives (default: none).
    bool (*preTranslateMessage)(MSG* msg);
    bool (*fireIdleEvents)(uint32_t elapsedMs, bool startIdlePeriod);
    bool (*idleEventHandled)();
    bool (*anyWindowAlive)();

    // Shutdown, in this order: events stop, the windows go (before the exit routines), then
    // after the libraries and modules the default icons and the unit objects. Default: nothing.
    void (*suspendEventDispatch)();
    void (*destroyWindows)();
    void (*releaseDefaultIcons)();
    void (*releaseUnitObjects)();

    // Notification codes the runtime does not serve itself; false when the code is not one
    // of the hook's. Default: false (the answer is 0).
    bool (*notify)(int32_t code, intptr_t p1, intptr_t p2, intptr_t* result);
    // The native window of a loaded window (unit id 0) or of one of its units; null when it
    // has none (a message box owned by a window asks). Default: null.
    HWND (*unitWindow)(uint32_t windowId, uint32_t unitId);

    // RtReadProperty and RtWriteProperty. Default: no window is loaded, which is the fatal
    // runtime error of a property access to a window not loaded.
    uint64_t (*readProperty)(uint32_t windowId, uint32_t unitId, int32_t index, int32_t part);
    void (*writeProperty)(uint32_t windowId, uint32_t unitId, int32_t index, int32_t part, uint64_t value);
    // RtOtherHelp services 4 and 5, the unit named by its object. Default: 0, nothing written.
    uint64_t (*readObjectProperty)(uint32_t typeTag, void* unitObject, int32_t index, int32_t part);
    void (*writeObjectProperty)(uint32_t typeTag, void* unitObject, int32_t index, int32_t part, uint64_t value);
};

// The runtime's calls through the active program descriptor's hooks, each with its default.
namespace hook {
bool LoadTemplate(const uint8_t* image, size_t length, uintptr_t eventCodeBase,
                         size_t eventCodeLength);
bool LoadStartWindow(uint32_t windowId);
bool PreTranslateMessage(MSG* msg);
bool FireIdleEvents(uint32_t elapsedMs, bool startIdlePeriod);
bool IdleEventHandled();
bool AnyWindowAlive();
void SuspendEventDispatch();
void DestroyWindows();
void ReleaseDefaultIcons();
void ReleaseUnitObjects();
bool Notify(int32_t code, intptr_t p1, intptr_t p2, intptr_t* result);
HWND UnitWindow(uint32_t windowId, uint32_t unitId);
uint64_t ReadProperty(uint32_t windowId, uint32_t unitId, int32_t index, int32_t part);
void WriteProperty(uint32_t windowId, uint32_t unitId, int32_t index, int32_t part, uint64_t value);
uint64_t ReadObjectProperty(uint32_t typeTag, void* unitObject, int32_t index, int32_t part);
void WriteObjectProperty(uint32_t typeTag, void* unitObject, int32_t index, int32_t part, uint64_t value);
}  // namespace hook
