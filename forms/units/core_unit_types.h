// The unit types of library 1 and the status bar of library 3.
#pragma once

#include "forms/unit_type.h"

extern const UnitTypeInfo kWindowType;     // 0x00010001
extern const UnitTypeInfo kEditBoxType;    // 0x00010005
extern const UnitTypeInfo kGroupBoxType;   // 0x00010009
extern const UnitTypeInfo kLabelType;      // 0x0001000A
extern const UnitTypeInfo kButtonType;     // 0x0001000B
extern const UnitTypeInfo kComboBoxType;   // 0x0001000E
extern const UnitTypeInfo kListBoxType;    // 0x0001000F
extern const UnitTypeInfo kTimerType;      // 0x00010020
extern const UnitTypeInfo kStatusBarType;  // 0x00030002

class UnitObject;
// Shows a freshly loaded window the way its position setting asks (normal, minimised,
// maximised); any other window object is simply shown.
void ShowLoadedWindow(UnitObject* window);

// The program's end: the default window icons go (loaded on first use).
void ReleaseDefaultIcons();
