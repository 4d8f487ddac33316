// Value operations that the tools' own code performs on texts, numbers and arrays.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>

// Concatenation of texts (null counts as empty). Always a fresh block, even when empty.
char* ConcatTexts(std::initializer_list<const char*> texts);

// Byte-wise unsigned comparison; null compares as the empty text. Gives -1, 0 or 1.
int CompareTexts(const char* a, const char* b);

// Truncation toward zero to a 64-bit integer, of which the low 32 bits are kept: the same
// rule as the ToInteger command (NaN and values beyond the 64-bit range give 0).
int32_t DoubleToInt32(double value);

// Address of element `index` (1-based) of an array block; raises runtime error 4 below 1
// and 1 above the element count (a null array has none).
void* ArrayElement(void* array, int64_t index, size_t elementSize);

// A fresh empty one-dimensional array block {1, 0}.
void* NewEmptyArray();
