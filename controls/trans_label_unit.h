// The transparent label: a child window that draws only its caption, in its own font,
// colour, alignment and effect, over whatever the windows beneath it have drawn.
//
// It never erases: its class has no background brush and its window WS_EX_TRANSPARENT,
// so the parent paints under it. After every property write and after a move it repaints
// "through" itself: the area in its top window first, then every visible window that
// meets its rectangle from the bottom of the z-order up, and its own text last. A write to a
// label that lies over nothing but a container painting all of its own background (a group
// box) draws that container's paint and the text on the label's own DC instead: the same
// pixels, with no window painting.
//
// Type data (controls/trans_label_data.h), versions 0 and 1; a larger version makes
// creation fail. Properties 8-14: caption, effect (0-3), font (empty or a 60-byte
// LOGFONTA), text colour, horizontal alignment (0-2), word wrap, vertical alignment (0-2).
#pragma once

#include "forms/unit_type.h"

#include <windows.h>

// The label's private window class.
inline constexpr wchar_t kTransLabelClass[] = L"_XR_TransLabel";

// Where a repaint through the label starts: the nearest container that paints all of its own
// background (a clock label in a group box repaints that group box, not the page and the
// main window under it), else the top window.
HWND SeeThroughTop(HWND label);

// Repaints what lies beneath the label's window, where the label lies: used after every
// property write and after a move. True when the label is on screen, with no update region
// left, for its text to be drawn over what is now beneath it.
bool SeeThroughRepaint(HWND label);
