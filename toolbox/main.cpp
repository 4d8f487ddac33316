// The program's entry: the framework hands control to the tools' start routine.
#include <windows.h>

#include "runtime/program_descriptor.h"
#include "runtime/startup.h"
#include "toolbox/start_tools.h"

extern const ProgramDescriptor kProgramDescriptor;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    return RunApplication(instance, &kProgramDescriptor, &StartTools);
}
