#include "runtime/value_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "runtime/number_parse.h"

namespace {

using Bytes = std::vector<uint8_t>;

// An array block {1, n, elements} in 32-bit words, as the runtime lays it out.
struct Block {
    std::vector<uint32_t> words;
    Block(std::initializer_list<uint32_t> dims, const void* data, size_t size) {
        words.push_back(static_cast<uint32_t>(dims.size()));
        words.insert(words.end(), dims);
        size_t header = words.size();
        words.resize(header + (size + 3) / 4);
        std::memcpy(words.data() + header, data, size);
    }
    ArgValue As(uint32_t tag) const { return ArgValue::OfPointer(words.data(), tag); }
};

Block ByteSet(const std::string& bytes) { return Block({static_cast<uint32_t>(bytes.size())}, bytes.data(), bytes.size()); }

ArgValue Raw(uint32_t low, uint32_t high, uint32_t tag) { return {low, high, tag}; }

TEST(ValueToText, NumbersByTag) {
    EXPECT_EQ(ValueToText(ArgValue::OfDouble(0.5)), "0.5");
    EXPECT_EQ(ValueToText(ArgValue::OfDouble(100.0)), "100");
    EXPECT_EQ(ValueToText(ArgValue::OfDouble(1.0 / 3)), "0.3333333333333");
    EXPECT_EQ(ValueToText(ArgValue::OfDouble(1e15)), "1e+015");
    EXPECT_EQ(ValueToText(ArgValue::OfFloat(0.1f)), "0.1");
    EXPECT_EQ(ValueToText(ArgValue::OfFloat(123456.5f)), "123457");
    EXPECT_EQ(ValueToText(Raw(0x1C8, 0, kTagByte)), "200");
    EXPECT_EQ(ValueToText(Raw(0x1234FFFF, 0, kTagShort)), "-1");
    EXPECT_EQ(ValueToText(ArgValue::OfInt(INT32_MIN)), "-2147483648");
    EXPECT_EQ(ValueToText(ArgValue::OfLong(-5000000000)), "-5000000000");
}

TEST(ValueToText, LogicalDateTimeAndText) {
    EXPECT_EQ(ValueToText(ArgValue::OfBool(true)), "真");
    EXPECT_EQ(ValueToText(Raw(0x100, 0, kTagBool)), "真");
    EXPECT_EQ(ValueToText(ArgValue::OfBool(false)), "假");
    EXPECT_EQ(ValueToText(ArgValue::OfDouble(43465 + 0.5, kTagDateTime)), "2018年12月31日12时");
    EXPECT_EQ(ValueToText(ArgValue::OfText("茗柜")), "茗柜");
    EXPECT_EQ(ValueToText(ArgValue::OfText("")), "");
    EXPECT_EQ(ValueToText(ArgValue::OfText(nullptr)), "");
}

TEST(ValueToText, TextLongerThanTheFormatBufferIsNotCut) {
    std::string longText(5000, 'x');
    longText += "尾";
    EXPECT_EQ(ValueToText(ArgValue::OfText(longText.c_str())), longText);
}

TEST(ValueToText, OtherTagsAreEmpty) {
    EXPECT_EQ(ValueToText(Raw(0x401000, 0, kTagSubroutine)), "");
    EXPECT_EQ(ValueToText(Raw(1, 2, kTag8Bytes)), "");
    EXPECT_EQ(ValueToText(Raw(0, 0, 0)), "");
    EXPECT_EQ(ValueToText(Raw(0x52010001, 0x06010000, kWindowTypeCode)), "");
    EXPECT_EQ(ValueToText(Raw(0, 0, 0x40000001)), "");
}

TEST(ValueToText, ByteSetsAndNumericArraysStopAtTheFirstNul) {
    const uint8_t abc[] = {0x61, 0x00, 0x62};
    Block byteArray({3}, abc, 3);
    EXPECT_EQ(ValueToText(byteArray.As(kTagByte | kArrayFlag)), "a");
    EXPECT_EQ(ValueToText(ByteSet(std::string("a\0b", 3)).As(kTagBytes)), "a");
    EXPECT_EQ(ValueToText(ByteSet("abc").As(kTagBytes)), "abc");
    EXPECT_EQ(ValueToText(ByteSet("").As(kTagBytes)), "");
    EXPECT_EQ(ValueToText(ArgValue::OfPointer(nullptr, kTagBytes)), "");
    const uint32_t ints[] = {0x64636261, 0x00006665};
    EXPECT_EQ(ValueToText(Block({2}, ints, 8).As(kTagInt | kArrayFlag)), "abcdef");
    // Only the first dimension counts: 1 × 4 bytes of a 1 × 2 array.
    EXPECT_EQ(ValueToText(Block({1, 2}, ints, 8).As(kTagInt | kArrayFlag)), "abcd");
}

TEST(ValueToText, ArraysOfOtherElementsAreEmpty) {
    const uint32_t words[] = {0x61616161, 0x61616161};
    EXPECT_EQ(ValueToText(Block({2}, words, 8).As(kTagBool | kArrayFlag)), "");
    EXPECT_EQ(ValueToText(Block({2}, words, 8).As(kTagText | kArrayFlag)), "");
    EXPECT_EQ(ValueToText(Block({2}, words, 8).As(kTagDateTime | kArrayFlag)), "");
    EXPECT_EQ(ValueToText(Block({2}, words, 8).As(kTagBytes | kArrayFlag)), "");
}

TEST(ValueToBytes, RawLittleEndianBytesBySize) {
    EXPECT_EQ(ValueToBytes(ArgValue::OfInt(0x01020304)), (Bytes{4, 3, 2, 1}));
    EXPECT_EQ(ValueToBytes(Raw(0xFFFF1234, 0, kTagShort)), (Bytes{0x34, 0x12}));
    EXPECT_EQ(ValueToBytes(Raw(0xFFFFFF7F, 0, kTagByte)), (Bytes{0x7F}));
    EXPECT_EQ(ValueToBytes(ArgValue::OfLong(0x0102030405060708)), (Bytes{8, 7, 6, 5, 4, 3, 2, 1}));
    EXPECT_EQ(ValueToBytes(ArgValue::OfDouble(1.0)), (Bytes{0, 0, 0, 0, 0, 0, 0xF0, 0x3F}));
    EXPECT_EQ(ValueToBytes(ArgValue::OfDouble(2.0, kTagDateTime)), (Bytes{0, 0, 0, 0, 0, 0, 0, 0x40}));
    EXPECT_EQ(ValueToBytes(ArgValue::OfFloat(1.0f)), (Bytes{0, 0, 0x80, 0x3F}));
    EXPECT_EQ(ValueToBytes(ArgValue::OfBool(true)), (Bytes{1, 0, 0, 0}));
    EXPECT_EQ(ValueToBytes(Raw(1, 2, kTag8Bytes)), (Bytes{1, 0, 0, 0, 2, 0, 0, 0}));
    // A routine address is as wide as a pointer in this build.
    EXPECT_EQ(ValueToBytes(ArgValue::OfPointer(reinterpret_cast<void*>(uintptr_t{0x401000}), kTagSubroutine)).size(),
              sizeof(void*));
}

TEST(ValueToBytes, TextsByteSetsAndArrays) {
    EXPECT_EQ(ValueToBytes(ArgValue::OfText("ab")), (Bytes{'a', 'b'}));
    EXPECT_EQ(ValueToBytes(ArgValue::OfText("")), Bytes{});
    EXPECT_EQ(ValueToBytes(ArgValue::OfText(nullptr)), Bytes{});
    EXPECT_EQ(ValueToBytes(ByteSet(std::string("a\0b", 3)).As(kTagBytes)), (Bytes{'a', 0, 'b'}));
    EXPECT_EQ(ValueToBytes(ByteSet("").As(kTagBytes)), Bytes{});
    const uint16_t shorts[] = {1, 2, 0xFFFF};
    EXPECT_EQ(ValueToBytes(Block({3}, shorts, 6).As(kTagShort | kArrayFlag)), (Bytes{1, 0, 2, 0, 0xFF, 0xFF}));
    EXPECT_EQ(ValueToBytes(Block({0}, shorts, 0).As(kTagShort | kArrayFlag)), Bytes{});
    EXPECT_EQ(ValueToBytes(Block({2, 2}, shorts, 6).As(kTagShort | kArrayFlag)), (Bytes{1, 0, 2, 0}));
    EXPECT_EQ(ValueToBytes(Block({2}, shorts, 6).As(kTagText | kArrayFlag)), Bytes{});
    EXPECT_EQ(ValueToBytes(Block({2}, shorts, 6).As(kTagBool | kArrayFlag)), Bytes{});
}

TEST(ValueToBytes, NonBasicTagsAreEmpty) {
    EXPECT_EQ(ValueToBytes(Raw(5, 0, 0)), Bytes{});
    EXPECT_EQ(ValueToBytes(Raw(5, 0, kWindowTypeCode)), Bytes{});
    EXPECT_EQ(ValueToBytes(Raw(5, 0, 0x40000001)), Bytes{});
    EXPECT_EQ(ValueToBytes(Raw(5, 0, 0xC0010001)), Bytes{});
    EXPECT_EQ(ValueToBytes(Raw(5, 0, 0x80000007)), Bytes{});
}

TEST(MakeShort, LowBytesOfBothArgumentsAndNothingElse) {
    EXPECT_EQ(MakeShort(2, 0).low, 2u);
    EXPECT_EQ(MakeShort(0x34, 0x12).low, 0x1234u);
    ArgValue v = MakeShort(0x1FF, 0x2FE);
    EXPECT_EQ(v.low, 0xFEFFu);
    EXPECT_EQ(v.high, 0u);
    EXPECT_EQ(v.tag, uint32_t{kTagShort});
    EXPECT_EQ(ToNumber(v), -257);
    EXPECT_EQ(ValueToText(v), "-257");
}

}  // namespace
