// Binding a unit's keys in the form source to its type data, from the one description of
// the type's properties (forms/type_data/field_description.h): every described field with a
// form key takes that key, and the key of a property is its English name in snake case
// ("TextColour" is text_colour, "Switch14" switch_14) unless its description names another.
// Lists of records (list view columns and rows, pages) are tables, each bound by its
// record's own field list. The unit types are the list of unit types (controls/unit_types.h).
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "forms/template_image.h"
#include "forms/type_data/field_description.h"
#include "forms/unit_events.h"
#include "tools/formc/toml_keys.h"

struct SourceUnitType;

// A handler bound to an event by the `events` key of a unit.
struct BoundEvent {
    std::string handler;                   // empty: "no handler"
    const EventDescription* event = nullptr;  // null: an event the framework does not describe
    std::string key;                       // as the source gives it, for messages
};

// One unit of the source, before names are resolved.
struct SourceUnit {
    std::string name;  // UTF-8, for messages and references
    std::string type;
    const SourceUnitType* kind = nullptr;
    std::string context;
    UnitRecord record;
    std::string parent;
    int64_t page = 0;  // 0: not given
    std::string eventSource;
    std::map<int32_t, BoundEvent> events;
    std::optional<std::vector<std::string>> childOrder;                // a unit that holds units
    std::vector<std::optional<std::vector<std::string>>> pageChildOrder;  // a unit that shows pages, per page
};

// A unit type of the form source, by the English name its `type` key gives.
struct SourceUnitType {
    const char* name;
    uint32_t code;
    uint32_t flags;  // kTypeHoldsUnits, kTypeShowsPages, kTypeNoFocus, ...
    std::span<const EventDescription> events;  // its own
    std::vector<uint8_t> (*bind)(Keys& keys, SourceUnit& unit, uint32_t flags);

    bool Has(uint32_t flag) const { return (flags & flag) != 0; }
};
// Every type of the list by its English name; the window's own type too, which no [[unit]] has.
const SourceUnitType* FindSourceUnitType(const std::string& name);
const SourceUnitType& WindowSourceType();

// The window's own type data from the [window] table.
std::vector<uint8_t> BindWindowData(Keys& keys);
