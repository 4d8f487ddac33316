// Start-up of a program built on the runtime: the framework's part (module directory,
// the tools' entry routine) and the runtime's own initialisation (service 6).
#pragma once

#include <windows.h>

#include <cstdint>

struct ProgramDescriptor;

// The framework's main routine: stores the module directory, runs the tools' entry routine
// and returns its result. The descriptor names the program's code, constants and template.
int RunApplication(HINSTANCE instance, const ProgramDescriptor* descriptor, int32_t (*entryRoutine)());

// RtOtherHelp service 6.
intptr_t InitialiseRuntime();

// Resets the floating-point unit to its default control state (nearest, full precision).
void ResetFloatingPointUnit();
