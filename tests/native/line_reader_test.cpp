#include "runtime/line_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace {

// An open file in memory; can fail a chosen read or every Tell.
class MemoryFile : public ByteSource {
public:
    explicit MemoryFile(std::string content) : data_(std::move(content)) {}

    std::optional<uint64_t> Tell() override {
        if (failTell) return std::nullopt;
        return pos_;
    }
    std::optional<uint64_t> Length() override { return data_.size(); }
    bool Seek(int64_t offset, From from) override {
        int64_t base = from == From::Start ? 0 : static_cast<int64_t>(data_.size());
        if (base + offset < 0) return false;
        pos_ = static_cast<uint64_t>(base + offset);
        return true;
    }
    std::optional<size_t> Read(void* buffer, size_t size) override {
        ++reads;
        largestRead = std::max(largestRead, size);
        if (reads == failRead) return std::nullopt;
        if (pos_ >= data_.size()) return 0;
        size_t n = std::min<size_t>(size, data_.size() - pos_);
        std::memcpy(buffer, data_.data() + pos_, n);
        pos_ += n;
        return n;
    }

    uint64_t pos() const { return pos_; }
    size_t size() const { return data_.size(); }

    int reads = 0;
    int failRead = 0;  // 1-based number of the read that fails; 0 = none
    bool failTell = false;
    size_t largestRead = 0;

private:
    std::string data_;
    uint64_t pos_ = 0;
};

TEST(ReadLine, CrLfAndEmptyLines) {
    MemoryFile crlf("a\r\nb");
    EXPECT_EQ(ReadLine(crlf), "a");
    EXPECT_EQ(ReadLine(crlf), "b");
    EXPECT_TRUE(IsEndOfFile(crlf, false));
    EXPECT_EQ(ReadLine(crlf), "");

    MemoryFile lf("a\n\nb");
    EXPECT_EQ(ReadLine(lf), "a");
    EXPECT_EQ(lf.pos(), 2u);
    EXPECT_EQ(ReadLine(lf), "");
    EXPECT_EQ(lf.pos(), 3u);
    EXPECT_EQ(ReadLine(lf), "b");
    EXPECT_EQ(lf.pos(), 4u);
}

TEST(ReadLine, OnlyOneFinalCrIsDropped) {
    MemoryFile f("a\r\r\nb\rc\nd\r");
    EXPECT_EQ(ReadLine(f), "a\r");
    EXPECT_EQ(ReadLine(f), "b\rc");
    EXPECT_EQ(ReadLine(f), "d");
}

TEST(ReadLine, NulAndEndOfTextStopWithoutBeingConsumed) {
    MemoryFile nul(std::string("ab\0cd\n", 6));
    EXPECT_EQ(ReadLine(nul), "ab");
    EXPECT_EQ(nul.pos(), 2u);
    EXPECT_EQ(ReadLine(nul), "");
    EXPECT_EQ(nul.pos(), 2u);
    EXPECT_FALSE(IsEndOfFile(nul, false));
    EXPECT_TRUE(IsEndOfFile(nul, true));
    EXPECT_EQ(nul.pos(), 2u);

    MemoryFile eot("x\r\x1Ay");
    EXPECT_EQ(ReadLine(eot), "x");
    EXPECT_EQ(eot.pos(), 2u);
    EXPECT_EQ(ReadLine(eot), "");
    EXPECT_EQ(eot.pos(), 2u);
}

TEST(IsEndOfFile, EndOfTextCountsOnlyWithTheSecondArgument) {
    MemoryFile f("\x1A" "abc");
    EXPECT_FALSE(IsEndOfFile(f, false));
    EXPECT_TRUE(IsEndOfFile(f, true));
    EXPECT_EQ(f.pos(), 0u);
    f.Seek(1, ByteSource::From::Start);
    EXPECT_FALSE(IsEndOfFile(f, true));
    EXPECT_EQ(f.pos(), 1u);
    f.Seek(3, ByteSource::From::Start);
    EXPECT_FALSE(IsEndOfFile(f, true));
    f.Seek(4, ByteSource::From::Start);
    EXPECT_TRUE(IsEndOfFile(f, false));
    f.Seek(10, ByteSource::From::Start);
    EXPECT_TRUE(IsEndOfFile(f, false));
}

TEST(IsEndOfFile, ErrorsLeaveTheDefaultTrue) {
    MemoryFile f("abc");
    f.failTell = true;
    EXPECT_TRUE(IsEndOfFile(f, false));
    MemoryFile g("abc");
    g.failRead = 1;
    EXPECT_TRUE(IsEndOfFile(g, true));
    EXPECT_EQ(g.pos(), 0u);
    MemoryFile empty("");
    EXPECT_TRUE(IsEndOfFile(empty, true));
}

TEST(ReadLine, LinesLongerThanOneChunk) {
    std::string longLine(1300, 'x');
    MemoryFile f(longLine + "\n" + "y");
    EXPECT_EQ(ReadLine(f), longLine);
    EXPECT_EQ(ReadLine(f), "y");
    EXPECT_EQ(f.largestRead, kReadLineChunk);

    std::string exact(kReadLineChunk, 'z');
    MemoryFile g(exact + "\n");
    EXPECT_EQ(ReadLine(g), exact);
    EXPECT_TRUE(IsEndOfFile(g, false));
}

TEST(ReadLine, CharacterSplitAtTheChunkBoundaryIsHeldBack) {
    // 511 single bytes, then B0 A1 across bytes 511 and 512. Taken apart, A1 0A
    // would read as one character and swallow the line end.
    std::string head(kReadLineChunk - 1, 'a');
    MemoryFile f(head + "\xB0\xA1" + "\n" + "z");
    EXPECT_EQ(ReadLine(f), head + "\xB0\xA1");
    EXPECT_EQ(ReadLine(f), "z");

    // The second byte of a character is never a terminator, even LF.
    MemoryFile g(head + "\xB0\n" + "b\n" + "c");
    EXPECT_EQ(ReadLine(g), head + "\xB0\nb");
    EXPECT_EQ(ReadLine(g), "c");
}

TEST(ReadLine, LeadByteAtTheEndOfTheFileIsKept) {
    MemoryFile f("ab\xB0");
    EXPECT_EQ(ReadLine(f), "ab\xB0");
    EXPECT_TRUE(IsEndOfFile(f, false));
    EXPECT_LT(f.reads, 5);

    MemoryFile one("\xB0");
    EXPECT_EQ(ReadLine(one), "\xB0");
    EXPECT_EQ(one.pos(), 1u);

    std::string head(kReadLineChunk - 1, 'a');
    MemoryFile chunkEnd(head + "\xB0");
    EXPECT_EQ(ReadLine(chunkEnd), head + "\xB0");
    EXPECT_LT(chunkEnd.reads, 5);
}

TEST(ReadLine, LeadByteBeforeNulEndsTheLineOnTheNul) {
    MemoryFile f(std::string("a\xB0\0b", 4));
    EXPECT_EQ(ReadLine(f), "a\xB0");
    EXPECT_EQ(f.pos(), 2u);
    EXPECT_EQ(ReadLine(f), "");
    EXPECT_EQ(f.pos(), 2u);
    EXPECT_TRUE(IsEndOfFile(f, true));
}

TEST(ReadLine, ReadErrorMovesToTheEndAndGivesNothing) {
    MemoryFile f(std::string(2000, 'q'));
    f.failRead = 2;
    EXPECT_EQ(ReadLine(f), "");
    EXPECT_EQ(f.pos(), f.size());
    EXPECT_TRUE(IsEndOfFile(f, false));

    MemoryFile g("abc\n");
    g.failTell = true;
    EXPECT_EQ(ReadLine(g), "");
    EXPECT_EQ(g.pos(), g.size());
}

TEST(ReadLine, EmptyFile) {
    MemoryFile f("");
    EXPECT_EQ(ReadLine(f), "");
    EXPECT_EQ(f.pos(), 0u);
    EXPECT_TRUE(IsEndOfFile(f, false));
}

}  // namespace
