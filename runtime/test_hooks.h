// Hooks that let tests reach into the real program from outside. Compiled only when
// MG_TEST_HOOKS is 1 (every build but a release); a release program has none of them.
//   MG_FAIL_ALLOCATION=N    allocation N of the runtime heap fails (1 = the first)
//   MG_TEMPLATE_FILE=path   the window template is read from that file instead
// and registered messages sent to the hidden owner window:
//   kAllocationCountQuery        answers the number of allocations made so far
//   kFailAllocationAtInput (N)   the Nth allocation counted from the next mouse button or key
//                                press the message loop takes fails (N = 0: it is only counted
//                                from there), so that a sweep can fail one action's allocations
//   kAllocationsSinceInput       answers the allocations since that press, -1 before it came
//   kInputSentinelsTaken         answers how many F24 key presses the message loop has taken:
//                                input is taken in order, so a driver that presses F24 after
//                                its input knows that input handled once the count moves
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

#if MG_TEST_HOOKS

inline constexpr wchar_t kAllocationCountQuery[] = L"MgTestAllocationCount";
inline constexpr wchar_t kFailAllocationAtInput[] = L"MgTestFailAllocationAtInput";
inline constexpr wchar_t kAllocationsSinceInput[] = L"MgTestAllocationsSinceInput";
inline constexpr wchar_t kInputSentinelsTaken[] = L"MgTestInputSentinelsTaken";

// The allocation that MG_FAIL_ALLOCATION names, 0 for none. Allocates nothing: the heap asks
// before it counts its very first allocation.
uint64_t AllocationToFailFromEnvironment();

// The template image to read instead of the program's own, when MG_TEMPLATE_FILE names one
// (a file that cannot be read gives an empty image, which is malformed). False otherwise.
bool TestTemplateImage(const uint8_t** image, size_t* length);

// The answer to a hook message sent to the hidden owner window; false for other messages.
bool AnswerTestHookMessage(UINT message, WPARAM wParam, LRESULT* result);

// Every message the program's message loop takes, before it is handled: a press armed by
// kFailAllocationAtInput starts its count here.
void NoteMessageForTestHooks(const MSG& msg);

#endif
