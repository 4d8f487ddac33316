// The top-up page's formula. Portable.
#pragma once

#include <cstdint>

// The rate a customer effectively pays when a bonus comes with a top-up: A ÷ ((A + B) ÷ C),
// each step in double and stored as a double, in this order (not A × C ÷ (A + B), which
// differs at the edges). Division by zero gives an infinity or a NaN, never an error.
double TopUpRate(int32_t amount, int32_t bonus, int32_t rate);
