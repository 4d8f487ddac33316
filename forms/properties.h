// Unit properties by index: the common properties 0-7, which the framework keeps for every
// unit, and the type-specific ones (8 and up), which go to the unit type's read and write
// operations after conversion by the property's data type.
//
// Values travel as one 64-bit quantity (value low and high): integers, picks, switches and
// colours in the low word; reals and date-times as the double's bits; texts, byte sets and
// font descriptions as a pointer. A read hands texts and byte sets back as fresh heap
// blocks that the caller frees; a write never takes over the caller's value.
//
// Fonts: part -1 is the whole font (a write points at a FontDescription, forms/font_rules.h;
// a read gives the 60-byte LOGFONTA as a byte set, null for the default font); parts 0-6
// are one aspect of the unit's current font.
//
// Any thread may call these. The framework takes no lock; a type operation (and a rebuild)
// runs on the thread that owns the unit's window, reached by a synchronous message.
#pragma once

#include <cstdint>

class UnitObject;
struct WindowEntry;

uint64_t ReadUnitPropertyValue(uint32_t windowId, uint32_t unitId, int32_t index, int32_t part);
void WriteUnitPropertyValue(uint32_t windowId, uint32_t unitId, int32_t index, int32_t part, uint64_t value);

// Builds the unit at `position` anew from its own property data, keeping its place: the
// rectangle, z-order, enabled state, control id, parent, visibility, held child units and
// the focus. What else a unit shows travels in its property data (a page control's current
// page). Events are not dispatched meanwhile. False when the new window could not be made
// (the old one is kept).
bool RebuildUnit(WindowEntry& entry, int position);
