// Typed input of edit boxes: which characters each input mode lets through, and the
// normalisation of the content when the edit box loses the focus. Portable.
//
// Input modes: 0 normal, 1 read-only, 2 password, 3 integer text, 4 decimal text, 5 byte,
// 6 short, 7 integer, 8 long integer, 9 single and 10 double precision real, 11 date-time.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// True when the mode lets the character through. `ch` is the character's code: ASCII as
// it is, anything from 0x80 up a character outside ASCII. Control characters (below 0x20)
// always pass.
bool EditModeAcceptsChar(uint32_t mode, uint32_t ch);

// True for the modes whose filter refuses some characters (3 to 11): text for them must
// reach the box character by character, through the filter.
bool EditModeFiltersChars(uint32_t mode);

// The normalised content for modes 5 to 11; nullopt when the mode does not normalise.
// Numbers are parsed (full-width forms read like ASCII), limited to the mode's range and
// written back; a value of 0 becomes the empty text. Date-times that do not read as a date
// are left as they are.
std::optional<std::string> NormaliseEditText(uint32_t mode, const std::string& text);
