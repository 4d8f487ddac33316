#include "runtime/app.h"

#include "runtime/program_descriptor.h"

namespace {
const ProgramDescriptor* g_descriptor = nullptr;
}  // namespace

// Constructed by static initialisation, before the program's main routine runs. Other
// runtime state that must outlive it lives on the heap (see the form framework's lists).
Application g_application;

Application::Application() { InitializeCriticalSection(&lock); }

Application::~Application() {
    // A normal end: the tools' entry routine returned and the process is exiting.
    if (initialised && !shutdownDone && GetCurrentThreadId() == mainThreadId) {
        RunShutdown();
        shutdownDone = true;
    }
}

Application& App() { return g_application; }

void UseProgramDescriptor(const ProgramDescriptor* descriptor) { g_descriptor = descriptor; }
const ProgramDescriptor* ActiveProgramDescriptor() { return g_descriptor; }
