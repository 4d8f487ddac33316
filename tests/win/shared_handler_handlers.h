// The handler the shared-handler test form binds to its units' key events.
#pragma once

#include <cstdint>

void RecordKeyAndSource(int32_t key, int32_t modifiers);
