// The list-view messages that write and read cell texts, handed to the control with each
// text's line breaks kept aside (controls/line_break_cells.h): the control draws, measures
// and compares the text without them, and reading a cell gives the text as it was written.
// Workers' messages reach the list's window thread, so the cells are only touched there.
#pragma once

#include <windows.h>

#include "controls/line_break_cells.h"

// The control's own handling of a message: the window procedure the unit subclassed.
struct ListControlCall {
    LRESULT (*call)(void* context, UINT message, WPARAM wParam, LPARAM lParam);
    void* context;
    LRESULT operator()(UINT message, WPARAM wParam, LPARAM lParam) const {
        return call(context, message, wParam, lParam);
    }
};

// True when the message was one of those, handled through `control`, its answer in *result.
bool HandleCellTextMessage(LineBreakCells& cells, const ListControlCall& control, UINT message, WPARAM wParam,
                           LPARAM lParam, LRESULT* result);
