#include "runtime/app.h"

#include "runtime/program_descriptor.h"

namespace {
const ProgramDescriptor* g_descriptor = nullptr;
}  // namespace

// Constructed by static initialisation, before the program's main routine runs.
Application g_application;

Application::Application() { InitializeCriticalSection(&lock); }

Application::~Application() { EndOfProgramShutdown(); }

void EndOfProgramShutdown() {
    // A normal end: the tools' entry routine returned and the process is exiting.
    Application& app = g_application;
    if (!app.initialised || app.shutdownDone || GetCurrentThreadId() != app.mainThreadId) return;
    // A worker's report box that still shows decides the end: its exit code -1, not this one's 0.
    WaitForFatalReportElsewhere();
    RunShutdown();
}

Application& App() { return g_application; }

void UseProgramDescriptor(const ProgramDescriptor* descriptor) { g_descriptor = descriptor; }
const ProgramDescriptor* ActiveProgramDescriptor() { return g_descriptor; }
