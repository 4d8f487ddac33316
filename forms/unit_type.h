// Unit types: what the form framework knows about each kind of unit, and the operations a
// type offers through its interface lookup.
//
// Adding a unit type (for example in controls/):
//   1. Derive the unit object from UnitObject (forms/unit_object.h) and create its window
//      with CreateOwnWindow (a class registered with RegisterUnitClass) or
//      CreateSubclassedWindow (a system or common control class).
//   2. Write the operations below as free functions and return them from an interface
//      lookup function:
//          AnyOperation MyTypeInterface(int32_t number) {
//              switch (number) {
//                  case kInterfaceCreateUnit: return AsOperation(&CreateMyUnit);
//                  case kInterfaceWriteProperty: return AsOperation(&WriteMyProperty);
//                  ...
//                  default: return nullptr;
//              }
//          }
//   3. Describe the type in a UnitTypeInfo (names, state flags, property list starting with
//      the eight common properties, see CommonProperties()) whose `lookup` is that function,
//      beside the type's implementation, and put it in its library's unit type table
//      (controls/support_libraries.cpp) at the position of its type number.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

class UnitObject;

// Data type of a property: decides the conversion a write applies before the type sees
// the value, and the shape in which a read is handed back (forms/properties.h).
enum class PropertyType : uint8_t {
    kInteger,            // 32-bit integer
    kPick,               // 32-bit choice
    kPickList,           // 32-bit index
    kReal,               // double
    kDateTime,           // double
    kSwitch,             // any non-zero value becomes 1
    kText,               // a missing text becomes the empty text
    kPickText,           // editable pick text: as text
    kFileName,           // as text
    kDataBinding,        // data source and column names: as text
    kPicture,            // byte set
    kIcon,               // byte set
    kCursor,             // byte set
    kSound,              // byte set
    kImageList,          // byte set
    kCustomData,         // byte set
    kFont,               // 60-byte LOGFONTA, or empty for the default font
    kColour,             // COLORREF or a marker with the top byte set
    kTransparentColour,  // as colour
    kBackgroundColour,   // as colour
};

constexpr bool IsTextProperty(PropertyType t) {
    return t == PropertyType::kText || t == PropertyType::kPickText || t == PropertyType::kFileName ||
           t == PropertyType::kDataBinding;
}
constexpr bool IsByteSetProperty(PropertyType t) {
    return t == PropertyType::kPicture || t == PropertyType::kIcon || t == PropertyType::kCursor ||
           t == PropertyType::kSound || t == PropertyType::kImageList || t == PropertyType::kCustomData;
}
constexpr bool IsRealProperty(PropertyType t) { return t == PropertyType::kReal || t == PropertyType::kDateTime; }

// Property flags.
constexpr uint32_t kPropertyReadOnlyAtRunTime = 0x1;  // a write is accepted and ignored by the type

struct PropertyInfo {
    const char* englishName;
    PropertyType type;
    uint32_t flags;
};

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

// A property value between the framework and a type: the framework converts the caller's
// value by the property's data type into this form before a write, and converts a type's
// read back into the caller's form. The type only fills the member its data type uses.
struct UnitPropertyValue {
    int32_t integer = 0;         // integer, pick, switch (0/1), colour
    double real = 0;             // real, date-time
    std::string text;            // text kinds (GBK)
    std::vector<uint8_t> bytes;  // byte-set kinds and fonts (empty or 60 bytes)
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

using AnyOperation = void (*)();
using InterfaceLookupFn = AnyOperation (*)(int32_t number);

template <typename Fn>
AnyOperation AsOperation(Fn fn) {
    return reinterpret_cast<AnyOperation>(fn);
}

struct UnitTypeInfo {
    const char* name;         // "编辑框"
    const char* englishName;  // "EditBox"
    uint32_t stateFlags;
    uint32_t propertyCount;   // the eight common properties included
    const PropertyInfo* properties;
    InterfaceLookupFn lookup;

    bool Has(uint32_t flag) const { return (stateFlags & flag) != 0; }
    const PropertyInfo* Property(int32_t index) const {
        return index >= 0 && static_cast<uint32_t>(index) < propertyCount ? &properties[index] : nullptr;
    }
};

// The operation behind an interface number, typed; null when the type has none.
template <typename Fn>
Fn UnitOperation(const UnitTypeInfo* type, int32_t number) {
    if (!type || !type->lookup) return nullptr;
    return reinterpret_cast<Fn>(type->lookup(number));
}

// The eight properties every window unit has (left, top, width, height, tag, visible,
// disabled, mouse pointer); a type's property list starts with them.
#define MG_COMMON_PROPERTIES                                                                 \
    {"Left", PropertyType::kInteger, 0}, {"Top", PropertyType::kInteger, 0},                 \
        {"Width", PropertyType::kInteger, 0}, {"Height", PropertyType::kInteger, 0},         \
        {"Tag", PropertyType::kText, 0}, {"Visible", PropertyType::kSwitch, 0},              \
        {"Disabled", PropertyType::kSwitch, 0}, { "MousePointer", PropertyType::kCursor, 0 }

constexpr int32_t kCommonPropertyCount = 8;
