// Real keyboard and mouse input, as a user's hands give it: through the platform's input
// queue (SendInput), so that it reaches windows in order with everything else typed or clicked.
#pragma once

#include <windows.h>

// One key going down or up, with its scan code; the navigation keys count as extended keys.
void Key(WORD vk, bool up);
// A key pressed and released with the modifiers held around it: 1 Ctrl, 2 Shift, 4 Alt.
void Tap(WORD vk, int modifiers = 0);
// ASCII text key by key (shifted characters with Shift held); characters without a key are skipped.
void TypeAscii(const char* text);
// MOUSEEVENTF_MOVE moves the pointer to a screen point; a button flag presses or releases
// that button where the pointer is.
void Mouse(POINT screen, DWORD flags);
// A left click at a screen point: the pointer moves there first.
void ClickScreenPoint(POINT screen);

// A key no unit reacts to, pressed after the input under test: it comes through the same queue
// after everything sent before it, so once a window's thread has taken it, that input is handled.
constexpr WORD kInputSentinelKey = VK_F24;
// The same for pointer input: the second extra mouse button, released where the pointer is
// (it goes to the window there, active or not).
constexpr WORD kInputSentinelButton = XBUTTON2;
void SentinelButtonUp();
