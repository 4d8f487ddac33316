// What the form framework does for the runtime core: the window list built from the
// template, the start window, message pre-processing, idle events, the shutdown, the
// notification codes of windows and units, and property access. kFormsRuntimeHooks hands
// all of it to the runtime through the program descriptor.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "runtime/runtime_hooks.h"

extern const RuntimeHooks kFormsRuntimeHooks;

// Reads the template image into the window list, resolving handler offsets against the
// event-code base. False when the image is malformed, or names a handler outside the event
// code of that length (when one is given).
bool LoadTemplate(const uint8_t* image, size_t length, uintptr_t eventCodeBase, size_t eventCodeLength = 0);

// Loads the window with that id as a non-modal window; false when the id is unknown or
// the load fails.
bool LoadStartWindowById(uint32_t windowId);

// True while at least one window of the window list has a live native window.
bool AnyLoadedWindowAlive();

// The window's message pre-processing: turns input messages into unit events.
// True when a handler consumed the message.
bool PreTranslateFormsMessage(MSG* msg);

// The idle events of the loaded windows (counters of 2 and more). `startIdlePeriod` clears
// the list of windows that declined idle time. True when some window asked for more.
bool FireWindowIdleEvents(uint32_t elapsedMs, bool startIdlePeriod);
// Whether a loaded window has a handler for its idle event.
bool AnyWindowHandlesIdle();

// Shutdown: events are no longer dispatched; every loaded window is destroyed.
void SuspendEventDispatchForShutdown();
void DestroyAllLoadedWindows();
void ReleaseRuntimeUnitObjects();

// Notification codes served by the form framework (1001, 1002, 2006 to 2010, 2039).
// False when the code is not one of them.
bool FormsNotify(int32_t code, intptr_t p1, intptr_t p2, intptr_t* result);

// Services 4 and 5 of RtOtherHelp: property access by type tag and unit object.
uint64_t ReadObjectProperty(uint32_t typeTag, void* unitObject, int32_t index, int32_t part);
void WriteObjectProperty(uint32_t typeTag, void* unitObject, int32_t index, int32_t part, uint64_t value);
