#include "runtime/date_time.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

namespace {

constexpr int64_t kSecondsPerDay = 86400;

// Days from 1970-01-01 to the given proleptic Gregorian date (H. Hinnant's algorithm).
constexpr int64_t DaysFromCivil(int64_t y, int m, int d) {
    y -= m <= 2;
    int64_t era = (y >= 0 ? y : y - 399) / 400;
    int64_t yoe = y - era * 400;
    int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, DateTimeParts& out) {
    z += 719468;
    int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    int64_t doe = z - era * 146097;
    int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    int64_t mp = (5 * doy + 2) / 153;
    int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    out.year = static_cast<int>(yoe + era * 400 + (m <= 2));
    out.month = m;
    out.day = d;
}

// Day 0 of the date-time scale in days since 1970-01-01.
constexpr int64_t kEpochOffset = DaysFromCivil(1899, 12, 30);

}  // namespace

double ClampDateTime(double days) {
    if (std::isnan(days)) return 0;
    if (days < kMinDateTime) return kMinDateTime;
    if (days > kMaxDateTime) return kMaxDateTime;
    return days;
}

DateTimeParts BreakDateTime(double days) {
    days = ClampDateTime(days);
    // The integral part names the day; the fraction's magnitude is the time
    // of day, also for negative values.
    double whole = std::trunc(days);
    double fraction = std::fabs(days - whole);
    int64_t day = static_cast<int64_t>(whole);
    int64_t seconds = static_cast<int64_t>(std::floor(fraction * kSecondsPerDay + 0.5));
    if (seconds >= kSecondsPerDay) {
        ++day;
        seconds = 0;
    }
    DateTimeParts parts;
    CivilFromDays(day + kEpochOffset, parts);
    parts.hour = static_cast<int>(seconds / 3600);
    parts.minute = static_cast<int>(seconds / 60 % 60);
    parts.second = static_cast<int>(seconds % 60);
    return parts;
}

double MakeDateTime(const DateTimeParts& p) {
    double day = static_cast<double>(DaysFromCivil(p.year, p.month, p.day) - kEpochOffset);
    double time = (p.hour * 3600.0 + p.minute * 60.0 + p.second) / kSecondsPerDay;
    return day < 0 ? day - time : day + time;
}

std::string FormatDateTime(double days) {
    DateTimeParts p = BreakDateTime(days);
    char buf[100];
    // 年 月 日 时 分 秒, as GBK bytes so that every compiler writes the same text.
    int n = std::snprintf(buf, sizeof buf, "%d\xC4\xEA%d\xD4\xC2%d\xC8\xD5", p.year, p.month, p.day);
    if (p.second != 0)
        std::snprintf(buf + n, sizeof buf - n, "%d\xCA\xB1%d\xB7\xD6%d\xC3\xEB", p.hour, p.minute, p.second);
    else if (p.minute != 0)
        std::snprintf(buf + n, sizeof buf - n, "%d\xCA\xB1%d\xB7\xD6", p.hour, p.minute);
    else if (p.hour != 0)
        std::snprintf(buf + n, sizeof buf - n, "%d\xCA\xB1", p.hour);
    return buf;
}
