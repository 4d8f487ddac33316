// The one description of a unit type's properties. Each type-data struct lists its fields
// once, in the order of the stored type data, one line per field:
//
//   #define MG_TRANS_LABEL_FIELDS(F, V, U)
//       F(uint32_t,    effect,  0,  Prop(9, "Effect", P::kPick).Range(0, 3))
//       F(std::string, caption, {}, Prop(8, "Caption", P::kText))
//   (each line ends in a backslash, so the list is one macro)
//
//   F(C++ type, member, default, description)  a stored field: declares the member and puts
//                                              it in the type data; with Prop(...) it is
//                                              also a property, with Stored() only stored
//   V(member expression, description)          a property that is a part of a stored field
//                                              (one element of an array)
//   U(description)                             a property that is not stored at all
//
// MG_DESCRIBED_FIELDS(LIST) in the struct declares the members and the one field list,
// Fields(archive, data), that every reader of the description walks: the type-data reader
// and writer (type_data_codec.h), the property table and property access
// (described_properties.h), the form compiler's keys and the tools' generated names.
// Portable: no Windows header.
#pragma once

#include <array>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>

#include "forms/property_kinds.h"

// A choice of a pick property as the form source names it.
struct Choice {
    const char* name;
    uint32_t value;
};

struct FieldDescription {
    int32_t index = -1;            // property index; -1: a field that is no property
    const char* name = nullptr;    // the property's English name
    PropertyType type = PropertyType::kInteger;
    uint32_t flags = 0;            // kPropertyReadOnlyAtRunTime
    int64_t low = std::numeric_limits<int64_t>::min();  // a written value is clamped to
    int64_t high = std::numeric_limits<int64_t>::max(); // [low, high]
    uint32_t since = 0;            // the format version from which it is stored
    const char* key = nullptr;     // the form source's key; null: from the name; "": none
    const Choice* choices = nullptr;  // names the form source may give a pick
    size_t choiceCount = 0;
    bool zeroEnded = false;        // a text stored up to a NUL instead of counted

    constexpr bool IsProperty() const { return index >= 0; }
    constexpr FieldDescription Range(int64_t lo, int64_t hi) const {
        FieldDescription d = *this;
        d.low = lo;
        d.high = hi;
        return d;
    }
    constexpr FieldDescription Since(uint32_t version) const {
        FieldDescription d = *this;
        d.since = version;
        return d;
    }
    constexpr FieldDescription Key(const char* formKey) const {
        FieldDescription d = *this;
        d.key = formKey;
        return d;
    }
    template <size_t N>
    constexpr FieldDescription Names(const std::array<Choice, N>& names) const {
        FieldDescription d = *this;
        d.choices = names.data();
        d.choiceCount = N;
        return d;
    }
    constexpr FieldDescription ReadOnlyAtRunTime() const {
        FieldDescription d = *this;
        d.flags |= kPropertyReadOnlyAtRunTime;
        return d;
    }
    // The data type of a stored field that is no property, for the form source's notation
    // (a switch takes true and false).
    constexpr FieldDescription OfType(PropertyType t) const {
        FieldDescription d = *this;
        d.type = t;
        return d;
    }
    constexpr FieldDescription ZeroEnded() const {
        FieldDescription d = *this;
        d.zeroEnded = true;
        return d;
    }
};

// A property: its index, English name and data type.
constexpr FieldDescription Prop(int32_t index, const char* name, PropertyType type) {
    FieldDescription d;
    d.index = index;
    d.name = name;
    d.type = type;
    return d;
}

// A field that is stored but is no property; the form source sets it under `key`, if any.
constexpr FieldDescription Stored(const char* key = "") {
    FieldDescription d;
    d.key = key;
    return d;
}

// The key that sets a described field in the form source: its own, else its property name
// in snake case ("TextColour" text_colour, "Switch14" switch_14); empty for a field the
// source does not set.
inline std::string FormKeyOf(const FieldDescription& d) {
    if (d.key) return d.key;
    if (!d.name) return {};
    std::string key;
    const std::string name = d.name;
    for (size_t i = 0; i < name.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(name[i]);
        const unsigned char before = i ? static_cast<unsigned char>(name[i - 1]) : 0;
        // A word starts at a capital after a small letter or digit, and a number after a letter.
        if (i && ((std::isupper(c) && (std::islower(before) || std::isdigit(before))) ||
                  (std::isdigit(c) && std::isalpha(before))))
            key += '_';
        key += static_cast<char>(std::tolower(c));
    }
    return key;
}

// Choices that several types share.
inline constexpr std::array<Choice, 3> kHorizontalChoices = {{{"left", 0}, {"centre", 1}, {"right", 2}}};
inline constexpr std::array<Choice, 3> kVerticalChoices = {{{"top", 0}, {"centre", 1}, {"bottom", 2}}};

// Fixed-size word arrays of the type data (a name without a comma, for the field lists).
template <size_t N>
using Words = std::array<uint32_t, N>;

#define MG_FIELD_DECLARE(type, member, init, description) type member = init;
#define MG_FIELD_VISIT(type, member, init, description) archive(data.member, description);
#define MG_VIEW_VISIT(part, description) archive.View(data.part, description);
#define MG_UNSTORED_VISIT(description) archive.Unstored(description);
#define MG_FIELD_NOTHING(...)
#define MG_FIELD_DESCRIPTION(type, member, init, description) description,
#define MG_VIEW_DESCRIPTION(part, description) description,
#define MG_UNSTORED_DESCRIPTION(description) description,

// Declares the listed members and the one field list over them (Data is the struct itself or
// its const form), and kFieldDescriptions, the descriptions alone, for lookups at compile time.
#define MG_DESCRIBED_FIELDS(LIST)                                                               \
    using P = PropertyType;                                                                     \
    LIST(MG_FIELD_DECLARE, MG_FIELD_NOTHING, MG_FIELD_NOTHING)                                  \
    template <class Archive, class Data>                                                        \
    static void Fields(Archive& archive, Data& data) {                                          \
        LIST(MG_FIELD_VISIT, MG_VIEW_VISIT, MG_UNSTORED_VISIT)                                  \
    }                                                                                           \
    static constexpr FieldDescription kFieldDescriptions[] = {                                  \
        LIST(MG_FIELD_DESCRIPTION, MG_VIEW_DESCRIPTION, MG_UNSTORED_DESCRIPTION)};

// The index of the property a type describes under `name`, found as the program is compiled:
// a name the description does not have stops the build.
template <class Data>
consteval int32_t PropertyIndex(const char* name) {
    for (const FieldDescription& d : Data::kFieldDescriptions) {
        if (!d.IsProperty()) continue;
        const char* a = d.name;
        const char* b = name;
        while (*a && *a == *b) ++a, ++b;
        if (*a == *b) return d.index;
    }
    throw "the type describes no property of this name";
}

// A property named in code, checked against the type's description as the program is
// compiled; converts from its name ({"Caption", ...} in a table of behaviours).
template <class Data>
struct PropertyKey {
    int32_t index;
    consteval PropertyKey(const char* name) : index(PropertyIndex<Data>(name)) {}
};
