#include "runtime/commands/unit_lookup.h"

#include "runtime/entries.h"

void* LookUpUnit(uint32_t windowId, uint32_t unitId) {
    return reinterpret_cast<void*>(RtNotify(kNotifyLookUpUnit, windowId, unitId));
}

void* ResolveUnit(uint32_t windowId, uint32_t unitId) {
    return reinterpret_cast<void*>(RtNotify(kNotifyResolveUnit, windowId, unitId));
}

// PROVISIONAL until the form framework's window list lands.
HWND UnitWindowHandle(void*) { return nullptr; }
std::vector<UnitRecordView> WindowUnitRecords(uint32_t) { return {}; }
bool IsWindowType(uint32_t typeCode) { return typeCode == kTypeWindow; }
std::string UnitTypeName(uint32_t) { return {}; }
