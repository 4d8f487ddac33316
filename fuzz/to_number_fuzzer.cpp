// ToNumber on arbitrary texts, checked against the C library's own strtod
// (where its extra forms cannot apply) and against the number formatter.
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "runtime/number_format.h"
#include "runtime/number_parse.h"

namespace {

bool SameDouble(double a, double b) { return a == b && std::signbit(a) == std::signbit(b); }

// True when strtod would read something the runtime does not: hexadecimal,
// "inf", "infinity", "nan".
bool HasStrtodExtras(const char* p) {
    while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
    if (*p == '+' || *p == '-') ++p;
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) return true;
    return *p == 'i' || *p == 'I' || *p == 'n' || *p == 'N';
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string input(reinterpret_cast<const char*>(data), size);
    std::string text = input.c_str();  // the command sees the text up to its NUL
    double value = ToNumber(ArgValue::OfText(text.c_str()));
    if (std::isnan(value)) std::abort();

    std::string normalised = NormaliseNumberText(text.c_str());
    if (!HasStrtodExtras(normalised.c_str())) {
        double reference = std::strtod(normalised.c_str(), nullptr);
        if (!SameDouble(value, reference)) std::abort();
    }

    // Parsing stops at the first misfit, so a trailing misfit changes nothing.
    std::string longer = text + "z";
    if (!SameDouble(ToNumber(ArgValue::OfText(longer.c_str())), value)) std::abort();

    // Seventeen digits with the widened exponent read back to the same value.
    if (std::isfinite(value)) {
        std::string written = FormatGeneral(value, 17);
        if (!SameDouble(ParseDecimal(written.c_str()), value)) std::abort();
        if (FormatDouble(value).size() > 24) std::abort();
        if (std::fabs(value) > FLT_MAX) return 0;
        float f = static_cast<float>(value);
        std::string shortText = FormatFloat(f);
        double back = ParseDecimal(shortText.c_str());
        if (std::isfinite(f) && f != 0 && std::fabs(back - f) > std::fabs(f) * 1e-5) std::abort();
    }
    return 0;
}
