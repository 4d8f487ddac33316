// GDI fonts of units, made from stored font blocks.
#pragma once

#include <windows.h>

#include <vector>

#include "forms/font_rules.h"
#include "runtime/win32_handles.h"

// A font from a 60-byte block with the creation overrides; none for any other length
// (the unit then uses the default GUI font).
win::Font CreateFontFromBlock(const std::vector<uint8_t>& block);

// The LOGFONTA of a font as stored bytes (the face in GBK); the default GUI font for null.
LogFontBytes FontBytesOf(HFONT font);

// Vertical resolution of the screen, for points and heights.
int ScreenDpi();
