// Reading argument records and writing result records inside command routines.
// A command may be called with fewer records than it declares; a missing record reads
// like an omitted one (all three words 0).
#pragma once

#include <cstdint>

#include "runtime/value.h"

namespace cmd {

inline ArgValue Arg(int32_t count, const ArgValue* args, int32_t index0) {
    if (index0 < 0 || index0 >= count || !args) return ArgValue{};
    return args[index0];
}

inline bool Given(int32_t count, const ArgValue* args, int32_t index0) { return Arg(count, args, index0).Given(); }

// The integer value of an optional argument, or its default when omitted.
inline int32_t IntOr(int32_t count, const ArgValue* args, int32_t index0, int32_t fallback) {
    ArgValue v = Arg(count, args, index0);
    return v.Given() ? v.Int() : fallback;
}

// A text argument; the tools never pass null, but a null record still reads as "".
inline const char* TextOr(int32_t count, const ArgValue* args, int32_t index0, const char* fallback) {
    ArgValue v = Arg(count, args, index0);
    if (!v.Given()) return fallback;
    const char* text = static_cast<const char*>(v.Pointer());
    return text ? text : "";
}

// Handles, addresses and file numbers travel at pointer width (value low and high).
inline void* PointerOr(int32_t count, const ArgValue* args, int32_t index0, void* fallback) {
    ArgValue v = Arg(count, args, index0);
    return v.Given() ? v.Pointer() : fallback;
}

inline void SetInt(ArgValue* result, int32_t v) { *result = ArgValue::OfInt(v); }
inline void SetBool(ArgValue* result, bool v) { *result = ArgValue::OfBool(v); }
inline void SetText(ArgValue* result, char* fresh) { *result = ArgValue::OfText(fresh); }
inline void SetByteSet(ArgValue* result, void* fresh) { *result = ArgValue::OfPointer(fresh, kTagBytes); }
// Handles and addresses that the tools hold in integer variables: pointer width.
inline void SetHandle(ArgValue* result, const void* p) { *result = ArgValue::OfPointer(p, kTagInt); }

}  // namespace cmd
