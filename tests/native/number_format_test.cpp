#include "runtime/number_format.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

struct DoubleCase {
    double value;
    const char* text;
};

TEST(FormatDouble, ThirteenSignificantDigitsWithThreeDigitExponent) {
    const DoubleCase cases[] = {
        {3.0, "3"},
        {0.1, "0.1"},
        {0.5, "0.5"},
        {100.0, "100"},
        {1.0 / 3, "0.3333333333333"},
        {-2.0 / 3, "-0.6666666666667"},
        {1234567.5, "1234567.5"},
        {1e15, "1e+015"},
        {1.5e-7, "1.5e-007"},
        {1e-5, "1e-005"},
        {0.0001, "0.0001"},
        {1e100, "1e+100"},
        {-1e-300, "-1e-300"},
        {5e-324, "4.940656458412e-324"},
        {DBL_MAX, "1.797693134862e+308"},
        {9999999999999.0, "9999999999999"},
        {99999999999999.0, "1e+014"},
        {123456789012345.0, "1.234567890123e+014"},
        {0.0, "0"},
        {-0.0, "-0"},
        {0.1 + 0.2, "0.3"},
        {12.5 * 3, "37.5"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatDouble(c.value), c.text) << c.value;
}

TEST(FormatDouble, NonFiniteValuesHaveOneStableText) {
    EXPECT_EQ(FormatDouble(std::numeric_limits<double>::infinity()), "inf");
    EXPECT_EQ(FormatDouble(-std::numeric_limits<double>::infinity()), "-inf");
    EXPECT_EQ(FormatDouble(std::numeric_limits<double>::quiet_NaN()), "nan");
    EXPECT_EQ(FormatDouble(-std::numeric_limits<double>::quiet_NaN()), "nan");
    EXPECT_EQ(FormatFloat(-std::numeric_limits<float>::infinity()), "-inf");
}

TEST(FormatGeneral, PrecisionFollowsPrintf) {
    EXPECT_EQ(FormatGeneral(123456789.0, 6), "1.23457e+008");
    EXPECT_EQ(FormatGeneral(0.000012345, 3), "1.23e-005");
    EXPECT_EQ(FormatGeneral(1.0 / 3, 17), "0.33333333333333331");
}

struct FloatCase {
    float value;
    const char* text;
};

TEST(FormatFloat, RoundsToSixDigitsHalfUpBeforePrinting) {
    const FloatCase cases[] = {
        {0.1f, "0.1"},
        {3.0f, "3"},
        {2.5f, "2.5"},
        {-1.5f, "-1.5"},
        {1.0f / 3, "0.333333"},
        {1234567.0f, "1.23457e+006"},
        // Exactly halfway: printf alone would round to even (123456).
        {123456.5f, "123457"},
        {-123456.5f, "-123457"},
        // 1e15f is 999999986991104: the rounding carries into a seventh digit.
        {1e15f, "1e+015"},
        {1e-10f, "1e-010"},
        {FLT_MAX, "3.40282e+038"},
        {FLT_TRUE_MIN, "1.4013e-045"},
        {0.0f, "0"},
        {16777216.0f, "1.67772e+007"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatFloat(c.value), c.text) << c.value;
}

TEST(RoundToSixDigits, GivesTheShortDecimalValue) {
    EXPECT_EQ(RoundToSixDigits(0.1f), 0.1);
    EXPECT_EQ(RoundToSixDigits(-0.1f), -0.1);
    EXPECT_EQ(RoundToSixDigits(1000.0f), 1000.0);
    EXPECT_EQ(RoundToSixDigits(999999.5f), 1000000.0);
    EXPECT_EQ(RoundToSixDigits(0.0f), 0.0);
    EXPECT_TRUE(std::isnan(RoundToSixDigits(std::numeric_limits<float>::quiet_NaN())));
    // Powers of ten, where log10 is most likely to be off by one.
    for (int e = -30; e <= 30; ++e) {
        float f = static_cast<float>(std::pow(10.0, e));
        double r = RoundToSixDigits(f);
        EXPECT_NEAR(r / std::pow(10.0, e), 1.0, 1e-12) << e;
    }
}

TEST(FormatIntegers, FullRanges) {
    EXPECT_EQ(FormatUnsigned(0), "0");
    EXPECT_EQ(FormatUnsigned(255), "255");
    EXPECT_EQ(FormatUnsigned(UINT32_MAX), "4294967295");
    EXPECT_EQ(FormatInt(-1), "-1");
    EXPECT_EQ(FormatInt(INT32_MIN), "-2147483648");
    EXPECT_EQ(FormatInt(INT32_MAX), "2147483647");
    EXPECT_EQ(FormatLong(INT64_MIN), "-9223372036854775808");
    EXPECT_EQ(FormatLong(INT64_MAX), "9223372036854775807");
}

}  // namespace
