// Conversion, text and environment commands at the command boundary: result tags, fresh
// blocks for the caller, null for empty results, the shapes of byte sets and text arrays.
#include <gtest/gtest.h>

#include <cmath>

#include "runtime/app.h"
#include "runtime/commands/core_commands.h"
#include "runtime/date_time.h"
#include "tests/win/command_test_util.h"

namespace {

std::vector<std::string> TakeTextArray(const ArgValue& v) {
    EXPECT_EQ(v.tag, kTagText | kArrayFlag);
    void* array = v.Pointer();
    EXPECT_NE(array, nullptr);  // an array result is never null
    std::vector<std::string> members;
    if (!array) return members;
    EXPECT_EQ(array_block::DimensionCount(array), 1u);
    for (uint32_t i = 0; i < array_block::DimensionSize(array, 0); ++i) {
        auto* member = static_cast<char*>(array_block::PointerElement(array, i));
        if (member) {
            EXPECT_NE(*member, '\0');  // empty members are null, never ""
        }
        members.emplace_back(member ? member : "");
        RtFree(member);
    }
    RtFree(array);
    return members;
}

}  // namespace

TEST(ConversionCommands, ResultsCarryTheirTagsAndEmptyTextsAreNull) {
    ArgStore s;
    ArgValue n = Call(&ToNumber, {s.Text("\xA3\xB1\xA3\xB2\xA3\xAE\xA3\xB5")});  // １２．５
    EXPECT_EQ(n.tag, kTagDouble);
    EXPECT_EQ(n.Double(), 12.5);
    ArgValue i = Call(&ToInteger, {ArgValue::OfDouble(-7.9)});
    EXPECT_EQ(i.tag, kTagInt);
    EXPECT_EQ(i.Int(), -7);

    int64_t live = LiveBlockCount();
    ArgValue t = Call(&ToText, {ArgValue::OfDouble(1.0 / 3)});
    EXPECT_EQ(t.tag, kTagText);
    EXPECT_EQ(LiveBlockCount(), live + 1);
    EXPECT_EQ(TakeText(t), "0.3333333333333");

    ArgValue empty = Call(&ToText, {s.Text("")});
    EXPECT_EQ(empty.tag, kTagText);
    EXPECT_EQ(empty.Pointer(), nullptr);
    EXPECT_EQ(Call(&ToText, {Omitted()}).Pointer(), nullptr);
    EXPECT_EQ(LiveBlockCount(), live);
}

TEST(ConversionCommands, ToBytesGivesAByteSetBlockOrNull) {
    ArgStore s;
    ArgValue b = Call(&ToBytes, {Int(0x04030201)});
    EXPECT_EQ(b.tag, kTagBytes);
    void* block = b.Pointer();
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(array_block::DimensionCount(block), 1u);
    EXPECT_EQ(TakeBytes(b), "\x01\x02\x03\x04");
    EXPECT_EQ(TakeBytes(Call(&ToBytes, {s.Text("ab")})), "ab");
    EXPECT_EQ(Call(&ToBytes, {s.Text("")}).Pointer(), nullptr);
    EXPECT_EQ(Call(&ToBytes, {ArgValue::OfUnit(1, 2, kWindowTypeCode)}).Pointer(), nullptr);
    // A byte array's data up to the first NUL as text.
    EXPECT_EQ(TakeText(Call(&ToText, {s.Bytes(std::string("a\0b", 3))})), "a");
}

TEST(ConversionCommands, MakeShortAndPointerToBytes) {
    struct Row {
        int32_t low, high;
        uint32_t expected;
    };
    for (Row r : {Row{2, 0, 2}, Row{0x34, 0x12, 0x1234}, Row{0x1FF, 0x2FE, 0xFEFF}, Row{-1, -1, 0xFFFF}}) {
        ArgValue v = Call(&MakeShort, {Int(r.low), Int(r.high)});
        EXPECT_EQ(v.tag, kTagShort);
        EXPECT_EQ(v.low, r.expected);  // the record's other bits stay 0
        EXPECT_EQ(v.high, 0u);
    }

    const char memory[] = "\x01\x00\xFFxyz";
    EXPECT_EQ(TakeBytes(Call(&PointerToBytes, {Handle(memory), Int(4)})), std::string("\x01\x00\xFFx", 4));
    ArgValue none = Call(&PointerToBytes, {Handle(memory), Int(0)});
    EXPECT_EQ(none.tag, kTagBytes);
    EXPECT_EQ(none.Pointer(), nullptr);
    // A negative length is no length (it used to mean reading gigabytes).
    EXPECT_EQ(Call(&PointerToBytes, {Handle(memory), Int(-1)}).Pointer(), nullptr);
}

TEST(TextCommands, TextLengthCountsBytes) {
    ArgStore s;
    const std::pair<std::string, int32_t> rows[] = {{"", 0}, {"abc", 3}, {"\xD6\xD0\xCE\xC4", 4}, {"a\xD6\xD0", 3}};
    for (const auto& [text, length] : rows) {
        ArgValue v = Call(&TextLength, {s.Text(text)});
        EXPECT_EQ(v.tag, kTagInt);
        EXPECT_EQ(v.Int(), length);
    }
}

TEST(TextCommands, SplitTextBuildsATextArrayWithNullForEmptyMembers) {
    ArgStore s;
    // The splitting rules have their own tests; here the array's shape: null for empty
    // members, an empty block (never null) for no members, the delimiter and maximum passed on.
    struct Row {
        std::string text;
        ArgValue delimiter, maximum;
        std::vector<std::string> members;
    };
    const Row rows[] = {
        {"a,,b", Omitted(), Omitted(), {"a", "", "b"}},
        {"a,b,c", Omitted(), Int(2), {"a", "b"}},
        {"a,b", Omitted(), Int(0), {}},
        {"", Omitted(), Omitted(), {}},
        // 疆内，127.0.0.1 with the full-width comma of the host lists
        {"\xBD\xAE\xC4\xDA\xA3\xAC" "127.0.0.1", s.Text("\xA3\xAC"), Omitted(), {"\xBD\xAE\xC4\xDA", "127.0.0.1"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(TakeTextArray(Call(&SplitText, {s.Text(row.text), row.delimiter, row.maximum})), row.members);
    }
    // Everything handed out was freed again.
    int64_t live = LiveBlockCount();
    TakeTextArray(Call(&SplitText, {s.Text("x,y,,z")}));
    EXPECT_EQ(LiveBlockCount(), live);
}

TEST(SystemCommands, GetRunDirectoryCopiesTheRunDirectory) {
    App().runDirectory = "C:\\\xB3\xCC\xD0\xF2";  // C:\程序
    ArgValue v = Call(&GetRunDirectory);
    EXPECT_EQ(v.tag, kTagText);
    ASSERT_NE(v.Pointer(), App().runDirectory.c_str());  // a copy, not the runtime's own
    EXPECT_EQ(TakeText(v), "C:\\\xB3\xCC\xD0\xF2");
    App().runDirectory.clear();
    EXPECT_EQ(Call(&GetRunDirectory).Pointer(), nullptr);
}

TEST(SystemCommands, GetCurrentDateTimeIsLocalTimeInWholeSeconds) {
    SYSTEMTIME before, after;
    GetLocalTime(&before);
    ArgValue v = Call(&GetCurrentDateTime);
    GetLocalTime(&after);
    EXPECT_EQ(v.tag, kTagDateTime);
    DateTimeParts parts = BreakDateTime(v.Double());
    auto seconds = [](int h, int m, int s) { return (h * 60 + m) * 60 + s; };
    int got = seconds(parts.hour, parts.minute, parts.second);
    EXPECT_GE(got, seconds(before.wHour, before.wMinute, before.wSecond));
    EXPECT_LE(got, seconds(after.wHour, after.wMinute, after.wSecond));
    EXPECT_EQ(parts.day, before.wDay);
    // No fraction of a second.
    double secondsOfDay = (v.Double() - std::floor(v.Double())) * 86400;
    EXPECT_NEAR(secondsOfDay, std::round(secondsOfDay), 1e-4);
}

// A negative time counts as 0: a sleep of -5000 ms ends before a platform timer of 3000 ms,
// set just before it, has come due (a sleep of 5000 ms would end after it).
TEST(SystemCommands, SleepWaitsAndTreatsNegativeAsZero) {
    UINT_PTR due = SetTimer(nullptr, 0, 3000, nullptr);
    ASSERT_NE(due, 0u);
    Call(&Sleep, {Int(-5000)});
    MSG msg;
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_TIMER, WM_TIMER, PM_NOREMOVE)) << "the sleep outlasted the timer";
    KillTimer(nullptr, due);
    DWORD start = GetTickCount();
    Call(&Sleep, {Int(150)});
    EXPECT_GE(GetTickCount() - start, 120u);
}
