// The five support libraries of the runtime, numbered 1 to 5: the high half of a unit type
// code is the library number, the low half the 1-based position in its unit type table.
// Libraries 1 to 3 hold the unit types as the list of unit types places them
// (controls/unit_types.h), library 3 also the list view's commands; libraries 4 and 5 have
// commands only, defined with them in the runtime (runtime/threads.cpp,
// runtime/commands/shell_commands.cpp). A program's descriptor points at SupportLibraries().
#pragma once

#include "runtime/command.h"

extern const LibraryInfo kCoreUnitLibrary;      // 1
extern const LibraryInfo kPageControlLibrary;   // 2
extern const LibraryInfo kExtendedUnitLibrary;  // 3
extern const LibraryInfo kThreadLibrary;        // 4 (runtime/threads.cpp)
extern const LibraryInfo kShellLibrary;         // 5 (runtime/commands/shell_commands.cpp)

// The five records in library order, for ProgramDescriptor::supportLibraries.
const LibraryInfo* const* SupportLibraries();

// The unit type of a type code in these libraries, whether or not a program runs on them;
// null for none.
const UnitTypeInfo* SupportedUnitType(uint32_t typeCode);
