#include "forms/edit_input.h"

#include <cctype>
#include <cfloat>
#include <cstdint>
#include <vector>

#include "runtime/date_time.h"
#include "runtime/number_format.h"
#include "runtime/number_parse.h"

namespace {

bool IsDigit(uint32_t ch) { return ch >= '0' && ch <= '9'; }

// Sign and decimal digits after leading white space, saturating at the given bounds
// (low <= 0 <= high).
int64_t ParseSaturating(const std::string& normalised, int64_t low, int64_t high) {
    size_t i = 0;
    while (i < normalised.size() && (normalised[i] == ' ' || normalised[i] == '\t')) ++i;
    bool negative = false;
    if (i < normalised.size() && (normalised[i] == '-' || normalised[i] == '+')) negative = normalised[i++] == '-';
    // The magnitude is limited by the bound on the sign's side; -(low + 1) + 1 avoids the
    // overflow of negating the most negative value.
    uint64_t limit = negative ? static_cast<uint64_t>(-(low + 1)) + 1 : static_cast<uint64_t>(high);
    uint64_t magnitude = 0;
    for (; i < normalised.size() && IsDigit(static_cast<uint8_t>(normalised[i])); ++i) {
        uint64_t digit = static_cast<uint64_t>(normalised[i] - '0');
        if (digit > limit || magnitude > (limit - digit) / 10) {
            magnitude = limit;
            break;
        }
        magnitude = magnitude * 10 + digit;
    }
    if (!negative) return static_cast<int64_t>(magnitude);
    return magnitude == 0 ? 0 : -static_cast<int64_t>(magnitude - 1) - 1;
}

std::string IntegerText(int64_t v) { return v == 0 ? std::string() : FormatLong(v); }

// Year, month, day and an optional time, separated by anything that is not a digit.
std::optional<std::string> NormaliseDate(const std::string& text) {
    std::vector<int> numbers;
    long current = -1;
    for (unsigned char c : text) {
        if (IsDigit(c)) {
            current = (current < 0 ? 0 : current) * 10 + (c - '0');
            if (current > 100000) return std::nullopt;
        } else if (current >= 0) {
            numbers.push_back(static_cast<int>(current));
            current = -1;
        }
    }
    if (current >= 0) numbers.push_back(static_cast<int>(current));
    if (numbers.size() < 3 || numbers.size() > 6) return std::nullopt;
    DateTimeParts p;
    p.year = numbers[0];
    p.month = numbers[1];
    p.day = numbers[2];
    p.hour = numbers.size() > 3 ? numbers[3] : 0;
    p.minute = numbers.size() > 4 ? numbers[4] : 0;
    p.second = numbers.size() > 5 ? numbers[5] : 0;
    static const int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (p.year < 100 || p.year > 9999 || p.month < 1 || p.month > 12 || p.day < 1 || p.day > kDays[p.month - 1])
        return std::nullopt;
    bool leap = (p.year % 4 == 0 && p.year % 100 != 0) || p.year % 400 == 0;
    if (p.month == 2 && p.day == 29 && !leap) return std::nullopt;
    if (p.hour > 23 || p.minute > 59 || p.second > 59) return std::nullopt;
    return FormatDateTime(MakeDateTime(p));
}

}  // namespace

bool EditModeAcceptsChar(uint32_t mode, uint32_t ch) {
    if (ch < 0x20) return true;
    switch (mode) {
        case 3:
        case 6:
        case 7:
        case 8: return IsDigit(ch) || ch == '-';
        case 4:
        case 9:
        case 10: return IsDigit(ch) || ch == '-' || ch == '.';
        case 5: return IsDigit(ch);
        case 11: return IsDigit(ch) || ch == '-' || ch == '/' || ch == ':' || ch == '.' || ch == ' ' || ch >= 0x80;
        default: return true;
    }
}

bool EditModeFiltersChars(uint32_t mode) { return mode >= 3 && mode <= 11; }

std::optional<std::string> NormaliseEditText(uint32_t mode, const std::string& text) {
    if (mode < 5 || mode > 11) return std::nullopt;
    if (text.empty()) return text;
    std::string n = NormaliseNumberText(text.c_str());
    switch (mode) {
        case 5: return IntegerText(ParseSaturating(n, 0, 255));
        case 6: return IntegerText(ParseSaturating(n, INT16_MIN, INT16_MAX));
        case 7: return IntegerText(ParseSaturating(n, INT32_MIN, INT32_MAX));
        case 8: return IntegerText(ParseSaturating(n, INT64_MIN, INT64_MAX));
        case 9: {
            double d = ParseDecimal(n.c_str());
            if (d > FLT_MAX) d = FLT_MAX;
            if (d < -FLT_MAX) d = -FLT_MAX;
            float f = static_cast<float>(d);
            return f == 0 ? std::string() : FormatFloat(f);
        }
        case 10: {
            double d = ParseDecimal(n.c_str());
            return d == 0 ? std::string() : FormatDouble(d);
        }
        default: {
            std::optional<std::string> date = NormaliseDate(text);
            return date ? *date : text;
        }
    }
}
