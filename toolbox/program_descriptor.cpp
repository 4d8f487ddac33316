// The program descriptor: what the runtime initialises itself from.
#include "runtime/program_descriptor.h"

#include "controls/support_libraries.h"
#include "forms/event_handler.h"
#include "forms/forms_runtime.h"
#include "toolbox/dll_command_table.h"
#include "toolbox/tool_constants.h"

extern const unsigned char kMainWindowTemplate[];
extern const uint32_t kMainWindowTemplateSize;
extern const EventHandlerEntry kToolEventCode[];
extern const uint32_t kToolEventCodeCount;

namespace {
const LibraryInfo* const kLibraries[kSupportLibraryCount] = {
    &kCoreUnitLibrary, &kPageControlLibrary, &kExtendedUnitLibrary, &kThreadLibrary, &kShellLibrary,
};
}  // namespace

extern const ProgramDescriptor kProgramDescriptor = {
    3,
    0,
    66502,
    reinterpret_cast<uintptr_t>(kToolEventCode),
    &kToolConstants,
    sizeof kToolConstants,
    kMainWindowTemplate,
    kMainWindowTemplateSize,
    kSupportLibraryCount,
    kLibraries,
    kDllCommandCount,
    kDllLibraryNames,
    kDllCommandNames,
    &kFormsRuntimeHooks,
    kToolEventCodeCount * static_cast<uint32_t>(sizeof(EventHandlerEntry)),
};
