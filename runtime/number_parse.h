// Reading numbers out of texts, and the ToNumber / ToInteger conversions of
// argument records. Texts are GBK; full-width digits, signs and points are
// read like their ASCII forms.
#pragma once

#include <cstdint>
#include <string>

#include "runtime/value.h"

// Copies text, replacing the full-width forms by ASCII: A1A1 space, A1AB "~",
// A1EE and A1EF "*", A3xx (xx from A1 to FE) the byte xx & 0x7F. A lead byte
// followed by the NUL ends the copy. Null counts as the empty text.
std::string NormaliseNumberText(const char* text);

// atof rules on an already normalised text: white space, sign, digits with an
// optional point, optional exponent; stops at the first misfit; no number gives 0.
// No hexadecimal forms and no "inf" or "nan" words. Rounding is exact (the
// runtime never changes the C locale, so strtod reads "." as the point).
double ParseDecimal(const char* text);

// atoi rules on an already normalised text: white space, sign, decimal digits;
// the value wraps modulo 2^32 instead of saturating.
int32_t ParseInteger(const char* text);

// A floating value as an integer: truncated toward zero to 64 bits, of which
// the low 32 bits are kept. NaN and values outside the 64-bit range give 0,
// the low half of the x86 "integer indefinite" that the conversion instruction yields.
int32_t TruncateToInt32(double v);

// The ToNumber command: text parsed as above; logical, integer, short (sign
// extended), byte (unsigned), long, float, double and subroutine address
// (unsigned) converted; date-time, arrays and every other tag give 0.
double ToNumber(const ArgValue& v);

// The ToInteger command: text parsed by the atoi rules; logical and integer as
// they are, short sign extended, byte unsigned, long and subroutine address
// their low 32 bits, float and double by TruncateToInt32; every other tag 0.
int32_t ToInteger(const ArgValue& v);
