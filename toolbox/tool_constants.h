// The tools' constant block: constant texts and empty arrays that tool variables may hold.
// The runtime knows its bounds, so a variable that still holds a constant can be freed
// like any other (the free is ignored) and is copied before it is written.
#pragma once

#include <cstdint>

struct ToolConstants {
    char emptyText[1];
    uint32_t emptyArray[2];  // {1, 0}: the empty array and the empty byte set
};

extern const ToolConstants kToolConstants;
