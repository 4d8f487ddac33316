// Binding a unit's keys in the form source to its type data, from the one description of
// the type's properties (forms/type_data/field_description.h): every described field with a
// form key takes that key, and the key of a property is its English name in snake case
// ("TextColour" is text_colour, "Switch14" switch_14) unless its description names another.
// Lists of records that the source gives as tables of their own (list view columns and rows,
// pages) have binders of their own here.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "forms/template_image.h"
#include "forms/type_data/field_description.h"
#include "tools/formc/toml_keys.h"

// One unit of the source, before names are resolved.
struct SourceUnit {
    std::string name;  // UTF-8, for messages and references
    std::string type;
    std::string context;
    UnitRecord record;
    std::string parent;
    int64_t page = 0;  // 0: not given
    std::string eventSource;
    std::map<int32_t, std::string> events;
    std::optional<std::vector<std::string>> childOrder;                // group box
    std::vector<std::optional<std::vector<std::string>>> pageChildOrder;  // page control, per page
};

// A unit type of the form source, by the English name its `type` key gives.
struct SourceUnitType {
    const char* name;
    uint32_t code;
    bool takesFocus;  // tab_stop defaults to true
    std::vector<uint8_t> (*bind)(Keys& keys, SourceUnit& unit);
};
const SourceUnitType* FindSourceUnitType(const std::string& name);

// The window's own type data from the [window] table.
std::vector<uint8_t> BindWindowData(Keys& keys);
