// Hooks that let tests reach into the real program from outside. Compiled only when
// MG_TEST_HOOKS is 1 (every build but a release); a release program has none of them.
//   MG_FAIL_ALLOCATION=N    allocation N of the runtime heap fails (1 = the first)
//   MG_TEMPLATE_FILE=path   the window template is read from that file instead
// and the registered message kAllocationCountQuery, sent to the hidden owner window,
// answers the number of allocations made so far.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

#if MG_TEST_HOOKS

inline constexpr wchar_t kAllocationCountQuery[] = L"MgTestAllocationCount";

// The allocation that MG_FAIL_ALLOCATION names, 0 for none. Allocates nothing: the heap asks
// before it counts its very first allocation.
uint64_t AllocationToFailFromEnvironment();

// The template image to read instead of the program's own, when MG_TEMPLATE_FILE names one
// (a file that cannot be read gives an empty image, which is malformed). False otherwise.
bool TestTemplateImage(const uint8_t** image, size_t* length);

// The answer to a hook message sent to the hidden owner window; false for other messages.
bool AnswerTestHookMessage(UINT message, LRESULT* result);

#endif
