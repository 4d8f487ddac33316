// The tools' start routine: the whole life of the program runs inside it.
#pragma once

#include <cstdint>

constexpr uint32_t kMainWindowId = 0x52010001;

int32_t StartTools();
