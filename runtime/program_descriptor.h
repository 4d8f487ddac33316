// The read-only record, emitted with the tools' code, from which the runtime initialises itself.
#pragma once

#include <cstdint>

#include "runtime/command.h"

struct RuntimeHooks;

struct ProgramDescriptor {
    uint32_t versionMajor;
    uint32_t versionMinor;
    uint32_t build;                    // stored plus one in the application object
    uintptr_t userCodeBase;            // event-handler offsets of the template are relative to it
    const void* constantBlock;
    uint32_t constantBlockLength;
    const uint8_t* windowTemplate;
    uint32_t windowTemplateLength;
    uint32_t supportLibraryCount;
    const LibraryInfo* const* supportLibraries;
    uint32_t dllCommandCount;
    const char* const* dllLibraryNames;
    const char* const* dllCommandNames;
    // What the layer above the runtime does at start-up, in the loop and at the end
    // (runtime/runtime_hooks.h); null: the runtime alone, without windows.
    const RuntimeHooks* hooks;
    // Bytes of event code from userCodeBase. A handler offset of the template that names no
    // entry inside it makes the template unreadable; 0 leaves the offsets unchecked.
    uint32_t userCodeLength = 0;
};

// The descriptor the runtime initialises from; the program names it before start-up.
void UseProgramDescriptor(const ProgramDescriptor* descriptor);
const ProgramDescriptor* ActiveProgramDescriptor();
