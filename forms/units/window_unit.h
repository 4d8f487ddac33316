// What the rest of the form framework asks of the window type: showing a freshly loaded
// window, and the program's default window icons.
#pragma once

class UnitObject;
// Shows a freshly loaded window the way its position setting asks (normal, minimised,
// maximised); any other window object is simply shown.
void ShowLoadedWindow(UnitObject* window);

// The program's end: the default window icons go (loaded on first use).
void ReleaseDefaultIcons();
