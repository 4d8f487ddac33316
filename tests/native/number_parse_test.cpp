#include "runtime/number_parse.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

TEST(NormaliseNumberText, FullWidthFormsBecomeAscii) {
    EXPECT_EQ(NormaliseNumberText("１２．５"), "12.5");
    EXPECT_EQ(NormaliseNumberText("－３ｅ＋２"), "-3e+2");
    EXPECT_EQ(NormaliseNumberText("\xA1\xA1" "1"), " 1");
    EXPECT_EQ(NormaliseNumberText("\xA1\xAB"), "~");
    EXPECT_EQ(NormaliseNumberText("\xA1\xEE\xA1\xEF"), "**");
    EXPECT_EQ(NormaliseNumberText("\xA3\xA1\xA3\xFE"), "!~");
    // Outside the mapped range the character stays as it is.
    EXPECT_EQ(NormaliseNumberText("\xA3\xA0\xA1\xA2"), "\xA3\xA0\xA1\xA2");
    EXPECT_EQ(NormaliseNumberText("价格12元"), "价格12元");
    // A trail byte in the ASCII range is part of its character, not a digit.
    EXPECT_EQ(NormaliseNumberText("\x81\x31" "2"), "\x81\x31" "2");
}

TEST(NormaliseNumberText, LeadByteBeforeTheEndStopsTheCopy) {
    EXPECT_EQ(NormaliseNumberText("12\xA3"), "12");
    EXPECT_EQ(NormaliseNumberText("\xB0"), "");
    EXPECT_EQ(NormaliseNumberText(""), "");
    EXPECT_EQ(NormaliseNumberText(nullptr), "");
}

struct DecimalCase {
    const char* text;
    double value;
};

TEST(ParseDecimal, AtofRules) {
    const DecimalCase cases[] = {
        {"12abc", 12},
        {"", 0},
        {"  \t\r\n-3.5e2x", -350},
        {"+7", 7},
        {"1e", 1},
        {"1e+", 1},
        {"1E-3", 0.001},
        {"2e3.5", 2000},
        {".5", 0.5},
        {"5.", 5},
        {"-.25", -0.25},
        {".", 0},
        {"-", 0},
        {"+.e1", 0},
        {"- 1", 0},
        {"1,5", 1},
        {"1 2", 1},
        {"0.1", 0.1},
        {"12.5", 12.5},
        {"000123.4500", 123.45},
        // strtod's extras must not apply.
        {"0x10", 0},
        {"inf", 0},
        {"-infinity", 0},
        {"nan", 0},
        {"\xA3\xB1", 0},  // not normalised here
    };
    for (const auto& c : cases) EXPECT_EQ(ParseDecimal(c.text), c.value) << c.text;
}

TEST(ParseDecimal, RoundsExactlyAndOverflowsToInfinity) {
    EXPECT_EQ(ParseDecimal("123456789012345678901234567890"), 1.2345678901234568e29);
    EXPECT_EQ(ParseDecimal("2.2250738585072011e-308"), 2.2250738585072011e-308);
    EXPECT_EQ(ParseDecimal("9007199254740993"), 9007199254740992.0);  // ties to even
    EXPECT_EQ(ParseDecimal("1e400"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(ParseDecimal("-1e400"), -std::numeric_limits<double>::infinity());
    EXPECT_EQ(ParseDecimal("1e-400"), 0.0);
    EXPECT_EQ(ParseDecimal("1e99999999999999999999"), std::numeric_limits<double>::infinity());
}

struct IntegerCase {
    const char* text;
    int32_t value;
};

TEST(ParseInteger, AtoiRulesWrapModulo2To32) {
    const IntegerCase cases[] = {
        {"-7.9", -7},
        {"  +12x", 12},
        {"abc", 0},
        {"", 0},
        {"-", 0},
        {"- 5", 0},
        {"1e3", 1},
        {"2147483647", 2147483647},
        {"2147483648", INT32_MIN},
        {"4294967295", -1},
        {"4294967297", 1},
        {"-2147483649", 2147483647},
        {"-4294967296", 0},
        {"99999999999999999999", 1661992959},  // 10^20 - 1 mod 2^32
        {"0000000000000000000042", 42},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseInteger(c.text), c.value) << c.text;
}

TEST(TruncateToInt32, TowardZeroThenLowHalfOf64Bits) {
    EXPECT_EQ(TruncateToInt32(-7.9), -7);
    EXPECT_EQ(TruncateToInt32(7.9), 7);
    EXPECT_EQ(TruncateToInt32(-0.5), 0);
    EXPECT_EQ(TruncateToInt32(4294967296.0 + 5), 5);
    EXPECT_EQ(TruncateToInt32(2147483648.0), INT32_MIN);
    EXPECT_EQ(TruncateToInt32(-1e10), -1410065408);
    EXPECT_EQ(TruncateToInt32(-9223372036854775808.0), 0);
    EXPECT_EQ(TruncateToInt32(9223372036854774784.0), -1024);  // largest double below 2^63
}

TEST(TruncateToInt32, NanAndOutOfRangeGiveZero) {
    EXPECT_EQ(TruncateToInt32(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(TruncateToInt32(std::numeric_limits<double>::infinity()), 0);
    EXPECT_EQ(TruncateToInt32(-std::numeric_limits<double>::infinity()), 0);
    EXPECT_EQ(TruncateToInt32(9223372036854775808.0), 0);
    EXPECT_EQ(TruncateToInt32(1e19), 0);
    EXPECT_EQ(TruncateToInt32(-9.3e18), 0);
    EXPECT_EQ(TruncateToInt32(1e300), 0);
}

ArgValue Raw(uint32_t low, uint32_t high, uint32_t tag) { return {low, high, tag}; }

TEST(ToNumber, ConvertsEachTagItsOwnWay) {
    EXPECT_EQ(ToNumber(ArgValue::OfText("１２．５")), 12.5);
    EXPECT_EQ(ToNumber(ArgValue::OfText("12abc")), 12);
    EXPECT_EQ(ToNumber(ArgValue::OfText("")), 0);
    EXPECT_EQ(ToNumber(ArgValue::OfText(nullptr)), 0);
    EXPECT_EQ(ToNumber(ArgValue::OfText("\xA1\xA1－１．５")), -1.5);
    EXPECT_EQ(ToNumber(ArgValue::OfBool(true)), 1);
    EXPECT_EQ(ToNumber(Raw(0xFFFFFFFF, 0, kTagBool)), -1);
    EXPECT_EQ(ToNumber(ArgValue::OfInt(INT32_MIN)), -2147483648.0);
    EXPECT_EQ(ToNumber(Raw(0x1234FFFF, 0, kTagShort)), -1);
    EXPECT_EQ(ToNumber(Raw(0x12348000, 0, kTagShort)), -32768);
    EXPECT_EQ(ToNumber(Raw(0x1FF, 0, kTagByte)), 255);
    EXPECT_EQ(ToNumber(ArgValue::OfLong(-(int64_t{1} << 40))), -1099511627776.0);
    EXPECT_EQ(ToNumber(ArgValue::OfFloat(0.1f)), static_cast<double>(0.1f));
    EXPECT_EQ(ToNumber(ArgValue::OfDouble(-7.9)), -7.9);
    EXPECT_EQ(ToNumber(ArgValue::OfPointer(reinterpret_cast<void*>(uintptr_t{0x80000000}), kTagSubroutine)),
              2147483648.0);
}

TEST(ToNumber, DateTimeArraysAndOtherTagsGiveZero) {
    EXPECT_EQ(ToNumber(ArgValue::OfDouble(43465.5, kTagDateTime)), 0);
    alignas(4) static const uint32_t bytes[] = {1, 1, 0x35};
    EXPECT_EQ(ToNumber(ArgValue::OfPointer(bytes, kTagBytes)), 0);
    EXPECT_EQ(ToNumber(ArgValue::OfPointer(bytes, kTagInt | kArrayFlag)), 0);
    EXPECT_EQ(ToNumber(Raw(5, 0, kTag8Bytes)), 0);
    EXPECT_EQ(ToNumber(Raw(5, 0, 0)), 0);
    EXPECT_EQ(ToNumber(Raw(5, 0, kWindowTypeCode)), 0);
}

TEST(ToInteger, ConvertsEachTagItsOwnWay) {
    EXPECT_EQ(ToInteger(ArgValue::OfText("-7.9")), -7);
    EXPECT_EQ(ToInteger(ArgValue::OfDouble(-7.9)), -7);
    EXPECT_EQ(ToInteger(ArgValue::OfText("１２３")), 123);
    EXPECT_EQ(ToInteger(ArgValue::OfText("4294967297")), 1);
    EXPECT_EQ(ToInteger(ArgValue::OfText(nullptr)), 0);
    EXPECT_EQ(ToInteger(ArgValue::OfFloat(3.99f)), 3);
    EXPECT_EQ(ToInteger(ArgValue::OfFloat(-3e9f)), 1294967296);
    EXPECT_EQ(ToInteger(ArgValue::OfFloat(std::numeric_limits<float>::quiet_NaN())), 0);
    EXPECT_EQ(ToInteger(ArgValue::OfDouble(1e10)), 1410065408);
    EXPECT_EQ(ToInteger(ArgValue::OfDouble(1e300)), 0);
    EXPECT_EQ(ToInteger(ArgValue::OfLong(0x100000005)), 5);
    EXPECT_EQ(ToInteger(ArgValue::OfLong(-1)), -1);
    EXPECT_EQ(ToInteger(Raw(0xABCD8001, 0, kTagShort)), -32767);
    EXPECT_EQ(ToInteger(Raw(0xABCD80FF, 0, kTagByte)), 255);
    EXPECT_EQ(ToInteger(Raw(7, 0, kTagBool)), 7);
    EXPECT_EQ(ToInteger(ArgValue::OfInt(INT32_MIN)), INT32_MIN);
    EXPECT_EQ(ToInteger(Raw(0x87654321, 0x1, kTagSubroutine)), static_cast<int32_t>(0x87654321));
    EXPECT_EQ(ToInteger(ArgValue::OfDouble(43465.5, kTagDateTime)), 0);
    EXPECT_EQ(ToInteger(Raw(9, 0, kTagBytes | kArrayFlag)), 0);
    EXPECT_EQ(ToInteger(Raw(9, 0, kWindowTypeCode)), 0);
}

}  // namespace
