#include "runtime/number_format.h"

#include <charconv>
#include <cmath>

namespace {

// Powers of ten as literals, so every compiler and C library scales floats the
// same way (pow() results differ between libraries in the last bit).
constexpr double kPow10[] = {
    1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
    1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22, 1e23, 1e24, 1e25, 1e26, 1e27, 1e28, 1e29, 1e30, 1e31,
    1e32, 1e33, 1e34, 1e35, 1e36, 1e37, 1e38, 1e39, 1e40, 1e41, 1e42, 1e43, 1e44, 1e45, 1e46, 1e47,
    1e48, 1e49, 1e50, 1e51, 1e52, 1e53, 1e54, 1e55, 1e56, 1e57, 1e58, 1e59, 1e60,
};
constexpr int kMaxPow10 = static_cast<int>(sizeof kPow10 / sizeof kPow10[0]) - 1;

// m × 10^k for |k| within the table.
double ScaleByPow10(double m, int k) { return k >= 0 ? m * kPow10[k] : m / kPow10[-k]; }

// Rewrites the exponent of a %g text to a sign and at least three digits.
std::string WidenExponent(const char* first, const char* last) {
    std::string out(first, last);
    size_t e = out.find('e');
    if (e == std::string::npos) return out;
    size_t digits = e + 1;
    if (digits < out.size() && (out[digits] == '+' || out[digits] == '-'))
        ++digits;
    else
        out.insert(digits++, 1, '+');
    size_t count = out.size() - digits;
    if (count < 3) out.insert(digits, 3 - count, '0');
    return out;
}

template <typename T>
std::string FormatInteger(T v) {
    char buf[24];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

}  // namespace

std::string FormatGeneral(double v, int precision) {
    if (std::isnan(v)) return "nan";
    if (std::isinf(v)) return v < 0 ? "-inf" : "inf";
    if (precision < 1) precision = 1;
    if (precision > 17) precision = 17;
    // to_chars has printf's %g semantics but is independent of the C library
    // and of the locale, so both builds write the same digits.
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, precision);
    return WidenExponent(buf, r.ptr);
}

std::string FormatDouble(double v) { return FormatGeneral(v, 13); }

double RoundToSixDigits(float v) {
    double d = v;
    if (d == 0 || !std::isfinite(d)) return d;
    double m = std::fabs(d);
    // Decimal exponent of m; log10 may be off by one near powers of ten, so
    // check the scaled value once in each direction.
    int e = static_cast<int>(std::floor(std::log10(m)));
    double s = ScaleByPow10(m, 5 - e);
    if (s >= 1e6) {
        ++e;
        s = ScaleByPow10(m, 5 - e);
    } else if (s < 1e5) {
        --e;
        s = ScaleByPow10(m, 5 - e);
    }
    // Floats span 10^-45 .. 10^38, so 5 - e stays within the table.
    static_assert(kMaxPow10 >= 51);
    double rounded = std::floor(s + 0.5);
    double back = ScaleByPow10(rounded, e - 5);
    return d < 0 ? -back : back;
}

std::string FormatFloat(float v) { return FormatGeneral(RoundToSixDigits(v), 6); }

std::string FormatUnsigned(uint32_t v) { return FormatInteger(v); }
std::string FormatInt(int32_t v) { return FormatInteger(v); }
std::string FormatLong(int64_t v) { return FormatInteger(v); }
