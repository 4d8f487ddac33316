#include "forms/unit_lookup.h"

#include "forms/events.h"
#include "forms/unit_object.h"
#include "forms/unit_type.h"
#include "forms/window_list.h"
#include "runtime/entries.h"

namespace {

const UnitTypeInfo* TypeDescriptor(uint32_t typeCode) {
    return reinterpret_cast<const UnitTypeInfo*>(RtNotify(kNotifyTypeInfo, typeCode, 0));
}

}  // namespace

void* LookUpUnit(uint32_t windowId, uint32_t unitId) {
    return reinterpret_cast<void*>(RtNotify(kNotifyLookUpUnit, windowId, unitId));
}

void* ResolveUnit(uint32_t windowId, uint32_t unitId) {
    return reinterpret_cast<void*>(RtNotify(kNotifyResolveUnit, windowId, unitId));
}

HWND UnitWindowHandle(void* unitObject) {
    return unitObject ? static_cast<UnitObject*>(unitObject)->hwnd() : nullptr;
}

std::vector<UnitRecordView> WindowUnitRecords(uint32_t windowId) {
    std::vector<UnitRecordView> units;
    const WindowEntry* entry = FindWindowEntry(windowId);
    if (!entry) return units;
    // The records of the current load: a tag written at run time counts.
    const std::vector<UnitRecord>& records = entry->Records();
    for (size_t position = 1; position < records.size(); ++position) {
        const UnitRecord& r = records[position];
        if (r.isMenuItem) continue;
        units.push_back({r.id, r.typeCode, r.name, r.tag, entry->ObjectAt(position)});
    }
    return units;
}

bool CurrentEventUnit(uint32_t* windowId, uint32_t* unitId, uint32_t* typeCode) {
    EventSource source = CurrentEventSource();
    if (!source.active) return false;
    const WindowEntry* entry = FindWindowEntry(source.windowId);
    if (!entry) return false;
    int position = entry->FindPosition(source.unitId);
    if (position < 0) return false;
    *windowId = source.windowId;
    *unitId = source.unitId == 0 ? kWindowRecordId : source.unitId;
    *typeCode = entry->Records()[static_cast<size_t>(position)].typeCode;
    return true;
}

bool IsWindowType(uint32_t typeCode) {
    const UnitTypeInfo* type = TypeDescriptor(typeCode);
    return type && type == TypeDescriptor(kWindowTypeCode);
}

std::string UnitTypeName(uint32_t typeCode) {
    const UnitTypeInfo* type = TypeDescriptor(typeCode);
    return type && type->name ? type->name : std::string();
}
