// What a process holds, counted from outside its own bookkeeping.
#pragma once

#include <windows.h>

// Handles of the process, counted in the system's handle table (Wine's GetProcessHandleCount
// answers 0).
DWORD HandleCountOf(DWORD pid);
