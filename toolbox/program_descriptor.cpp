// The program descriptor: what the runtime initialises itself from.
#include "runtime/program_descriptor.h"

#include "forms/event_handler.h"
#include "toolbox/tool_constants.h"

extern const unsigned char kMainWindowTemplate[];
extern const uint32_t kMainWindowTemplateSize;
extern const EventHandlerEntry kToolEventCode[];

extern const ProgramDescriptor kProgramDescriptor = {
    3,
    0,
    66502,
    reinterpret_cast<uintptr_t>(kToolEventCode),
    &kToolConstants,
    sizeof kToolConstants,
    kMainWindowTemplate,
    kMainWindowTemplateSize,
    0,
    nullptr,
    0,
    nullptr,
    nullptr,
};
