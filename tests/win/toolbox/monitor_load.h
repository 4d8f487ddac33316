// The network monitor of the real program under load, driven from outside: clicks faster
// than a cashier makes them, many hosts, and the process's threads counted meanwhile.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "tests/win/toolbox/toolbox_driver.h"

// Threads of a process, counted in the system's thread list.
DWORD ThreadCountOf(DWORD pid);

// `clicks` left clicks on the unit within about `withinMs`, without waiting for the program in
// between. Alternate clicks land 6 pixels apart, so that no two make a double click.
void ClickRapidly(Toolbox& toolbox, rt::AnyUnit unit, int clicks, DWORD withinMs);

// Waits until the process has at most `threads` threads; false after the timeout.
bool WaitForThreads(DWORD pid, DWORD threads, DWORD timeoutMs);

// `count` lab hosts: host i answers after (i * 37) % span + first milliseconds, every ninth one
// of them at once (127.0.0.x) when `first` is 0.
std::vector<std::pair<std::string, std::string>> LabHosts(int count, int first, int span);
