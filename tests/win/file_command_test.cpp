// File commands on real files: whole-file reads and writes, numbered files with every open
// and share mode, lines across chunk boundaries, terminators, unregistered numbers.
#include <gtest/gtest.h>

#include "runtime/app.h"
#include "runtime/commands/core_commands.h"
#include "tests/win/child_process.h"
#include "tests/win/command_test_util.h"

namespace {

class FileCommands : public ::testing::Test {
protected:
    TempDirectory dir;
    ArgStore store;

    std::wstring Path(const wchar_t* name) { return dir.File(name); }
    ArgValue PathArg(const wchar_t* name) { return store.Text(Path(name)); }

    void* Open(const wchar_t* name, ArgValue mode = Omitted(), ArgValue share = Omitted()) {
        return Call(&OpenFile, {PathArg(name), mode, share}).Pointer();
    }
    std::string Line(void* file) {
        ArgValue v = Call(&ReadLine, {Handle(file)});
        EXPECT_EQ(v.tag, kTagText);
        return TakeText(v);
    }
    bool AtEnd(void* file, ArgValue check = Omitted()) { return Call(&IsEndOfFile, {Handle(file), check}).Bool(); }
    bool Write(void* file, const std::string& bytes) {
        return Call(&WriteBytes, {Handle(file), store.Bytes(bytes)}).Bool();
    }
    void Close(void* file) { Call(&CloseFile, {Handle(file)}); }

    // Opens the file a second time the platform's way, as another program would.
    bool SecondOpenSucceeds(const wchar_t* name, DWORD access) {
        HANDLE h = CreateFileW(Path(name).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                               0, nullptr);
        if (h == INVALID_HANDLE_VALUE) return false;
        CloseHandle(h);
        return true;
    }
};

}  // namespace

TEST_F(FileCommands, WriteFileJoinsByteSetsSkippingEmptyOnesAndReadFileGivesThemBack) {
    ArgValue ok = Call(&WriteFile, {PathArg(L"数据.bin"), store.Bytes("ab"), store.Bytes(""),
                                    ArgValue::OfPointer(nullptr, kTagBytes), store.Bytes(std::string("\0c", 2))});
    EXPECT_EQ(ok.tag, kTagBool);
    EXPECT_TRUE(ok.Bool());
    EXPECT_EQ(ReadWholeFile(Path(L"数据.bin")), std::string("ab\0c", 4));

    int64_t live = LiveBlockCount();
    ArgValue read = Call(&ReadFile, {PathArg(L"数据.bin")});
    EXPECT_EQ(read.tag, kTagBytes);
    EXPECT_EQ(LiveBlockCount(), live + 1);  // a fresh block for the caller
    EXPECT_EQ(TakeBytes(read), std::string("ab\0c", 4));
    EXPECT_EQ(LiveBlockCount(), live);

    // Writing again truncates.
    EXPECT_TRUE(Call(&WriteFile, {PathArg(L"数据.bin"), store.Bytes("z")}).Bool());
    EXPECT_EQ(ReadWholeFile(Path(L"数据.bin")), "z");
}

TEST_F(FileCommands, WholeFileFailuresGiveEmptyAndFalse) {
    WriteWholeFile(Path(L"empty.txt"), "");
    EXPECT_EQ(Call(&ReadFile, {PathArg(L"empty.txt")}).Pointer(), nullptr);
    EXPECT_EQ(Call(&ReadFile, {PathArg(L"missing.txt")}).Pointer(), nullptr);
    EXPECT_EQ(Call(&ReadFile, {store.Text("")}).Pointer(), nullptr);
    EXPECT_FALSE(Call(&WriteFile, {store.Text(""), store.Bytes("x")}).Bool());
    EXPECT_FALSE(Call(&WriteFile, {PathArg(L"no-such-dir\\x.txt"), store.Bytes("x")}).Bool());

    // ReadFile lets others read but not write: a file another program writes is unreadable.
    WriteWholeFile(Path(L"busy.txt"), "busy");
    HANDLE writer = CreateFileW(Path(L"busy.txt").c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    EXPECT_EQ(Call(&ReadFile, {PathArg(L"busy.txt")}).Pointer(), nullptr);
    // WriteFile wants the file to itself.
    EXPECT_FALSE(Call(&WriteFile, {PathArg(L"busy.txt"), store.Bytes("x")}).Bool());
    CloseHandle(writer);
    EXPECT_EQ(TakeBytes(Call(&ReadFile, {PathArg(L"busy.txt")})), "busy");
}

TEST_F(FileCommands, OpenModesDecideWhatMustExistWhatIsKeptAndWhatMayBeDone) {
    struct Row {
        int32_t mode;
        bool existed;
        bool opens;
        const char* firstLine;   // ReadLine right after opening (a write-only file reads as empty)
        bool writes;             // WriteBytes "N" right after opening
        const char* afterWrite;  // the content after that write
    };
    const Row rows[] = {
        {1, true, true, "old", false, "old"}, {1, false, false, "", false, ""},
        {2, true, true, "", true, "Nld"},     {2, false, false, "", false, ""},
        {3, true, true, "old", true, "Nld"},  {3, false, false, "", false, ""},
        {4, true, true, "", true, "N"},       {4, false, true, "", true, "N"},
        {5, true, true, "", true, "Nld"},     {5, false, true, "", true, "N"},
        {6, true, true, "old", true, "Nld"},  {6, false, true, "", true, "N"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "mode " << row.mode << (row.existed ? " existing" : " missing"));
        const wchar_t* name = L"mode.txt";
        auto reset = [&] {
            DeleteFileW(Path(name).c_str());
            if (row.existed) WriteWholeFile(Path(name), "old");
        };

        reset();
        void* f = Open(name, Int(row.mode));
        ASSERT_EQ(f != nullptr, row.opens);
        if (!f) {
            EXPECT_EQ(GetFileAttributesW(Path(name).c_str()), INVALID_FILE_ATTRIBUTES);  // nothing created
            continue;
        }
        EXPECT_EQ(Write(f, "N"), row.writes);
        Close(f);
        EXPECT_EQ(ReadWholeFile(Path(name)), row.afterWrite);

        reset();
        f = Open(name, Int(row.mode));
        ASSERT_NE(f, nullptr);
        EXPECT_EQ(Line(f), row.firstLine);
        Close(f);
    }
}

TEST_F(FileCommands, ShareModesDecideWhatASecondOpenMayDo) {
    struct Row {
        int32_t share;
        bool othersRead, othersWrite;
    };
    const Row rows[] = {{1, true, true}, {2, false, true}, {3, true, false}, {4, false, false}};
    WriteWholeFile(Path(L"shared.txt"), "x");
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "share " << row.share);
        void* f = Open(L"shared.txt", Int(3), Int(row.share));
        ASSERT_NE(f, nullptr);
        EXPECT_EQ(SecondOpenSucceeds(L"shared.txt", GENERIC_READ), row.othersRead);
        EXPECT_EQ(SecondOpenSucceeds(L"shared.txt", GENERIC_WRITE), row.othersWrite);
        Close(f);
        EXPECT_TRUE(SecondOpenSucceeds(L"shared.txt", GENERIC_READ | GENERIC_WRITE));
    }
    // Defaults: read and write, others may do both.
    void* f = Open(L"shared.txt");
    ASSERT_NE(f, nullptr);
    EXPECT_TRUE(SecondOpenSucceeds(L"shared.txt", GENERIC_WRITE));
    EXPECT_EQ(Line(f), "x");
    EXPECT_TRUE(Write(f, "y"));
    Close(f);
    EXPECT_EQ(ReadWholeFile(Path(L"shared.txt")), "xy");
}

TEST_F(FileCommands, BadPathsAndModesGiveFileNumberZero) {
    WriteWholeFile(Path(L"f.txt"), "x");
    const std::pair<int32_t, int32_t> bad[] = {{0, 1}, {7, 1}, {-1, 1}, {1, 0}, {1, 5}, {1, -3}};
    for (auto [mode, share] : bad) {
        ArgValue v = Call(&OpenFile, {PathArg(L"f.txt"), Int(mode), Int(share)});
        EXPECT_EQ(v.Pointer(), nullptr) << mode << "/" << share;
    }
    EXPECT_EQ(Call(&OpenFile, {store.Text("")}).Pointer(), nullptr);
    EXPECT_EQ(App().fileObjects.size(), 0u);
}

TEST_F(FileCommands, OpenRegistersTheFileWithKindOneAndCloseRemovesIt) {
    WriteWholeFile(Path(L"f.txt"), "x");
    void* f = Open(L"f.txt");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(RtNotify(kNotifyFileKind, reinterpret_cast<intptr_t>(f), 0), 1);
    Close(f);
    EXPECT_EQ(RtNotify(kNotifyFileKind, reinterpret_cast<intptr_t>(f), 0), -1);
    // The handle was closed: the file can be deleted now.
    EXPECT_TRUE(DeleteFileW(Path(L"f.txt").c_str()));
}

TEST_F(FileCommands, UnregisteredNumbersGiveTheFailureResults) {
    WriteWholeFile(Path(L"f.txt"), "line\r\n");
    void* closed = Open(L"f.txt");
    Close(closed);
    int local = 0;
    void* numbers[] = {nullptr, closed, &local, reinterpret_cast<void*>(0x1234)};
    for (void* n : numbers) {
        ArgValue line = Call(&ReadLine, {Handle(n)});
        EXPECT_EQ(line.tag, kTagText);
        EXPECT_EQ(line.Pointer(), nullptr);
        ArgValue wrote = Call(&WriteBytes, {Handle(n), store.Bytes("x")});
        EXPECT_EQ(wrote.tag, kTagBool);
        EXPECT_FALSE(wrote.Bool());
        EXPECT_TRUE(Call(&IsEndOfFile, {Handle(n)}).Bool());
        Call(&CloseFile, {Handle(n)});
    }
    // A number registered with another kind belongs to someone else.
    RtNotify(kNotifyAddFile, reinterpret_cast<intptr_t>(&local), 2);
    EXPECT_FALSE(Call(&WriteBytes, {Handle(&local), store.Bytes("x")}).Bool());
    Call(&CloseFile, {Handle(&local)});
    EXPECT_EQ(RtNotify(kNotifyFileKind, reinterpret_cast<intptr_t>(&local), 0), 2);
    RtNotify(kNotifyRemoveFile, reinterpret_cast<intptr_t>(&local), 0);
    EXPECT_EQ(ReadWholeFile(Path(L"f.txt")), "line\r\n");
}

TEST_F(FileCommands, ReadLineSplitsAtLineFeedsAndDropsOneCarriageReturn) {
    struct Row {
        std::string content;
        std::vector<std::string> lines;
    };
    const Row rows[] = {
        {"a\r\nb", {"a", "b"}},
        {"a\n\nb", {"a", "", "b"}},
        {"a\r\r\nb\r", {"a\r", "b"}},
        {"\xD6\xD0\n\xCE\xC4", {"\xD6\xD0", "\xCE\xC4"}},  // 中 LF 文
    };
    for (const Row& row : rows) {
        WriteWholeFile(Path(L"lines.txt"), row.content);
        void* f = Open(L"lines.txt", Int(1));
        ASSERT_NE(f, nullptr);
        for (const std::string& expected : row.lines) {
            EXPECT_FALSE(AtEnd(f));
            EXPECT_EQ(Line(f), expected);
        }
        EXPECT_TRUE(AtEnd(f));
        EXPECT_EQ(Line(f), "");
        Close(f);
    }
}

TEST_F(FileCommands, ReadLineCarriesACharacterSplitAtByte512IntoTheNextChunk) {
    // 中 occupies bytes 511 and 512: the lead byte ends the first chunk and must travel
    // with its trail byte into the second.
    std::string longLine(511, 'a');
    longLine += "\xD6\xD0";
    longLine += std::string(600, 'b');
    WriteWholeFile(Path(L"long.txt"), longLine + "\r\nnext\n");
    void* f = Open(L"long.txt", Int(1));
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(Line(f), longLine);
    EXPECT_EQ(Line(f), "next");
    EXPECT_TRUE(AtEnd(f));
    Close(f);

    // A trail byte that is a character of its own when read alone (丂 is 81 40, "@") must
    // not be taken apart either, and the line ends at the LF right after it.
    std::string split(511, 'c');
    split += "\x81\x40";
    WriteWholeFile(Path(L"split.txt"), split + "\nz");
    f = Open(L"split.txt", Int(1));
    EXPECT_EQ(Line(f), split);
    EXPECT_EQ(Line(f), "z");
    Close(f);

    // A line of exactly 512 bytes and its LF in the next chunk.
    std::string exact(512, 'd');
    WriteWholeFile(Path(L"exact.txt"), exact + "\n");
    f = Open(L"exact.txt", Int(1));
    EXPECT_EQ(Line(f), exact);
    EXPECT_TRUE(AtEnd(f));
    Close(f);
}

TEST_F(FileCommands, NulAndSubstituteBytesStopReadLineUntilIsEndOfFileIsAskedToSeeThem) {
    for (char terminator : {'\0', '\x1A'}) {
        SCOPED_TRACE(static_cast<int>(terminator));
        WriteWholeFile(Path(L"t.txt"), std::string("ab") + terminator + "cd\n");
        void* f = Open(L"t.txt", Int(1));
        ASSERT_NE(f, nullptr);
        EXPECT_EQ(Line(f), "ab");
        // The terminator is never consumed: every further line is empty, without moving.
        EXPECT_EQ(Line(f), "");
        EXPECT_EQ(Line(f), "");
        EXPECT_FALSE(AtEnd(f));
        EXPECT_FALSE(AtEnd(f, ArgValue::OfBool(false)));
        EXPECT_TRUE(AtEnd(f, ArgValue::OfBool(true)));
        EXPECT_TRUE(AtEnd(f, Int(1)));
        EXPECT_FALSE(AtEnd(f, Int(2)));  // only 1 asks for the terminator check
        // Asking did not move the position.
        EXPECT_TRUE(AtEnd(f, ArgValue::OfBool(true)));
        EXPECT_EQ(Line(f), "");
        Close(f);
    }
    // An ordinary next byte is no end, with or without the check.
    WriteWholeFile(Path(L"t.txt"), "x");
    void* f = Open(L"t.txt", Int(1));
    EXPECT_FALSE(AtEnd(f, ArgValue::OfBool(true)));
    EXPECT_EQ(Line(f), "x");
    EXPECT_TRUE(AtEnd(f, ArgValue::OfBool(true)));
    Close(f);
}

TEST_F(FileCommands, WriteBytesWritesEveryByteSetAtThePosition) {
    void* f = Open(L"w.txt", Int(6));
    ASSERT_NE(f, nullptr);
    ArgValue ok = Call(&WriteBytes, {Handle(f), store.Bytes("one"), store.Bytes(""), store.Bytes("\r\n"),
                                     ArgValue::OfPointer(nullptr, kTagBytes)});
    EXPECT_EQ(ok.tag, kTagBool);
    EXPECT_TRUE(ok.Bool());
    EXPECT_TRUE(Write(f, "two"));
    EXPECT_TRUE(AtEnd(f));
    Close(f);
    EXPECT_EQ(ReadWholeFile(Path(L"w.txt")), "one\r\ntwo");

    // A read-only file refuses the write and keeps its position.
    f = Open(L"w.txt", Int(1));
    EXPECT_EQ(Line(f), "one");
    EXPECT_FALSE(Write(f, "x"));
    EXPECT_EQ(Line(f), "two");
    Close(f);
}

TEST_F(FileCommands, CreateDirectoryAndFileExists) {
    EXPECT_TRUE(Call(&CreateDirectory, {PathArg(L"记录")}).Bool());
    EXPECT_FALSE(Call(&CreateDirectory, {PathArg(L"记录")}).Bool());             // exists
    EXPECT_FALSE(Call(&CreateDirectory, {PathArg(L"none\\deeper")}).Bool());     // no parent
    EXPECT_EQ(Call(&CreateDirectory, {PathArg(L"x")}).tag, kTagBool);

    WriteWholeFile(Path(L"记录\\a.txt"), "a");
    const std::pair<std::wstring, bool> exists[] = {
        {Path(L"记录"), true},          {Path(L"记录\\a.txt"), true}, {Path(L"记录\\*.txt"), true},
        {Path(L"记录\\?.txt"), true},   {Path(L"记录\\*.bmp"), false}, {Path(L"missing.txt"), false},
        {L"", false},
    };
    for (const auto& [path, expected] : exists) {
        ArgValue v = Call(&FileExists, {store.Text(path)});
        EXPECT_EQ(v.tag, kTagBool);
        EXPECT_EQ(v.Bool(), expected) << GbkFromWide(path.c_str());
    }
}
