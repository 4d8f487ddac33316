// The portable rules of the form framework: edit box input modes and normalisation, font
// descriptions and parts, key codes and modifier bits of key events.
#include <gtest/gtest.h>

#include "forms/edit_input.h"
#include "forms/event_keys.h"
#include "forms/font_rules.h"

namespace {

struct Normalisation {
    uint32_t mode;
    const char* text;
    const char* expected;  // nullptr: the mode does not normalise
};

const Normalisation kNormalisations[] = {
    {10, "2.50", "2.5"},
    {10, "007", "7"},
    {10, "-", ""},
    {10, "0", ""},
    {10, "", ""},
    {10, "-0.000", ""},
    {10, "1.", "1"},
    {10, "0.1", "0.1"},
    {10, "123456789012345678", "1.234567890123e+017"},
    {10, "\xA3\xB1\xA3\xAE\xA3\xB5", "1.5"},  // full-width "１．５"
    {9, "1.23456789", "1.23457"},
    {9, "1e300", "3.40282e+038"},
    {7, "99999999999", "2147483647"},
    {7, "-99999999999", "-2147483648"},
    {7, "2147483647", "2147483647"},
    {7, "-2147483648", "-2147483648"},
    {7, "0012", "12"},
    {7, "12.7", "12"},
    {7, "-", ""},
    {6, "40000", "32767"},
    {6, "-40000", "-32768"},
    {5, "300", "255"},
    {5, "-5", ""},
    {8, "99999999999999999999", "9223372036854775807"},
    {8, "-9223372036854775808", "-9223372036854775808"},
    {8, "-99999999999999999999", "-9223372036854775808"},
    {11, "2024-2-29 13:05", "2024\xC4\xEA" "2\xD4\xC2" "29\xC8\xD5" "13\xCA\xB1" "5\xB7\xD6"},
    {11, "2023-2-29", "2023-2-29"},  // no such day: left as typed
    {11, "abc", "abc"},
    {0, "007", nullptr},
    {3, "007", nullptr},
    {4, "2.50", nullptr},
};

}  // namespace

TEST(EditInput, NormalisationTable) {
    for (const Normalisation& n : kNormalisations) {
        std::optional<std::string> got = NormaliseEditText(n.mode, n.text);
        if (!n.expected) {
            EXPECT_FALSE(got.has_value()) << "mode " << n.mode << " text " << n.text;
        } else {
            ASSERT_TRUE(got.has_value()) << "mode " << n.mode << " text " << n.text;
            EXPECT_EQ(*got, n.expected) << "mode " << n.mode << " text " << n.text;
        }
    }
}

TEST(EditInput, CharactersEachModeLetsThrough) {
    struct Row {
        uint32_t mode;
        const char* accepted;
        const char* refused;
    };
    const Row rows[] = {
        {0, "a1-.", ""}, {1, "a1", ""}, {2, "a1", ""}, {3, "0123456789-", "a.+ "}, {4, "09-.", "ae+"},
        {5, "09", "-.a"}, {6, "09-", ".a"}, {7, "09-", ".a"}, {8, "09-", ".a"}, {9, "09-.", "ae"},
        {10, "09-.", "ae+"}, {11, "09-/:. ", "ax"},
    };
    for (const Row& r : rows) {
        for (const char* p = r.accepted; *p; ++p) EXPECT_TRUE(EditModeAcceptsChar(r.mode, static_cast<uint8_t>(*p))) << r.mode << " " << *p;
        for (const char* p = r.refused; *p; ++p) EXPECT_FALSE(EditModeAcceptsChar(r.mode, static_cast<uint8_t>(*p))) << r.mode << " " << *p;
        // Control characters (backspace, Enter, Ctrl+C) always pass.
        EXPECT_TRUE(EditModeAcceptsChar(r.mode, 8));
        EXPECT_TRUE(EditModeAcceptsChar(r.mode, 13));
        EXPECT_TRUE(EditModeAcceptsChar(r.mode, 3));
    }
    EXPECT_TRUE(EditModeAcceptsChar(11, 0x80 + 0x5E74));  // "年"
    EXPECT_FALSE(EditModeAcceptsChar(7, 0x80 + 0x5E74));
}

TEST(FontRules, DescriptionBecomesALogFont) {
    FontDescription d = {3650, 1, 1, 0, 1, 12, "黑体"};
    LogFontBytes f = FontFromDescription(d, 96);
    EXPECT_EQ(f.height, -16);
    EXPECT_EQ(f.escapement, 50);
    EXPECT_EQ(f.orientation, 50);
    EXPECT_EQ(f.weight, 700);
    EXPECT_EQ(f.italic, 1);
    EXPECT_EQ(f.underline, 0);
    EXPECT_EQ(f.strikeOut, 1);
    EXPECT_EQ(f.Face(), "黑体");
    // No face, or one of 31 bytes or more, gives the default face.
    d.faceName = nullptr;
    EXPECT_EQ(FontFromDescription(d, 96).Face(), "宋体");
    d.faceName = "";
    EXPECT_EQ(FontFromDescription(d, 96).Face(), "宋体");
    d.faceName = "abcdefghijklmnopqrstuvwxyz01234";  // 31
    EXPECT_EQ(FontFromDescription(d, 96).Face(), "宋体");
    d.faceName = "abcdefghijklmnopqrstuvwxyz0123";  // 30
    EXPECT_EQ(FontFromDescription(d, 96).Face(), "abcdefghijklmnopqrstuvwxyz0123");
    d.bold = 0;
    EXPECT_EQ(FontFromDescription(d, 96).weight, 0);
}

TEST(FontRules, PartsReplaceOneAspect) {
    LogFontBytes f;
    f.height = -12;
    f.weight = 400;
    f.SetFace("Tahoma");
    ASSERT_TRUE(ReplaceFontPart(f, kFontPartAngle, 7200 + 15, nullptr, 96));
    EXPECT_EQ(f.escapement, 15);
    ASSERT_TRUE(ReplaceFontPart(f, kFontPartBold, 5, nullptr, 96));
    EXPECT_EQ(f.weight, 700);
    ASSERT_TRUE(ReplaceFontPart(f, kFontPartBold, 0, nullptr, 96));
    EXPECT_EQ(f.weight, 0);
    ASSERT_TRUE(ReplaceFontPart(f, kFontPartUnderline, 9, nullptr, 96));
    EXPECT_EQ(f.underline, 1);
    ASSERT_TRUE(ReplaceFontPart(f, kFontPartSize, 9, nullptr, 120));
    EXPECT_EQ(f.height, -15);
    EXPECT_EQ(ReadFontPart(f, kFontPartSize, nullptr, 120), 9);
    ASSERT_TRUE(ReplaceFontPart(f, kFontPartFace, 0, "abcdefghijklmnopqrstuvwxyz01234", 96));  // 31 fits here
    EXPECT_EQ(f.Face(), "abcdefghijklmnopqrstuvwxyz01234");
    ASSERT_TRUE(ReplaceFontPart(f, kFontPartFace, 0, "abcdefghijklmnopqrstuvwxyz012345", 96));
    EXPECT_EQ(f.Face(), "宋体");
    std::string face;
    ReadFontPart(f, kFontPartFace, &face, 96);
    EXPECT_EQ(face, "宋体");
    EXPECT_FALSE(ReplaceFontPart(f, 7, 1, nullptr, 96));
    EXPECT_EQ(FontPointsFromHeight(-11, 96), 8);
    EXPECT_EQ(FontPointsFromHeight(16, 96), 12);
}

TEST(EventKeys, KeypadFoldsOntoTheMainKeyboard) {
    for (uint32_t i = 0; i <= 9; ++i) EXPECT_EQ(FoldKeypadKey(0x60 + i), 0x30 + i);
    EXPECT_EQ(FoldKeypadKey(0x6D), 189u);
    EXPECT_EQ(FoldKeypadKey(0x6E), 190u);
    EXPECT_EQ(FoldKeypadKey(0x6F), 191u);
    EXPECT_EQ(FoldKeypadKey(0x6A), 0x6Au);  // keypad multiply stays
    EXPECT_EQ(FoldKeypadKey(13), 13u);
    EXPECT_EQ(FoldKeypadKey(40), 40u);
}

TEST(EventKeys, AModifierKeyLeavesItsOwnBitOut) {
    EXPECT_EQ(KeyModifierState(true, true, true, 'A'), kModifierCtrl | kModifierShift | kModifierAlt);
    EXPECT_EQ(KeyModifierState(true, true, false, 0x11), kModifierShift);
    EXPECT_EQ(KeyModifierState(true, true, false, 0xA3), kModifierShift);
    EXPECT_EQ(KeyModifierState(false, true, true, 0x10), kModifierAlt);
    EXPECT_EQ(KeyModifierState(true, false, true, 0xA5), kModifierCtrl);
    EXPECT_EQ(WheelSteps(-240), -2);
    EXPECT_EQ(WheelSteps(119), 0);
}
