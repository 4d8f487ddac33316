// Date-time values: doubles counting days from 30 December 1899 00:00, the
// fraction being the time of day. As with OLE dates, for negative values the
// fraction is the time after the integral day's midnight: -1.25 is
// 29 December 1899 06:00. The calendar is the proleptic Gregorian one.
#pragma once

#include <string>

struct DateTimeParts {
    int year = 1899;
    int month = 12;
    int day = 30;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// The range the date-time text is defined for: 1 January 100 to 31 December 9999 00:00.
constexpr double kMinDateTime = -657434;
constexpr double kMaxDateTime = 2958465;

// Clamps to the range above; NaN counts as 0 (30 December 1899).
double ClampDateTime(double days);

// Breaks a clamped value into its parts, rounded to the nearest second (half a
// second rounds up, which may carry into the next day).
DateTimeParts BreakDateTime(double days);

// Day count of the parts (the reverse of BreakDateTime; the parts must form a
// valid date and time of day).
double MakeDateTime(const DateTimeParts& parts);

// "%d年%d月%d日" followed by "%d时%d分%d秒", "%d时%d分", "%d时" or nothing,
// whichever is the shortest that keeps every non-zero part of the time.
std::string FormatDateTime(double days);
