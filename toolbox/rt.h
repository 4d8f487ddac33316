// The tools' typed layer over the runtime entry table, the one header tool code includes.
// Units are named by the constants generated from the form (main_window_units.h), their
// properties by name (toolbox/rt/units.h); commands are typed calls that build the
// argument records and go through the entry table (toolbox/rt/commands.h, dll_commands.h);
// texts that come back free themselves (toolbox/rt/text.h). Tool code never writes a unit
// id, a property index or an RtFree.
//
//     void ShowCashierHeading() {
//         int32_t index = Get(收银员组合框, ComboBox::CurrentSelection);
//         Set(标签1, Label::Caption, Concat({ComboItemText(收银员组合框, index), "盘货信息统计"}));
//     }
#pragma once

#include <cstdint>

#include "main_window_units.h"
#include "runtime/entries.h"
#include "toolbox/rt/commands.h"
#include "toolbox/rt/dll_commands.h"
#include "toolbox/rt/text.h"
#include "toolbox/rt/units.h"

namespace rt {

// The runtime's start-up services, in the order the start routine uses them.
inline void InitialiseRuntime() { RtEntries().otherHelp(kServiceInitialise, 0, 0, 0, 0, 0, 0); }
inline void RegisterExitRoutine(void (*routine)(int32_t)) {
    RtEntries().otherHelp(kServiceRegisterExitRoutine, reinterpret_cast<intptr_t>(routine), 0, 0, 0, 0, 0);
}
inline void LoadStartWindow(Unit<Window> window) { RtEntries().loadStartWindow(window.windowId); }
inline void MessageLoop() { RtEntries().messageLoop(); }

}  // namespace rt
