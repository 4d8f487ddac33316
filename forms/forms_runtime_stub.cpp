// Placeholder until the form framework lands: no window can be read or loaded.
#include "forms/forms_runtime.h"
#include "runtime/entries.h"

bool LoadTemplate(const uint8_t*, size_t, uintptr_t) { return true; }
bool LoadStartWindowById(uint32_t) { return false; }
bool AnyLoadedWindowAlive() { return false; }
bool PreTranslateFormsMessage(MSG*) { return false; }
bool FireWindowIdleEvents(uint32_t, bool) { return false; }
void SuspendEventDispatchForShutdown() {}
void DestroyAllLoadedWindows() {}
void ReleaseRuntimeUnitObjects() {}
bool FormsNotify(int32_t, intptr_t, intptr_t, intptr_t*) { return false; }
uint64_t ReadObjectProperty(uint32_t, void*, int32_t, int32_t) { return 0; }
void WriteObjectProperty(uint32_t, void*, int32_t, int32_t, uint32_t, uint32_t) {}
uint64_t RtReadProperty(uint32_t, uint32_t, int32_t, int32_t) { return 0; }
void RtWriteProperty(uint32_t, uint32_t, int32_t, int32_t, uint32_t, uint32_t) {}
