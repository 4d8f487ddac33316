// Number texts as the runtime writes them. The %g forms follow printf with one
// fixed detail: the exponent has its sign and at least three digits
// ("1e+015", "1.5e-007"), whatever the C library would give. Infinities and
// NaN are "inf", "-inf" and "nan" (the sign of a NaN is not shown), the same
// in every build. Texts never depend on the locale.
#pragma once

#include <cstdint>
#include <string>

// printf "%.<precision>g" of v (precision 1..17) with the exponent rule above.
std::string FormatGeneral(double v, int precision);

// A double as the runtime shows it: "%.13g".
std::string FormatDouble(double v);

// A float rounded to six significant digits, half away from zero (see
// RoundToSixDigits), then written as a double with "%.6g".
std::string FormatFloat(float v);

// The float rule's rounding step: |v| scaled to a six-digit integer, a fraction
// of 0.5 or more rounded up, scaled back, sign restored. 0, inf and NaN pass unchanged.
double RoundToSixDigits(float v);

// Decimal integers: byte values unsigned ("%u"), short and integer signed ("%d"),
// long integer signed 64-bit.
std::string FormatUnsigned(uint32_t v);
std::string FormatInt(int32_t v);
std::string FormatLong(int64_t v);
