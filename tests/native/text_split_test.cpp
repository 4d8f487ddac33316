#include "runtime/text_split.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using Members = std::vector<std::string>;

struct SplitCase {
    const char* text;
    const char* delimiter;
    std::optional<int32_t> maximum;
    Members members;
};

TEST(SplitText, MembersBetweenDelimiters) {
    const SplitCase cases[] = {
        {"a,b,c", ",", {}, {"a", "b", "c"}},
        {"a,,b", ",", {}, {"a", "", "b"}},
        {"a,b,", ",", {}, {"a", "b"}},
        {",a", ",", {}, {"", "a"}},
        {",", ",", {}, {""}},
        {",,", ",", {}, {"", ""}},
        {"abc", ",", {}, {"abc"}},
        {"a--b--", "--", {}, {"a", "b"}},
        {"a-b", "--", {}, {"a-b"}},
        {"ab", "abc", {}, {"ab"}},
        {"abc", "abc", {}, {""}},
    };
    for (const auto& c : cases) EXPECT_EQ(SplitText(c.text, c.delimiter, c.maximum), c.members) << c.text;
}

TEST(SplitText, EmptyTextEmptyDelimiterAndZeroMaximum) {
    EXPECT_EQ(SplitText("", ","), Members{});
    EXPECT_EQ(SplitText("", ""), Members{});
    EXPECT_EQ(SplitText(nullptr, ","), Members{});
    EXPECT_EQ(SplitText("abc", ""), Members{"abc"});
    EXPECT_EQ(SplitText("a,b", "", 5), Members{"a,b"});
    EXPECT_EQ(SplitText("a,b", ",", 0), Members{});
    EXPECT_EQ(SplitText("a,b", ",", -3), Members{});
    EXPECT_EQ(SplitText("a,b", "", 0), Members{});
}

TEST(SplitText, MaximumCutsTheMembers) {
    EXPECT_EQ(SplitText("a,b,c", ",", 2), (Members{"a", "b"}));
    EXPECT_EQ(SplitText("a,b,c", ",", 3), (Members{"a", "b", "c"}));
    EXPECT_EQ(SplitText("a,b,c", ",", 1), (Members{"a"}));
    EXPECT_EQ(SplitText("a,b,c", ",", 100), (Members{"a", "b", "c"}));
    EXPECT_EQ(SplitText("abc", ",", 1), (Members{"abc"}));
    // The maximum is used up by the second delimiter, so the trailing text goes.
    EXPECT_EQ(SplitText("a,b,", ",", 2), (Members{"a", "b"}));
    EXPECT_EQ(SplitText(",,,", ",", 2), (Members{"", ""}));
}

TEST(SplitText, MovesByWholeCharacters) {
    // Full-width comma A3AC between two characters.
    EXPECT_EQ(SplitText("甲，乙", "，"), (Members{"甲", "乙"}));
    EXPECT_EQ(SplitText("路由器，192.168.1.1", "，"), (Members{"路由器", "192.168.1.1"}));
    // B0 A3 | AC 41: the delimiter's bytes straddle a character boundary.
    EXPECT_EQ(SplitText("\xB0\xA3\xAC\x41", "\xA3\xAC"), (Members{"\xB0\xA3\xAC\x41"}));
    // A trail byte equal to the delimiter is part of its character.
    EXPECT_EQ(SplitText("\x81\x41\x41\x81\x41", "A"), (Members{"\x81\x41", "\x81\x41"}));
    EXPECT_EQ(SplitText("\x81,x,y", ","), (Members{"\x81,x", "y"}));
}

TEST(SplitText, LeadByteBeforeTheEndStopsTheScan) {
    EXPECT_EQ(SplitText("a,\xB0", ","), (Members{"a", "\xB0"}));
    EXPECT_EQ(SplitText("\xB0", ","), (Members{"\xB0"}));
    EXPECT_EQ(SplitText("a,b\xB0", ",", 1), (Members{"a"}));
}

}  // namespace
