// The super list box: the platform's list-view control ("SysListView32") as a unit, and the commands of
// library 3 that work on it (eight on its rows and columns, and one that runs a batch of them on
// its window thread).
//
// Creation: style 0x46000000 (child, clip siblings, clip children), the view style and the
// styles of the type-specific properties; extended list-view style 0x402 (sub-item
// images, info tips) plus the extended styles of the properties. Then, in this order: the
// font, the item image list, the state image list, in report view the header image list,
// the three colours, the border, with hot tracking the hot cursor, in report view the
// form's columns, the form's rows (after deleting all rows) and the current selection.
//
// A property write either takes effect at once or answers 1, so that the framework builds
// the window again from GetAllPropertyData (which keeps the form's columns and rows only):
//   at once                     8-12, 16 (icon views), 18 (report view), 19, 24, 25, 35, 37
//   rebuild                     13, 26, 30-34, 36
//   rebuild in the icon views   14, 15
//   rebuild in report view      17, 20-23
//   rebuild while hot tracking  27-29
// Image lists (19, 24, 25) are "MITL" blocks: the mark, 4 unread bytes, an ImageList_Write
// stream; anything shorter or unmarked means no image list.
#pragma once

#include <memory>

#include "controls/row_tip.h"
#include "forms/unit_type.h"

#include "runtime/command.h"

// The commands, each (UnitRef, arguments...); callable from any thread: every one is a
// message sent to the control, carried out on the thread that owns it. Omitted optional
// arguments (tag 0) take the defaults given.
void ListViewRowCount(ArgValue* result, int32_t count, ArgValue* args);      // -> int rows
void ListViewCellText(ArgValue* result, int32_t count, ArgValue* args);      // row, [col 0] -> fresh text
void ListViewSetCellText(ArgValue* result, int32_t count, ArgValue* args);   // row, [col 0], [text ""]
void ListViewSetCellImage(ArgValue* result, int32_t count, ArgValue* args);  // row, [col 0], [image -1]
void ListViewEnsureVisible(ArgValue* result, int32_t count, ArgValue* args); // row
// [index append], [title ""], [width 50], [alignment], [image], [image on the right] -> index or -1
void ListViewInsertColumn(ArgValue* result, int32_t count, ArgValue* args);
void ListViewColumnWidth(ArgValue* result, int32_t count, ArgValue* args);   // column -> width, 0 if none
// [index append], [text ""], [image -1], [check state], [indent], [data] -> index or -1
void ListViewInsertRow(ArgValue* result, int32_t count, ArgValue* args);
// routine, [parameter]: calls routine(parameter) on the thread that owns the list's window and
// waits for it. A worker that writes many cells does so in one trip: on that thread each
// command above is a plain call instead of a message and a thread switch.
using ListViewBatchRoutine = void (*)(void* parameter);
void ListViewRunBatch(ArgValue* result, int32_t count, ArgValue* args);

// Library 3's command table, in the order above.
constexpr uint32_t kListViewCommandCount = 9;
extern const CommandRoutine kListViewCommands[kListViewCommandCount];

// The unit type's operations, and whether a unit object is a list view unit.
extern const UnitOperations kListViewOperations;
class UnitObject;
bool IsListView(const UnitObject* unit);

// Tips for the rows of a list view unit's window (controls/row_tip.h), kept with the unit and
// gone with its window; false when the window is no list view. Call on the window's thread.
bool AttachRowTips(intptr_t listWindow, std::unique_ptr<RowTipSource> source);

// Hands `record` for `row` to the list's tip source on the list's window thread and returns
// once it is taken (the record is read only during the call). Any thread; a list without
// tips, or a window that has gone, takes nothing.
void SendRowRecord(intptr_t listWindow, int32_t row, const void* record);
