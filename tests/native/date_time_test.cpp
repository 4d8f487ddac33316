#include "runtime/date_time.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>

namespace {

constexpr double kSecond = 1.0 / 86400;

auto Tie(const DateTimeParts& p) { return std::make_tuple(p.year, p.month, p.day, p.hour, p.minute, p.second); }

void ExpectParts(double days, DateTimeParts want) {
    EXPECT_EQ(Tie(BreakDateTime(days)), Tie(want)) << days;
}

TEST(BreakDateTime, DayNumbersFromTheEpoch) {
    ExpectParts(0, {1899, 12, 30, 0, 0, 0});
    ExpectParts(1, {1899, 12, 31, 0, 0, 0});
    ExpectParts(2, {1900, 1, 1, 0, 0, 0});
    // 1900 is no leap year in the Gregorian calendar.
    ExpectParts(60, {1900, 2, 28, 0, 0, 0});
    ExpectParts(61, {1900, 3, 1, 0, 0, 0});
    ExpectParts(36585, {2000, 2, 29, 0, 0, 0});
    ExpectParts(43465, {2018, 12, 31, 0, 0, 0});
    ExpectParts(73109, {2100, 2, 28, 0, 0, 0});
    ExpectParts(73110, {2100, 3, 1, 0, 0, 0});
}

TEST(BreakDateTime, NegativeValuesCountTheTimeForwardFromTheirDay) {
    ExpectParts(-1.25, {1899, 12, 29, 6, 0, 0});
    ExpectParts(-1.0, {1899, 12, 29, 0, 0, 0});
    ExpectParts(-0.5, {1899, 12, 30, 12, 0, 0});
    ExpectParts(-2.75, {1899, 12, 28, 18, 0, 0});
}

TEST(BreakDateTime, RoundsToTheNearestSecondAndCarriesIntoTheNextDay) {
    ExpectParts(0.49 * kSecond, {1899, 12, 30, 0, 0, 0});
    ExpectParts(0.5 * kSecond, {1899, 12, 30, 0, 0, 1});
    ExpectParts(1 - 0.4 * kSecond, {1899, 12, 31, 0, 0, 0});
    ExpectParts(43465 + (13 * 3600 + 5 * 60 + 6.7) * kSecond, {2018, 12, 31, 13, 5, 7});
    // Day -1 at 23:59:59.6 is day 0 at midnight.
    ExpectParts(-1 - (86399.6 * kSecond), {1899, 12, 30, 0, 0, 0});
}

TEST(BreakDateTime, ClampsToYears100To9999) {
    ExpectParts(-657434, {100, 1, 1, 0, 0, 0});
    ExpectParts(-657434.75, {100, 1, 1, 0, 0, 0});
    ExpectParts(-1e300, {100, 1, 1, 0, 0, 0});
    ExpectParts(-std::numeric_limits<double>::infinity(), {100, 1, 1, 0, 0, 0});
    ExpectParts(2958465, {9999, 12, 31, 0, 0, 0});
    ExpectParts(2958465.5, {9999, 12, 31, 0, 0, 0});
    ExpectParts(std::numeric_limits<double>::infinity(), {9999, 12, 31, 0, 0, 0});
    ExpectParts(std::numeric_limits<double>::quiet_NaN(), {1899, 12, 30, 0, 0, 0});
}

TEST(MakeDateTime, InvertsTheBreakdownAcrossTheWholeRange) {
    EXPECT_EQ(MakeDateTime({1899, 12, 30, 0, 0, 0}), 0.0);
    EXPECT_EQ(MakeDateTime({1899, 12, 29, 6, 0, 0}), -1.25);
    EXPECT_EQ(MakeDateTime({100, 1, 1, 0, 0, 0}), -657434.0);
    EXPECT_EQ(MakeDateTime({9999, 12, 31, 0, 0, 0}), 2958465.0);
    EXPECT_DOUBLE_EQ(MakeDateTime({2018, 12, 31, 12, 0, 0}), 43465.5);
    // Day -657434 with a time lies below the range, so start one day later.
    for (double day = -657433; day < 2958465; day += 997) {
        for (DateTimeParts time : {DateTimeParts{0, 0, 0, 0, 0, 0}, DateTimeParts{0, 0, 0, 13, 5, 7},
                                   DateTimeParts{0, 0, 0, 23, 59, 59}}) {
            DateTimeParts p = BreakDateTime(day);
            p.hour = time.hour;
            p.minute = time.minute;
            p.second = time.second;
            double value = MakeDateTime(p);
            EXPECT_EQ(std::trunc(value), day);
            EXPECT_EQ(Tie(BreakDateTime(value)), Tie(p)) << day;
        }
    }
}

TEST(FormatDateTime, LeavesOutTrailingZeroTimeParts) {
    const double day = 43465;  // 2018-12-31
    EXPECT_EQ(FormatDateTime(day + (13 * 3600 + 5 * 60 + 7) * kSecond), "2018年12月31日13时5分7秒");
    EXPECT_EQ(FormatDateTime(day + (13 * 3600 + 5 * 60) * kSecond), "2018年12月31日13时5分");
    EXPECT_EQ(FormatDateTime(day + 13 * 3600 * kSecond), "2018年12月31日13时");
    EXPECT_EQ(FormatDateTime(day), "2018年12月31日");
    EXPECT_EQ(FormatDateTime(day + 7 * kSecond), "2018年12月31日0时0分7秒");
    EXPECT_EQ(FormatDateTime(day + 5 * 60 * kSecond), "2018年12月31日0时5分");
    EXPECT_EQ(FormatDateTime(-1e9), "100年1月1日");
    EXPECT_EQ(FormatDateTime(3e6), "9999年12月31日");
    EXPECT_EQ(FormatDateTime(-1.25), "1899年12月29日6时");
}

}  // namespace
