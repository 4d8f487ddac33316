// The ToText, ToBytes and MakeShort commands on argument records. Results are
// plain contents; an empty one is what the command hands back as null.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/value.h"

// Formats a single basic value (ToText's per-type step, also used for message
// texts): byte "%u", short and integer "%d", long 64-bit decimal, float by the
// six-digit rule, double "%.13g", logical "真"/"假", date-time text, text itself;
// every other tag, arrays and byte sets included, gives an empty text.
std::string FormatBasicValue(const ArgValue& v);

// The ToText command: a byte set or a numeric array gives its data bytes up to
// the first NUL; any other array is empty; everything else FormatBasicValue.
std::string ValueToText(const ArgValue& v);

// The ToBytes command: a numeric array gives first dimension × element size
// bytes of its data; a text its bytes without the terminator; a byte set its
// content; other basic values their raw little-endian bytes; the rest nothing.
std::vector<uint8_t> ValueToBytes(const ArgValue& v);

// The MakeShort command: (low byte of high) × 256 + low byte of low, as a short
// integer record whose other bits are 0.
ArgValue MakeShort(int32_t low, int32_t high);
