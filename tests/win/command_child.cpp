// A program on the runtime for command tests that end the process: fatal DLL command
// resolution, the stack check after a DLL call.
#include <windows.h>

#include <string>
#include <vector>

#include "controls/support_libraries.h"
#include "controls/unit_types.h"
#include "forms/forms_runtime.h"
#include "forms/unit_commands.h"
#include "runtime/app.h"
#include "runtime/commands/core_commands.h"
#include "runtime/dll_call.h"
#include "runtime/entries.h"
#include "runtime/program_descriptor.h"
#include "runtime/startup.h"
#include "tests/win/child_args.h"

namespace {

std::vector<std::wstring> g_args;

// DLL commands: 0 a routine missing from a library that exists, 1 a routine missing from
// every standard library, 2 a library that does not exist, 3 a caller-cleans routine.
const char* const kLibraries[] = {"kernel32", "", "mg_no_such_library.dll", "mgprobe.dll"};
const char* const kRoutines[] = {"MgNoSuchRoutine", "MgNoSuchRoutine", "GetTickCount", "CdeclPair"};

alignas(8) const char kConstants[] = "";
const ProgramDescriptor kDescriptor = {
    3, 0, 66502, 0, kConstants, sizeof kConstants, nullptr, 0, kSupportLibraryCount, SupportLibraries(), 4, kLibraries,
    kRoutines, &kFormsRuntimeHooks,
};

int32_t Entry() {
    RtEntries().otherHelp(kServiceInitialise, 0, 0, 0, 0, 0, 0);
    const std::wstring& mode = g_args.at(1);
    if (mode == L"dll-call") {
        int32_t index = _wtoi(g_args.at(2).c_str());
        CallDllCommand(index, {DllArg::Of(1), DllArg::Of(2)});
        return 3;  // only reached when the call succeeded
    }
    // Units of a window that is not loaded: resolving them is fatal.
    ArgValue unit = ArgValue::OfUnit(0x52990001, 0x16010001, kTypeEditBox);
    ArgValue window = ArgValue::OfUnit(0x52990001, kWindowRecordId, kTypeWindow);
    ArgValue result;
    if (mode == L"missing-unit") GetWindowHandle(&result, 1, &unit);
    if (mode == L"find-in-unloaded-window") FindUnits(&result, 1, &window);
    return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    g_args = ChildArguments();
    if (g_args.size() < 2) return 2;
    return RunApplication(instance, &kDescriptor, &Entry);
}
