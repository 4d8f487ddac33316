#include "runtime/number_parse.h"

#include <cstdlib>

#include "runtime/gbk.h"

namespace {

// The C locale's white space; isspace() would depend on the locale.
bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string NormaliseNumberText(const char* text) {
    std::string out;
    if (!text) return out;
    for (const char* p = text; *p;) {
        uint8_t lead = static_cast<uint8_t>(*p);
        if (!gbk::IsLeadByte(lead)) {
            out += *p++;
            continue;
        }
        uint8_t trail = static_cast<uint8_t>(p[1]);
        if (trail == 0) break;
        if (lead == 0xA1 && trail == 0xA1)
            out += ' ';
        else if (lead == 0xA1 && trail == 0xAB)
            out += '~';
        else if (lead == 0xA1 && (trail == 0xEE || trail == 0xEF))
            out += '*';
        else if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE)
            out += static_cast<char>(trail & 0x7F);
        else
            out.append(p, 2);
        p += 2;
    }
    return out;
}

double ParseDecimal(const char* text) {
    if (!text) return 0;
    const char* p = text;
    while (IsSpace(*p)) ++p;
    // Only the part that fits the grammar goes to strtod, so its extras
    // (hexadecimal, "inf", "nan") can never apply.
    std::string clean;
    if (*p == '+' || *p == '-') clean += *p++;
    size_t digits = 0;
    while (IsDigit(*p)) clean += *p++, ++digits;
    if (*p == '.') {
        clean += *p++;
        while (IsDigit(*p)) clean += *p++, ++digits;
    }
    if (digits == 0) return 0;
    if (*p == 'e' || *p == 'E') {
        const char* q = p + 1;
        if (*q == '+' || *q == '-') ++q;
        if (IsDigit(*q)) {
            while (IsDigit(*q)) ++q;
            clean.append(p, q);
        }
    }
    return std::strtod(clean.c_str(), nullptr);
}

int32_t ParseInteger(const char* text) {
    if (!text) return 0;
    const char* p = text;
    while (IsSpace(*p)) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    uint32_t value = 0;  // unsigned: the wrap-around is the rule, not an overflow
    while (IsDigit(*p)) value = value * 10 + static_cast<uint32_t>(*p++ - '0');
    if (negative) value = 0u - value;
    return static_cast<int32_t>(value);
}

int32_t TruncateToInt32(double v) {
    // -2^63 is representable and in range; 2^63 is the first value above it.
    constexpr double kLow = -9223372036854775808.0;
    constexpr double kHigh = 9223372036854775808.0;
    if (!(v >= kLow && v < kHigh)) return 0;  // NaN fails both comparisons
    int64_t whole = static_cast<int64_t>(v);  // truncates toward zero
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(whole)));
}

double ToNumber(const ArgValue& v) {
    switch (v.tag) {
        case kTagText: return ParseDecimal(NormaliseNumberText(v.Text()).c_str());
        case kTagBool:
        case kTagInt: return v.Int();
        case kTagShort: return v.Short();
        case kTagByte: return v.Byte();
        case kTagLong: return static_cast<double>(v.Long());
        case kTagFloat: return v.Float();
        case kTagDouble: return v.Double();
        case kTagSubroutine: return static_cast<double>(reinterpret_cast<uintptr_t>(v.Pointer()));
        default: return 0;
    }
}

int32_t ToInteger(const ArgValue& v) {
    switch (v.tag) {
        case kTagText: return ParseInteger(NormaliseNumberText(v.Text()).c_str());
        case kTagBool:
        case kTagInt: return v.Int();
        case kTagShort: return v.Short();
        case kTagByte: return v.Byte();
        case kTagLong:
        case kTagSubroutine: return static_cast<int32_t>(v.low);  // the low 32 bits
        case kTagFloat: return TruncateToInt32(v.Float());
        case kTagDouble: return TruncateToInt32(v.Double());
        default: return 0;
    }
}
