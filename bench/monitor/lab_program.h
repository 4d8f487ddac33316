// The real tools on the real main window inside this process, for the monitor's benchmarks:
// set up as at start-up in a directory that holds the lab's host files.
#pragma once

#include <windows.h>

#include <string>

// Starts the tools as if the program lay in `directory` and waits until both result lists
// are loaded; returns the number of rows.
int StartToolsIn(const char* directory);
void PumpFor(DWORD ms);
// Pumps the window's messages until `done` is signalled.
void PumpUntil(HANDLE done);
double ProcessCpuMs();
// utime + stime of a Linux process in ms (its /proc entry, through Wine's Z: drive); 0 when
// the pid is empty or unknown.
double UnixProcessCpuMs(const std::string& pid);
DWORD ProcessThreadCount();
// Handles of this process, counted in the system's handle table (Wine's GetProcessHandleCount
// answers 0).
DWORD ProcessHandleCount();
