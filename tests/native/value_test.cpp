#include "runtime/value.h"

#include <gtest/gtest.h>

TEST(TypeTags, ClassesFollowTheTopBits) {
    EXPECT_EQ(ClassOfTag(0), TypeClass::None);
    EXPECT_EQ(ClassOfTag(kTagText), TypeClass::Basic);
    EXPECT_EQ(ClassOfTag(kTagText | kArrayFlag), TypeClass::Basic);
    EXPECT_EQ(ClassOfTag(0x40000001), TypeClass::UserDefined);
    EXPECT_EQ(ClassOfTag(kWindowTypeCode), TypeClass::Library);
    EXPECT_EQ(ClassOfTag(0xC0010001), TypeClass::Library);
}

TEST(TypeTags, NumericTagsAreTheBasicOnesEndingInOne) {
    for (uint32_t t : std::initializer_list<uint32_t>{kTagByte, kTagShort, kTagInt, kTagLong, kTagFloat, kTagDouble}) EXPECT_TRUE(IsNumericTag(t)) << t;
    for (uint32_t t : std::initializer_list<uint32_t>{kTagBool, kTagDateTime, kTagText, kTagBytes, kTagSubroutine, kTag8Bytes, kTagInt | kArrayFlag,
                       uint32_t{kWindowTypeCode}})
        EXPECT_FALSE(IsNumericTag(t)) << t;
}

TEST(ArgValueRecord, PointersAndWideValuesSpanBothWords) {
    int x = 0;
    ArgValue v = ArgValue::OfPointer(&x, kTagText);
    EXPECT_EQ(v.Pointer(), &x);
    ArgValue d = ArgValue::OfDouble(-7.9);
    EXPECT_EQ(d.Double(), -7.9);
    EXPECT_EQ(ArgValue::OfLong(-2).Long(), -2);
    EXPECT_EQ(ArgValue::OfLong(-2).high, 0xFFFFFFFFu);
}

TEST(ArrayBlock, ElementCountIsTheProductOfDimensions) {
    alignas(8) uint32_t block[] = {2, 3, 4};
    EXPECT_EQ(array_block::ElementCount(block), 12u);
    EXPECT_EQ(array_block::HeaderSize(block), 12u);
    EXPECT_EQ(array_block::ElementCount(nullptr), 0u);
    alignas(8) uint32_t empty[] = {1, 0};
    EXPECT_EQ(array_block::ElementCount(empty), 0u);
}

// A value read as a type its tag does not carry stops the program instead of handing on
// garbage (the build checks tags); the omitted record reads as zero through every accessor.
TEST(ArgValueRecordDeathTest, AWrongTagFailsTheRead) {
    ArgValue omitted;
    EXPECT_EQ(omitted.Int(), 0);
    EXPECT_EQ(omitted.Double(), 0.0);
    EXPECT_EQ(omitted.Text(), nullptr);
    EXPECT_EQ(ArgValue::OfBool(true).Int(), 1);  // logicals share the integer form
    EXPECT_DEATH((void)ArgValue::OfShort(-1).Int(), "Int\\(\\) read a record of tag 0x80000201");
    EXPECT_DEATH((void)ArgValue::OfInt(3).Double(), "Double");
    EXPECT_DEATH((void)ArgValue::OfDouble(1.5).Text(), "Text");
    EXPECT_DEATH((void)ArgValue::OfText("a").Long(), "Long");
    EXPECT_DEATH((void)ArgValue::OfUnit(1, 2, kWindowTypeCode).Pointer(), "Pointer");
    EXPECT_DEATH((void)ArgValue::OfLong(5).Byte(), "Byte");
}
