// ToInteger on arbitrary texts: the wrapped atoi value against a wider
// reference, and the truncation of doubles from raw bits (no UB anywhere).
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "runtime/number_parse.h"

namespace {

bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// atoi in 64-bit arithmetic; the low 32 bits of the result are what the
// runtime gives (2^32 divides 2^64, so the wrap agrees).
int32_t Reference(const char* p, size_t& digits, char& after) {
    while (IsSpace(*p)) ++p;
    bool negative = *p == '-';
    if (*p == '+' || *p == '-') ++p;
    uint64_t v = 0;
    digits = 0;
    for (; *p >= '0' && *p <= '9'; ++p, ++digits) v = v * 10 + static_cast<uint64_t>(*p - '0');
    after = *p;
    if (negative) v = 0 - v;
    return static_cast<int32_t>(static_cast<uint32_t>(v));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string input(reinterpret_cast<const char*>(data), size);
    const char* text = input.c_str();
    int32_t value = ToInteger(ArgValue::OfText(text));

    std::string normalised = NormaliseNumberText(text);
    size_t digits = 0;
    char after = 0;
    if (value != Reference(normalised.c_str(), digits, after)) std::abort();

    // Short plain numbers: the integer rule and the number rule agree.
    if (digits > 0 && digits <= 9 && after != 'e' && after != 'E' && after != '.') {
        if (value != TruncateToInt32(ToNumber(ArgValue::OfText(text)))) std::abort();
    }

    // The first eight bytes as a double: truncation must be defined for every bit pattern.
    if (size >= 8) {
        double d;
        std::memcpy(&d, data, 8);
        int32_t t = ToInteger(ArgValue::OfDouble(d));
        if (std::isnan(d) || std::fabs(d) >= 9223372036854775808.0) {
            if (t != 0) std::abort();
        } else if (std::fabs(d) < 2147483648.0) {
            if (t != static_cast<int32_t>(d)) std::abort();
        }
        float f;
        std::memcpy(&f, data, 4);
        (void)ToInteger(ArgValue::OfFloat(f));
    }
    return 0;
}
