// Units as the tools name them: a typed reference per unit (generated from the form source
// into main_window_units.h, so no unit id is ever written twice) and the properties each
// unit type offers, by name. Portable: no Windows header, so the tools' pure rules that
// name units build and run natively too.
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
    const char* name;  // the framework's English name of the property, checked by a test
};

// The properties every window unit has.
struct Common {
    static constexpr Property<Common, int32_t> Left{0, "Left"};
    static constexpr Property<Common, int32_t> Top{1, "Top"};
    static constexpr Property<Common, int32_t> Width{2, "Width"};
    static constexpr Property<Common, int32_t> Height{3, "Height"};
    static constexpr Property<Common, TextValue> Tag{4, "Tag"};
    static constexpr Property<Common, bool> Visible{5, "Visible"};
    static constexpr Property<Common, bool> Disabled{6, "Disabled"};
};

// The unit types of the main window with the properties the tools use.
struct Window : Common {
    static constexpr uint32_t kTypeCode = kTypeWindow;
    static constexpr Property<Window, TextValue> Caption{8, "Caption"};
};
struct EditBox : Common {
    static constexpr uint32_t kTypeCode = kTypeEditBox;
    static constexpr const char* kTypeName = "编辑框";  // as FindUnits matches it
    static constexpr Property<EditBox, TextValue> Content{8, "Content"};
};
struct GroupBox : Common {
    static constexpr uint32_t kTypeCode = kTypeGroupBox;
    static constexpr Property<GroupBox, TextValue> Caption{8, "Caption"};
};
struct Label : Common {
    static constexpr uint32_t kTypeCode = kTypeLabel;
    static constexpr Property<Label, TextValue> Caption{8, "Caption"};
};
struct Button : Common {
    static constexpr uint32_t kTypeCode = kTypeButton;
    static constexpr Property<Button, TextValue> Caption{10, "Caption"};
};
struct ComboBox : Common {
    static constexpr uint32_t kTypeCode = kTypeComboBox;
    static constexpr Property<ComboBox, int32_t> CurrentSelection{19, "CurrentSelection"};  // -1: none
};
struct ListBox : Common {
    static constexpr uint32_t kTypeCode = kTypeListBox;
    static constexpr Property<ListBox, int32_t> CurrentSelection{16, "CurrentSelection"};
};
struct Timer : Common {
    static constexpr uint32_t kTypeCode = kTypeTimer;
    static constexpr Property<Timer, int32_t> Interval{8, "Interval"};  // milliseconds; 0 stops it
};
struct PageControl : Common {
    static constexpr uint32_t kTypeCode = kTypePageControl;
};
struct StatusBar : Common {
    static constexpr uint32_t kTypeCode = kTypeStatusBar;
};
struct ListView : Common {
    static constexpr uint32_t kTypeCode = kTypeListView;
    static constexpr Property<ListView, int32_t> ViewType{13, "ViewType"};  // 3: report view
    static constexpr Property<ListView, bool> FullRowSelect{21, "FullRowSelect"};
    static constexpr Property<ListView, bool> GridLines{22, "GridLines"};
};
struct TransLabel : Common {
    static constexpr uint32_t kTypeCode = kTypeTransLabel;
    static constexpr Property<TransLabel, TextValue> Caption{8, "Caption"};
};

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
