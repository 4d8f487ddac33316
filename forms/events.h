// Unit events: raising them, finding their handlers in the window template, the window's
// message pre-processing that turns input messages into the common events (CommonEvents,
// forms/unit_events.h), and the idle events of the windows.
#pragma once

#include <windows.h>

#include <cstdint>

#include "runtime/value.h"

constexpr int kMaxEventArgs = 12;

// What a unit hands to the runtime to raise an event (notification 2008 points at one).
struct EventRecord {
    uint32_t windowId = 0;   // the window reference
    uint32_t unitId = 0;     // 0: the window itself
    int32_t eventNumber = 0;
    int32_t argCount = 0;
    ArgValue args[kMaxEventArgs];
    int64_t result = 0;      // the handler's result when hasResult is set
    int32_t hasResult = 0;
};

// Raises the event. False when nothing ran: dispatch suspended, or no handler. A window
// that is not loaded, a unit the window does not have, and a unit whose type raises no
// events are fatal runtime errors.
bool RaiseEvent(EventRecord* record);

// The handler's address for the event, following the unit's event source chain; 0 when
// the unit has no handler for it. Fatal in the same cases as RaiseEvent.
uintptr_t FindEventHandler(uint32_t windowId, uint32_t unitId, int32_t eventNumber);

// The unit whose handler is running (innermost), readable by commands; active is false
// outside handlers.
struct EventSource {
    bool active = false;
    uint32_t windowId = 0;
    uint32_t unitId = 0;
    int32_t eventNumber = 0;
};
EventSource CurrentEventSource();

#if MG_TEST_HOOKS
// Tests watch every event that is raised (handler or not) while an observer is set; null
// stops watching.
using EventObserver = void (*)(const EventRecord& record);
void ObserveEvents(EventObserver observer);
#endif

// The suspension counter: events are dropped while it is above 0 (program end, unit rebuild).
void SuspendEvents();
void ResumeEvents();
bool EventsSuspended();

// Dialog keys of a loaded window: Tab and Shift+Tab move between tab-stop units unless the
// focused unit wants the key itself. True when the message was used.
bool HandleDialogKeys(MSG* msg);
