// The unit types of the extended controls (libraries 2 and 3): the framework knows their
// type codes, names, state flags and property lists (forms/extended_types.cpp); their
// operations come from these interface lookups, which the controls define
// (see forms/unit_type.h for the operations). Until a control exists its lookup answers
// null, so its units are not created.
#pragma once

#include "forms/unit_type.h"

extern const UnitTypeInfo kPageControlType;  // 0x00020002, 63 properties
extern const UnitTypeInfo kStatusBarType;    // 0x00030002, 14 properties (forms/units/status_bar_unit.cpp)
extern const UnitTypeInfo kListViewType;     // 0x00030004, 39 properties
extern const UnitTypeInfo kTransLabelType;   // 0x00030005, 15 properties

AnyOperation PageControlInterface(int32_t number);
AnyOperation ListViewInterface(int32_t number);
AnyOperation TransLabelInterface(int32_t number);
