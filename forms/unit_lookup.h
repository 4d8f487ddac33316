// What the unit commands need from the form framework: unit objects by window and unit id,
// their native windows, and the unit records of a window with their names and tags.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// RtNotify 2006: the unit's object, or null when the window is not loaded, the unit is
// missing or has no live native window.
void* LookUpUnit(uint32_t windowId, uint32_t unitId);
// RtNotify 2007: as LookUpUnit, but a missing unit is the fatal runtime error.
void* ResolveUnit(uint32_t windowId, uint32_t unitId);

// The native window of a unit object (null for null).
HWND UnitWindowHandle(void* unitObject);

// One unit record of a window as FindUnits looks at it.
struct UnitRecordView {
    uint32_t unitId;
    uint32_t typeCode;
    std::string name;     // GBK
    std::string tagText;  // the unit's free text property, GBK
    void* object;         // null while the unit has no object
};

// The unit records of the window with that id in template order, the window's own record
// left out. Empty when the window is not in the window list.
std::vector<UnitRecordView> WindowUnitRecords(uint32_t windowId);

// The unit whose event handler is running on this thread's window (the innermost one), as a
// unit reference's three words; false outside event handlers. The window's own record is
// named by its record id 0x06010000.
bool CurrentEventUnit(uint32_t* windowId, uint32_t* unitId, uint32_t* typeCode);

// From the type descriptor (RtNotify 1002): whether the type is a window type, and the
// type's name ("编辑框"); false and empty for an unknown type.
bool IsWindowType(uint32_t typeCode);
std::string UnitTypeName(uint32_t typeCode);
