// Units as the tools name them: a typed reference per unit (generated from the form source
// into main_window_units.h, so no unit id is ever written twice) and the properties each
// unit type offers, by name (generated from the unit types' descriptions into
// unit_properties.h, so no property index or event number is ever written twice). Portable: no Windows
// header, so the tools' pure rules that name units build and run natively too.
#pragma once

#include <cstdint>
#include <type_traits>

#include "runtime/value.h"

namespace rt {

// What a property holds as the tools see it: a text (read back as an owning Text, written
// from a borrowed text), a 32-bit integer or a switch.
struct TextValue {};

// Property `index` of units of type Owner (or of every unit type, for Common).
template <class Owner, class Value>
struct Property {
    int32_t index;
    const char* name;  // the framework's English name of the property
};

// Event `number` of units of type Owner (or of every unit type, for Common), by the name
// the form source binds handlers to it with.
template <class Owner>
struct Event {
    int32_t number;
    const char* name;
};

}  // namespace rt

// Each unit type with its type code, type name, properties and events by name, written by the
// form compiler from the list of unit types: no property index or event number is written here.
#include "unit_properties.h"

namespace rt {

// A unit whose type is known only at run time: an item of a unit list, the source of an
// event. It is the three words of a unit reference.
struct AnyUnit {
    uint32_t windowId = 0;
    uint32_t unitId = 0;
    uint32_t typeCode = 0;

    constexpr bool operator==(const AnyUnit&) const = default;
    ArgValue Arg() const { return ArgValue::OfUnit(windowId, unitId, typeCode); }
};

// A unit of a known type: window id and unit id (the window itself uses its record id).
template <class Type>
struct Unit {
    using UnitType = Type;
    uint32_t windowId;
    uint32_t unitId;

    constexpr AnyUnit Any() const { return {windowId, unitId, Type::kTypeCode}; }
    constexpr operator AnyUnit() const { return Any(); }
    constexpr bool operator==(const Unit&) const = default;
    constexpr bool operator==(const AnyUnit& u) const { return u == Any(); }
    ArgValue Arg() const { return Any().Arg(); }
};

// The unit as a unit of type T, when it is one.
template <class T>
constexpr bool Is(AnyUnit u) {
    return u.typeCode == T::kTypeCode;
}
template <class T>
constexpr Unit<T> As(AnyUnit u) {
    return {u.windowId, u.unitId};
}

// A property of Owner applies to units of Type when Type is Owner or Owner is Common.
template <class Type, class Owner>
concept HasPropertiesOf = std::is_base_of_v<Owner, Type>;

}  // namespace rt
