// State flags of a unit type, as its line in the list of unit types gives them
// (controls/unit_types.h). Portable: the form compiler reads them too.
#pragma once

#include <cstdint>

constexpr uint32_t kTypeRaisesEvents = 0x04;          // may raise events
constexpr uint32_t kTypeStoresOwnData = 0x10;         // a rebuild reuses the record's type data instead of interface 5
constexpr uint32_t kTypeNotifiesParent = 0x20;        // after a rebuild the parent gets message 0x8004
constexpr uint32_t kTypeWindowUnit = 0x40;            // a unit with a window of its own
constexpr uint32_t kTypeHoldsUnits = 0x1000;          // a container: the units its record lists are its children
constexpr uint32_t kTypeShowsPages = 0x2000;          // holds its units page by page and shows the current page's
constexpr uint32_t kTypeChildEdit = 0x200;            // has an edit child window (combo box)
constexpr uint32_t kTypeChildEditAlt = 0x200000;      // the same, second form
constexpr uint32_t kTypeInvisible = 0x8000;           // never shown at run time (timer)
constexpr uint32_t kTypeNoFocus = 0x10000;            // never takes the input focus

// Whether units of the type take the input focus (and the form's tab stop by default).
constexpr bool TakesFocus(uint32_t stateFlags) { return !(stateFlags & (kTypeNoFocus | kTypeInvisible)); }

// A type code: the library number in the high half, the 1-based position in the library's
// table of unit types in the low half.
constexpr uint32_t UnitTypeCode(uint32_t library, uint32_t position) { return (library << 16) | position; }
