// The window list: every window of the template with its unit table, and per loaded window
// the live objects and cursors of its units.
//
// The parsed records stay as they were read (`records`); each load works on a copy of them
// (`working`), so property writes of one load never change the next. Live object pointers,
// cursor handles and resolved event handlers have pointer width and are kept beside the
// records, index for index, instead of in the records' 32-bit slots.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "forms/template_image.h"
#include "forms/unit_type.h"
#include "runtime/win32_handles.h"

class UnitObject;

struct LiveSlot {
    UnitObject* object = nullptr;
    HCURSOR cursor = nullptr;   // shown over the unit: a system cursor, or madeCursor
    win::Cursor madeCursor;     // made from the record's cursor data, and released with the slot
    bool hiddenByPage = false;  // listed after the first page of a page control at load

    // The cursor a record's cursor data asks for (none: the standard cursor).
    void SetCursor(const std::vector<uint8_t>& cursorData);
};

struct WindowEntry {
    uint32_t id = 0;
    uint32_t attributeA = 0;
    uint32_t attributeB = 0;
    std::string name;
    std::string comment;
    std::vector<UnitRecord> records;                 // as read from the template
    std::vector<std::vector<uintptr_t>> handlers;    // per record, per event entry: address or 0
    uintptr_t menuItemHandler = 0;                   // unused: no menu format in this system

    // One load.
    std::vector<UnitRecord> working;                 // copy of `records` made by LoadWindow
    std::vector<LiveSlot> live;                      // beside `working`
    bool loaded = false;                             // in the loaded-window list
    bool destroying = false;                         // being destroyed: its events are dropped
    bool closed = false;                             // was loaded, and its window has gone since
    intptr_t loadFlag = 0;
    bool modal = false;
    std::atomic<bool> modalActive = false;
    std::vector<HWND> disabledByModal;
    HWND lastFocus = nullptr;                        // child that had the focus at deactivation

    // The records of the current load, or the template's while not loaded.
    const std::vector<UnitRecord>& Records() const { return loaded ? working : records; }
    UnitRecord* WorkingRecord(size_t position) { return position < working.size() ? &working[position] : nullptr; }
    // Position of a unit id in the table (0 names the window's own record), or -1.
    int FindPosition(uint32_t unitId) const;
    UnitObject* ObjectAt(size_t position) const { return position < live.size() ? live[position].object : nullptr; }
    UnitObject* WindowObject() const { return ObjectAt(0); }
};

struct WindowList {
    std::vector<WindowEntry*> windows;  // template order; entries are never freed while the program runs
};

WindowList& TheWindowList();

// Reads the template into the window list, resolving handler offsets against the base:
// 0xFFFFFFFF becomes 0 (no handler), any other offset base + offset. False for a malformed
// image (the window list is left as it was), and, when the event code's length is given, for
// a handler offset that names no handler entry inside it.
bool LoadTemplate(const uint8_t* image, size_t length, uintptr_t eventCodeBase, size_t eventCodeLength);

WindowEntry* FindWindowEntry(uint32_t windowId);
// The entry only while the window is loaded.
WindowEntry* FindLoadedWindow(uint32_t windowId);

// True when no unit of `unit`'s loaded window but `unit` itself shows inside `container` (a
// unit of that window, or the window) anywhere in the screen rectangle. Every window inside a
// loaded window is a unit's, so this answers from the runtime's own list, without asking the
// window server for the children.
bool NoOtherUnitShowsIn(const UnitObject& unit, const UnitObject& container, const RECT& screenArea);

// A worker thread that reaches for a unit of a window that has been closed, or after the
// program's end has begun, ends here without a word (EndThisWorker: its stack is unwound, so
// what it holds is released): the program is ending, and a fatal report of a missing window
// or unit would only be the end of a worker the user never sees. Does nothing on the main
// thread, or while the window has not been closed.
void EndWorkerOfClosedWindow(uint32_t windowId);
int FindWindowIndex(uint32_t windowId);

// The live object of a loaded window (record 0), or null when it is not loaded or its
// window handle is no longer valid.
UnitObject* FindWindowObject(int windowIndex);
// The object in the unit's slot, or null when the window or the unit is missing or the
// unit was not created.
UnitObject* FindUnitObject(uint32_t windowId, uint32_t unitId);
// Position of the unit whose object owns the window handle; with searchParents also a
// child window of a unit whose type has the edit-child bits, and then the handle's parent
// once. -1 when nothing matches (the window's own record answers -1 too).
int FindUnitByHandle(const WindowEntry& entry, HWND hwnd, bool searchParents);

// The unit type of a type code, through the running program's support library table; null
// when the program named none.
const UnitTypeInfo* FindUnitType(uint32_t typeCode);

// Called by a unit object when its window is finally destroyed: clears its slot.
void UnitWindowGone(UnitObject* object);
// The cursor the unit's record asks for, or null for the standard cursor.
HCURSOR UnitCursor(const UnitObject* object);
// The cursor a record's cursor data asks for: a system cursor, or one built from the data
// into *made; null for the standard cursor.
HCURSOR CursorFromData(const std::vector<uint8_t>& data, win::Cursor* made);

// For a unit whose type shows pages of units (kTypeShowsPages): the units of the page are
// shown and the others hidden. `page` < 0 asks the control for its current page (its
// operation, interface 10) and moves the focus.
void ShowPageUnits(WindowEntry& entry, int controlPosition, int page);
