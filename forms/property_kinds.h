// What a unit property is, portably: its data type, flags, and the value in which it travels
// between the framework and a unit type. Shared by the framework, the type-data
// descriptions, the form compiler and the tools' generated property names.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

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

// A property value between the framework and a type: the framework converts the caller's
// value by the property's data type into this form before a write, and converts a type's
// read back into the caller's form. The type only fills the member its data type uses.
struct UnitPropertyValue {
    int32_t integer = 0;         // integer, pick, switch (0/1), colour
    double real = 0;             // real, date-time
    std::string text;            // text kinds (GBK)
    std::vector<uint8_t> bytes;  // byte-set kinds and fonts (empty or 60 bytes)
};

// The eight properties every window unit has, indexes 0 to 7.
inline constexpr int32_t kCommonPropertyCount = 8;
inline constexpr PropertyInfo kCommonProperties[kCommonPropertyCount] = {
    {"Left", PropertyType::kInteger, 0},    {"Top", PropertyType::kInteger, 0},
    {"Width", PropertyType::kInteger, 0},   {"Height", PropertyType::kInteger, 0},
    {"Tag", PropertyType::kText, 0},        {"Visible", PropertyType::kSwitch, 0},
    {"Disabled", PropertyType::kSwitch, 0}, {"MousePointer", PropertyType::kCursor, 0},
};
