// The unit commands that the tools reach through RtCallCoreCommand: native handles, focus,
// client size, finding units by name, combo box and list box items. Each is a CommandRoutine:
// (result, count, args); texts and unit lists come back as fresh blocks owned by the caller.
#pragma once

#include <windows.h>

#include <cstdint>

#include "runtime/command.h"
#include "runtime/value.h"

#define MG_COMMAND(name) void name(ArgValue* result, int32_t count, ArgValue* args)

MG_COMMAND(GetWindowHandle);    // UnitRef → native window handle
MG_COMMAND(GetEventSource);     // → UnitRef of the unit whose event handler is running
MG_COMMAND(SetFocus);           // UnitRef
MG_COMMAND(GetClientWidth);     // UnitRef → integer
MG_COMMAND(GetClientHeight);    // UnitRef → integer
MG_COMMAND(FindUnits);          // window, [name], [type name], [min tag], [max tag] → unit list
MG_COMMAND(UnitListCount);      // unit list → integer
MG_COMMAND(UnitListItem);       // unit list, 0-based index → UnitRef
MG_COMMAND(FreeUnitList);       // unit list
MG_COMMAND(ComboItemText);      // combo box, index → text
MG_COMMAND(ListBoxCount);       // list box → integer
MG_COMMAND(ListBoxItemText);    // list box, index → text
MG_COMMAND(ListBoxInsertItem);  // list box, index, text, [item data] → new index or -1

#undef MG_COMMAND
