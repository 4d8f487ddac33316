// A unit type built on the one description of its properties (its type-data struct's field
// list): reading and writing its properties without a hand-written case per index. A
// property whose write does more than store its value, or that is read or written in a way
// of its own, has a behaviour, named in a table by the property's name, which the build
// checks against the description.
//
//   struct EditBox : UnitObject {
//       EditBoxData data;                         // the described data
//       void BeforeRead();                        // optional: bring `data` up to date
//       void AfterEveryWrite(const FieldDescription&);  // optional: after every stored write
//       void ApplyLimit();
//       static const Behaviours<EditBox> kBehaviours;
//   };
//   const Behaviours<EditBox> EditBox::kBehaviours = {
//       {"MaxLength", Applies<&EditBox::ApplyLimit>()},  // stored, then applied by the member
//       {"Border", Rebuilds<EditBox>()},                  // stored, then the unit is built anew
//       {"Sorted", Rebuilds<ListView>().OnlyWhenChanged()},  // ... unless it is the same value
//       {"InputMode", Written(&InputModeWritten)},        // stored, then a function of its own
//       {"SelectedText", ReadWith(&SelectedTextRead).WriteWith(&SelectedTextWrite)},
//   };
//   extern const UnitOperations kEditBoxOperations =
//       DescribedOperations<EditBox>({.create = &CreateEditBox, .keyFilter = &EditBoxKeyFilter});
#pragma once

#include <initializer_list>
#include <vector>

#include "forms/type_data/described_properties.h"
#include "forms/unit_object.h"
#include "forms/unit_type.h"

template <class Unit>
struct Behaviour {
    // After the stored value was written: 1 when the unit must be built anew, else 0.
    int32_t (*written)(Unit& unit) = nullptr;
    // In place of the stored value's write and read.
    int32_t (*write)(Unit& unit, const UnitPropertyValue& value) = nullptr;
    bool (*read)(Unit& unit, UnitPropertyValue* value) = nullptr;
    // A write of the value the property already has does nothing beyond storing it.
    bool onlyWhenChanged = false;

    constexpr Behaviour ReadWith(bool (*fn)(Unit&, UnitPropertyValue*)) const {
        Behaviour b = *this;
        b.read = fn;
        return b;
    }
    constexpr Behaviour WriteWith(int32_t (*fn)(Unit&, const UnitPropertyValue&)) const {
        Behaviour b = *this;
        b.write = fn;
        return b;
    }
    constexpr Behaviour OnlyWhenChanged() const {
        Behaviour b = *this;
        b.onlyWhenChanged = true;
        return b;
    }
};

template <class Unit>
constexpr Behaviour<Unit> Written(int32_t (*fn)(Unit&)) {
    return {fn, nullptr, nullptr, false};
}
template <class Unit>
constexpr Behaviour<Unit> ReadWith(bool (*fn)(Unit&, UnitPropertyValue*)) {
    return Behaviour<Unit>{}.ReadWith(fn);
}
template <class Unit>
constexpr Behaviour<Unit> WriteWith(int32_t (*fn)(Unit&, const UnitPropertyValue&)) {
    return Behaviour<Unit>{}.WriteWith(fn);
}

namespace described {
template <class Member>
struct MemberOf;
template <class C, class R>
struct MemberOf<R (C::*)()> {
    using Class = C;
};
template <class C, class R>
struct MemberOf<R (C::*)() const> {
    using Class = C;
};
}  // namespace described

// After the stored value was written, the unit's member `Apply` shows it; no new window.
template <auto Apply>
constexpr Behaviour<typename described::MemberOf<decltype(Apply)>::Class> Applies() {
    using Unit = typename described::MemberOf<decltype(Apply)>::Class;
    return Written<Unit>([](Unit& unit) -> int32_t {
        (unit.*Apply)();
        return 0;
    });
}

// A unit that needs a new window for the change.
template <class Unit>
constexpr Behaviour<Unit> Rebuilds() {
    return Written<Unit>([](Unit&) -> int32_t { return 1; });
}

// A type's behaviours by property name; each name is checked against the description as
// the program is compiled (PropertyKey), so a misspelt one does not build.
template <class Unit>
class Behaviours {
public:
    struct Entry {
        PropertyKey<decltype(Unit::data)> property;
        Behaviour<Unit> behaviour;
    };
    Behaviours(std::initializer_list<Entry> entries) : entries_(entries) {}

    const Behaviour<Unit>* Find(int32_t index) const {
        for (const Entry& e : entries_)
            if (e.property.index == index) return &e.behaviour;
        return nullptr;
    }

private:
    std::vector<Entry> entries_;
};

// The operations every described type shares (interfaces 4, 5 and 6).
template <class Unit>
int32_t WriteDescribedProperty(UnitObject* object, int32_t typeIndex, const UnitPropertyValue& value) {
    Unit& unit = static_cast<Unit&>(*object);
    const int32_t index = typeIndex + kCommonPropertyCount;
    const Behaviour<Unit>* b = Unit::kBehaviours.Find(index);
    if (b && b->write) return b->write(unit, value);
    UnitPropertyValue before;
    const bool compare = b && b->onlyWhenChanged && LoadDescribedProperty(unit.data, index, &before);
    std::optional<FieldDescription> stored = StoreDescribedProperty(unit.data, index, value);
    if (!stored) return 0;
    if (compare) {
        UnitPropertyValue after;
        LoadDescribedProperty(unit.data, index, &after);
        if (after.integer == before.integer && after.text == before.text && after.bytes == before.bytes) return 0;
    }
    int32_t rebuild = b && b->written ? b->written(unit) : 0;
    if constexpr (requires { unit.AfterEveryWrite(*stored); }) unit.AfterEveryWrite(*stored);
    return rebuild;
}

template <class Unit>
bool ReadDescribedProperty(UnitObject* object, int32_t typeIndex, UnitPropertyValue* value) {
    Unit& unit = static_cast<Unit&>(*object);
    const int32_t index = typeIndex + kCommonPropertyCount;
    if constexpr (requires { unit.BeforeRead(); }) unit.BeforeRead();
    const Behaviour<Unit>* b = Unit::kBehaviours.Find(index);
    if (b && b->read) return b->read(unit, value);
    return LoadDescribedProperty(unit.data, index, value);
}

template <class Unit>
std::vector<uint8_t> DescribedPropertyData(UnitObject* object) {
    Unit& unit = static_cast<Unit&>(*object);
    if constexpr (requires { unit.BeforeRead(); }) unit.BeforeRead();
    return decltype(Unit::data)::Write(unit.data);
}

// A described type's operations: its own (create and any others it has) with the described
// property access filled in.
template <class Unit>
constexpr UnitOperations DescribedOperations(UnitOperations own) {
    own.writeProperty = &WriteDescribedProperty<Unit>;
    own.propertyData = &DescribedPropertyData<Unit>;
    own.readProperty = &ReadDescribedProperty<Unit>;
    return own;
}

// The property table of a described type: the eight common properties, then its own.
template <class Data>
const std::vector<PropertyInfo>& DescribedPropertyTable() {
    static const std::vector<PropertyInfo> table = [] {
        std::vector<PropertyInfo> t(kCommonProperties, kCommonProperties + kCommonPropertyCount);
        for (const FieldDescription& d : DescribedProperties<Data>()) t.push_back({d.name, d.type, d.flags});
        return t;
    }();
    return table;
}

// The unit type of a described type: its names from the description, its state flags (from
// the list of unit types) and its table of operations.
template <class Data>
UnitTypeInfo DescribedUnitType(uint32_t stateFlags, const UnitOperations* operations) {
    const std::vector<PropertyInfo>& table = DescribedPropertyTable<Data>();
    return {Data::kTypeName, Data::kEnglishName, stateFlags, static_cast<uint32_t>(table.size()), table.data(),
            operations};
}
