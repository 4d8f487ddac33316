// The five support libraries of the runtime, numbered 1 to 5: the high half of a unit type
// code is the library number, the low half the 1-based position in its unit type table.
//   1 core units: window (1), EditBox (5), GroupBox (9), Label (10), Button (11),
//     ComboBox (14), ListBox (15), Timer (32)
//   2 PageControl (2)
//   3 StatusBar (2), ListView (4), TransLabel (5)
//   4, 5 commands only
// A program's descriptor points at SupportLibraries(). They are put together here, above the
// layers that define their parts: the unit types of the form framework (library 1 and the
// status bar) and of the controls, and libraries 4 and 5, defined with their commands in the
// runtime (runtime/threads.cpp, runtime/commands/shell_commands.cpp).
#pragma once

#include "runtime/command.h"

extern const LibraryInfo kCoreUnitLibrary;      // 1
extern const LibraryInfo kPageControlLibrary;   // 2
extern const LibraryInfo kExtendedUnitLibrary;  // 3
extern const LibraryInfo kThreadLibrary;        // 4 (runtime/threads.cpp)
extern const LibraryInfo kShellLibrary;         // 5 (runtime/commands/shell_commands.cpp)

// The five records in library order, for ProgramDescriptor::supportLibraries.
const LibraryInfo* const* SupportLibraries();
