// Unit types: what the form framework knows about each kind of unit, and the table of
// operations each type offers, which the interface lookup reads by number.
//
// Adding a unit type: describe its properties and events (a type-data struct with its field
// list, forms/type_data/field_description.h, and its event list, forms/unit_events.h), give
// it a unit object (forms/unit_object.h) whose properties behave as described
// (forms/described_unit.h) and its table of operations, k<Name>Operations, then give it its
// line in the list of unit types (controls/unit_types.h): library, position, name, state
// flags. A type may be written in one file, <name>_type.h, its description first and its
// behaviour below (forms/units/timer_type.h).
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "forms/property_kinds.h"
#include "forms/unit_type_flags.h"

class UnitObject;
struct UnitTypeInfo;

// Interface numbers of the lookup.
enum UnitInterface : int32_t {
    kInterfaceCreateUnit = 1,
    kInterfaceWriteProperty = 4,
    kInterfaceGetAllPropertyData = 5,
    kInterfaceReadProperty = 6,
    kInterfaceWindowIcon = 7,
    kInterfaceKeyFilter = 8,
    kInterfaceEnumerateTexts = 9,
    kInterfaceCurrentPage = 10,
};

// What CreateUnit receives, in the order the loader hands it over.
struct UnitCreateArgs {
    const UnitTypeInfo* type;  // the type whose unit is made (the object keeps it)
    HWND parent;               // the window (units) or the owner window (the window itself)
    const uint8_t* typeData;   // the record's type data; length 0: every property at its default
    uint32_t typeDataLength;
    DWORD styleBits;           // WS_DISABLED and WS_TABSTOP as computed by the loader (never WS_VISIBLE)
    UnitObject* parentObject;  // the window's object (null for the window itself)
    uint32_t controlId;        // 100, 110, ... in creation order; 0 for the window
    HMENU menu;                // the window's menu bar (window only)
    int32_t left, top, width, height;
    uint32_t windowId;         // the owning window's id
    uint32_t unitId;           // the unit's id (0 for the window's own record)
    intptr_t extra1;           // window: 1 for a modal load; units: 0
    intptr_t extra2;           // window: the load flag; units: 0
};

// 1: build the unit object and its window; null on failure (for example a type-data
// version above the type's maximum). The object must be attached to its window
// (UnitObject::CreateOwnWindow / CreateSubclassedWindow) before it is returned.
using CreateUnitFn = UnitObject* (*)(const UnitCreateArgs& args);
// 4: set type-specific property `typeIndex` (property index minus 8). Returns 1 when the
// change needs a new window (the framework then rebuilds the unit), else 0.
using WriteUnitPropertyFn = int32_t (*)(UnitObject* unit, int32_t typeIndex, const UnitPropertyValue& value);
// 5: every property serialised back into type data, in the type's own layout.
using GetAllPropertyDataFn = std::vector<uint8_t> (*)(UnitObject* unit);
// 6: read type-specific property `typeIndex`. False when the index is unknown.
using ReadUnitPropertyFn = bool (*)(UnitObject* unit, int32_t typeIndex, UnitPropertyValue* value);
// 7: the window's icon (window type only).
using WindowIconFn = HICON (*)(UnitObject* unit, bool large);
// 8: true when the unit wants this key message itself (the framework's dialog keys and
// the input filter leave it alone); WM_KEYDOWN and WM_CHAR messages.
using KeyFilterFn = bool (*)(UnitObject* unit, const MSG& message);
// 9: hands every text of the type data to the callback.
using TextCallback = void (*)(const char* text, void* context);
using EnumerateTextsFn = void (*)(const uint8_t* typeData, uint32_t length, TextCallback callback, void* context);
// 10: the page a type that shows pages (kTypeShowsPages) has current, counted over all its
// pages; -1 for none.
using CurrentPageFn = int32_t (*)(UnitObject* unit);

// The operations of a unit type, one table per type, given by name ({.create = ...}); a type
// without one leaves it null.
struct UnitOperations {
    CreateUnitFn create = nullptr;                // 1
    WriteUnitPropertyFn writeProperty = nullptr;  // 4
    GetAllPropertyDataFn propertyData = nullptr;  // 5
    ReadUnitPropertyFn readProperty = nullptr;    // 6
    WindowIconFn windowIcon = nullptr;            // 7
    KeyFilterFn keyFilter = nullptr;              // 8
    EnumerateTextsFn enumerateTexts = nullptr;    // 9
    CurrentPageFn currentPage = nullptr;          // 10
};

struct UnitTypeInfo {
    const char* name;         // "编辑框"
    const char* englishName;  // "EditBox"
    uint32_t stateFlags;
    uint32_t propertyCount;   // the eight common properties included
    const PropertyInfo* properties;
    const UnitOperations* operations;

    bool Has(uint32_t flag) const { return (stateFlags & flag) != 0; }
    const PropertyInfo* Property(int32_t index) const {
        return index >= 0 && static_cast<uint32_t>(index) < propertyCount ? &properties[index] : nullptr;
    }
};

using AnyOperation = void (*)();

// The type's interface lookup: the operation behind an interface number, typed; null when
// the type has none.
template <typename Fn>
Fn UnitOperation(const UnitTypeInfo* type, int32_t number) {
    if (!type || !type->operations) return nullptr;
    const UnitOperations& o = *type->operations;
    AnyOperation op = nullptr;
    switch (number) {
        case kInterfaceCreateUnit: op = reinterpret_cast<AnyOperation>(o.create); break;
        case kInterfaceWriteProperty: op = reinterpret_cast<AnyOperation>(o.writeProperty); break;
        case kInterfaceGetAllPropertyData: op = reinterpret_cast<AnyOperation>(o.propertyData); break;
        case kInterfaceReadProperty: op = reinterpret_cast<AnyOperation>(o.readProperty); break;
        case kInterfaceWindowIcon: op = reinterpret_cast<AnyOperation>(o.windowIcon); break;
        case kInterfaceKeyFilter: op = reinterpret_cast<AnyOperation>(o.keyFilter); break;
        case kInterfaceEnumerateTexts: op = reinterpret_cast<AnyOperation>(o.enumerateTexts); break;
        case kInterfaceCurrentPage: op = reinterpret_cast<AnyOperation>(o.currentPage); break;
        default: break;
    }
    return reinterpret_cast<Fn>(op);
}
