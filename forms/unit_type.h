// Unit types: what the form framework knows about each kind of unit, and the table of
// operations each type offers, which the interface lookup reads by number.
//
// Adding a unit type (for example in controls/):
//   1. Describe its type data and properties in one field list (a portable *_data.h, see
//      forms/type_data/field_description.h).
//   2. Derive the unit object from UnitObject (forms/unit_object.h), holding that data as
//      `data`, and create its window with CreateOwnWindow (a class registered with
//      RegisterUnitClass) or CreateSubclassedWindow (a system or common control class).
//   3. Give the properties whose writes do more than store their value a behaviour, and
//      fill the type's UnitOperations with its create function and the described read,
//      write and property data (forms/described_unit.h).
//   4. Make its UnitTypeInfo with DescribedUnitType beside its implementation, and put it
//      in its library's unit type table (controls/support_libraries.cpp) at the position
//      of its type number.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "forms/property_kinds.h"

class UnitObject;

// State flags of a unit type.
constexpr uint32_t kTypeRaisesEvents = 0x04;          // may raise events
constexpr uint32_t kTypeStoresOwnData = 0x10;         // a rebuild reuses the record's type data instead of interface 5
constexpr uint32_t kTypeNotifiesParent = 0x20;        // after a rebuild the parent gets message 0x8004
constexpr uint32_t kTypeWindowUnit = 0x40;            // a unit with a window of its own
constexpr uint32_t kTypeChildEdit = 0x200;            // has an edit child window (combo box)
constexpr uint32_t kTypeChildEditAlt = 0x200000;      // the same, second form
constexpr uint32_t kTypeInvisible = 0x8000;           // never shown at run time (timer)
constexpr uint32_t kTypeNoFocus = 0x10000;            // never takes the input focus

// Interface numbers of the lookup.
enum UnitInterface : int32_t {
    kInterfaceCreateUnit = 1,
    kInterfaceWriteProperty = 4,
    kInterfaceGetAllPropertyData = 5,
    kInterfaceReadProperty = 6,
    kInterfaceWindowIcon = 7,
    kInterfaceKeyFilter = 8,
    kInterfaceEnumerateTexts = 9,
};

// What CreateUnit receives, in the order the loader hands it over.
struct UnitCreateArgs {
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

// The operations of a unit type, one table per type; a type without one leaves it null.
struct UnitOperations {
    CreateUnitFn create = nullptr;                // 1
    WriteUnitPropertyFn writeProperty = nullptr;  // 4
    GetAllPropertyDataFn propertyData = nullptr;  // 5
    ReadUnitPropertyFn readProperty = nullptr;    // 6
    WindowIconFn windowIcon = nullptr;            // 7
    KeyFilterFn keyFilter = nullptr;              // 8
    EnumerateTextsFn enumerateTexts = nullptr;    // 9
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
        default: break;
    }
    return reinterpret_cast<Fn>(op);
}
