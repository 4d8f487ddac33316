// Loading a window from its template entry, and what happens when a loaded window goes.
#pragma once

#include <windows.h>

#include <cstdint>

struct WindowEntry;

// Creates the window and all of its units (load flag, modal flag, owner window). A modal
// load runs the message loop until the window is closed. False when the window itself
// cannot be created or the owner handle is not a window.
bool LoadWindow(WindowEntry& entry, intptr_t loadFlag, bool modal, HWND owner);

// Called by the window object when its window is finally destroyed: releases the unit
// objects and cursors, takes the window off the loaded-window list,
// re-enables what a modal load disabled, and ends the message loop after the last window.
void WindowUnloaded(WindowEntry& entry);

// The window's focus rule when it gets the focus without a remembered child: the unit with
// the smallest tab order among the visible, enabled tab-stop units that take the focus,
// walking the table from the last position down (the first met wins on equal order).
void FocusFirstUnit(WindowEntry& entry);
