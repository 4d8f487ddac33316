// Declared DLL commands: the search order, ordinals, the per-index cache, argument passing,
// record marshalling, and the fatal ends (in a child process).
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>

#include "runtime/app.h"
#include "runtime/dll_call.h"
#include "runtime/entries.h"
#include "runtime/gbk_text.h"
#include "runtime/heap.h"
#include "tests/win/child_process.h"
#include "toolbox/dll_command_table.h"

namespace {

std::wstring ProbeDll(const wchar_t* variant) { return TestBinaryDirectory() + L"\\" + variant + L"\\mgprobe.dll"; }

// Declares DLL commands the way start-up does from a program descriptor.
void Declare(const std::vector<std::pair<const char*, const char*>>& commands) {
    Application& app = App();
    app.dllLibraryNames.clear();
    app.dllCommandNames.clear();
    for (const auto& [library, routine] : commands) {
        app.dllLibraryNames.push_back(library);
        app.dllCommandNames.push_back(routine);
    }
    app.dllModules.clear();
    app.dllModules.resize(commands.size());
    app.dllRoutines.assign(commands.size(), nullptr);
}

// The program's directory holds copy 1 of mgprobe.dll; copy 2 lies on the platform's path.
class DllCommands : public ::testing::Test {
protected:
    TempDirectory programDir, elsewhere;
    void SetUp() override {
        ASSERT_TRUE(CopyFileW(ProbeDll(L"probe_a").c_str(), programDir.File(L"mgprobe.dll").c_str(), FALSE));
        ASSERT_TRUE(CopyFileW(ProbeDll(L"probe_b").c_str(), elsewhere.File(L"mgprobe.dll").c_str(), FALSE));
        SetDllDirectoryW(elsewhere.path().c_str());
        App().runDirectory = GbkFromWide(programDir.path().c_str());
        App().moduleDirectory.clear();
    }
    void TearDown() override {
        App().dllModules.clear();
        Declare({});
        SetDllDirectoryW(nullptr);
    }
};

}  // namespace

TEST_F(DllCommands, TheProgramsDirectoryComesBeforeThePlatformsSearch) {
    Declare({{"mgprobe.dll", "WhoAmI"}});
    EXPECT_EQ(CallDllCommand(0, {}), 1);
}

TEST_F(DllCommands, WithoutACopyInTheProgramsDirectoryThePlatformsSearchFindsOne) {
    DeleteFileW(programDir.File(L"mgprobe.dll").c_str());
    Declare({{"mgprobe.dll", "WhoAmI"}});
    EXPECT_EQ(CallDllCommand(0, {}), 2);
}

TEST_F(DllCommands, TheModuleDirectoryIsTriedAfterTheRunDirectory) {
    TempDirectory moduleDir;
    DeleteFileW(programDir.File(L"mgprobe.dll").c_str());
    ASSERT_TRUE(CopyFileW(ProbeDll(L"probe_a").c_str(), moduleDir.File(L"mgprobe.dll").c_str(), FALSE));
    App().moduleDirectory = GbkFromWide(moduleDir.path().c_str()) + "\\";
    Declare({{"mgprobe.dll", "WhoAmI"}});
    EXPECT_EQ(CallDllCommand(0, {}), 1);
}

TEST_F(DllCommands, ANameWithADriveIsLoadedAsGiven) {
    std::string path = GbkFromWide(elsewhere.File(L"mgprobe.dll").c_str());
    Declare({{path.c_str(), "WhoAmI"}});
    EXPECT_EQ(CallDllCommand(0, {}), 2);
}

TEST_F(DllCommands, HashAndDigitsNameAnOrdinalModulo65536) {
    Declare({{"mgprobe.dll", "#12"}, {"mgprobe.dll", "#65548"}});
    EXPECT_EQ(CallDllCommand(0, {}), 1212);
    EXPECT_EQ(CallDllCommand(1, {}), 1212);
}

TEST_F(DllCommands, EachIndexIsResolvedAndCachedOnItsOwn) {
    Declare(std::vector<std::pair<const char*, const char*>>(kDllCommandCount, {nullptr, nullptr}));
    for (uint32_t i = 0; i < kDllCommandCount; ++i) {
        App().dllLibraryNames[i] = kDllLibraryNames[i];
        App().dllCommandNames[i] = kDllCommandNames[i];
    }
    void* globalSize = reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32"), "GlobalSize"));
    void* first = RtCallDllCommand(kDllGlobalSizeOfHostEnt);
    EXPECT_EQ(first, globalSize);
    EXPECT_EQ(App().dllRoutines[kDllGlobalSizeOfReply], nullptr);  // index 6 not touched yet
    EXPECT_NE(App().dllModules[kDllGlobalSizeOfHostEnt].get(), nullptr);
    EXPECT_EQ(RtCallDllCommand(kDllGlobalSizeOfReply), globalSize);
    EXPECT_NE(App().dllModules[kDllGlobalSizeOfReply].get(), nullptr);

    // Once cached, the address is used without looking again.
    App().dllCommandNames[kDllGlobalSizeOfHostEnt] = "MgNoSuchRoutine";
    EXPECT_EQ(RtCallDllCommand(kDllGlobalSizeOfHostEnt), globalSize);
    for (int32_t i : {3, 6}) App().dllCommandNames[static_cast<size_t>(i)] = "GlobalSize";

    // GlobalSize of a packed record on the runtime heap is the record's packed size.
    const RecordMember members[] = {{MemberKind::Int, 0}, {MemberKind::Int, 4}, {MemberKind::Short, 8},
                                    {MemberKind::Short, 12}, {MemberKind::Int, 16}};
    const RecordLayout hostEnt32 = {members, 5};
    int32_t slots[5] = {};
    EXPECT_EQ(CallDllCommand(kDllGlobalSizeOfHostEnt, {DllArg::OfRecord(slots, hostEnt32)}), 16);
}

TEST_F(DllCommands, ArgumentsArriveInOrderAndTextsAsTheirFirstByte) {
    Declare({{"mgprobe.dll", "WeighEight"}, {"mgprobe.dll", "TextBytes"}});
    EXPECT_EQ(CallDllCommand(0, {DllArg::Of(1), DllArg::Of(10), DllArg::Of(100), DllArg::Of(1000), DllArg::Of(0),
                                 DllArg::Of(0), DllArg::Of(0), DllArg::Of(-1)}),
              1 + 20 + 300 + 4000 - 8);
    EXPECT_EQ(CallDllCommand(1, {DllArg::OfText("aaaaaa")}), 6);
    EXPECT_EQ(CallDllCommand(1, {DllArg::OfText("\xD6\xD0")}), 2);
    EXPECT_EQ(CallDllCommand(1, {DllArg::OfText(nullptr)}), 0);  // null is the empty text
}

namespace {

// The tools' own record of the marshalling test: every member in a slot of its own.
struct InnerSlots {
    int32_t x;  // byte
    int32_t y;  // integer
};
struct OuterSlots {
    int32_t b;      // byte
    int32_t s;      // short
    int32_t i;      // integer
    void* bytes;    // byte array [6]
    void* inner;    // nested record
    intptr_t p;     // pointer-wide
};

const RecordMember kInnerMembers[] = {
    {MemberKind::Byte, offsetof(InnerSlots, x)},
    {MemberKind::Int, offsetof(InnerSlots, y)},
};
const RecordLayout kInner = {kInnerMembers, 2};
const RecordMember kOuterMembers[] = {
    {MemberKind::Byte, offsetof(OuterSlots, b)},
    {MemberKind::Short, offsetof(OuterSlots, s)},
    {MemberKind::Int, offsetof(OuterSlots, i)},
    {MemberKind::ByteArray, offsetof(OuterSlots, bytes), 6},
    {MemberKind::Record, offsetof(OuterSlots, inner), 0, &kInner},
    {MemberKind::Pointer, offsetof(OuterSlots, p)},
};
const RecordLayout kOuter = {kOuterMembers, 6};

void* ByteArray(const std::string& content) {
    auto* block = static_cast<char*>(RtAlloc(8 + content.size()));
    uint32_t header[2] = {1, static_cast<uint32_t>(content.size())};
    std::memcpy(block, header, 8);
    std::memcpy(block + 8, content.data(), content.size());
    return block;
}

std::string ArrayContent(const void* block) {
    return std::string(array_block::Data(block), static_cast<size_t>(array_block::ElementCount(block)));
}

// A routine declared to give an integer: the low 32 bits of the result register.
int32_t CallForInt(int32_t index, std::initializer_list<DllArg> args) {
    return static_cast<int32_t>(CallDllCommand(index, args));
}

// The checksum FillRecord gives for what it read.
int32_t Checksum(int32_t b, int32_t s, int32_t i, const unsigned char (&bytes)[6], int32_t x, int32_t y, intptr_t p) {
    uint32_t sum = static_cast<uint32_t>(b + s + i + x + y + static_cast<int32_t>(p));
    for (unsigned char c : bytes) sum = sum * 31 + c;
    return static_cast<int32_t>(sum);
}

}  // namespace

TEST_F(DllCommands, RecordsTravelPackedAndComeBackIntoTheirSlots) {
    Declare({{"mgprobe.dll", "FillRecord"}});
    EXPECT_EQ(PackedSize(kOuter), 1 + 2 + 4 + 6 + 5 + sizeof(void*));

    InnerSlots inner = {0x7F, 1000};
    void* bytes = ByteArray("abcdefgh");  // longer than declared: only 6 travel
    OuterSlots outer = {200, -300, 123456, bytes, &inner, 77};
    int64_t live = LiveBlockCount();
    const unsigned char sent[6] = {'a', 'b', 'c', 'd', 'e', 'f'};
    EXPECT_EQ(CallForInt(0, {DllArg::OfRecord(&outer, kOuter)}), Checksum(200, -300, 123456, sent, 0x7F, 1000, 77));
    EXPECT_EQ(LiveBlockCount(), live);  // the temporary was freed

    EXPECT_EQ(outer.b, 201);
    EXPECT_EQ(outer.s, 300);
    EXPECT_EQ(outer.i, 246912);
    EXPECT_EQ(outer.bytes, bytes);  // a heap array is written in place
    EXPECT_EQ(ArrayContent(bytes), "ABCDEFgh");
    EXPECT_EQ(inner.x, 0xFE);  // bytes come back unsigned
    EXPECT_EQ(inner.y, 1001);
    EXPECT_EQ(outer.p, 78);
    RtFree(bytes);
}

TEST_F(DllCommands, ShortAndConstantByteArraysAreCopiedNoFurtherThanTheyReach) {
    Declare({{"mgprobe.dll", "FillRecord"}});
    // The tools' constant block holds a 3-element array; the routine writes 6 bytes.
    alignas(8) static char constants[32];
    uint32_t header[2] = {1, 3};
    std::memcpy(constants, header, 8);
    std::memcpy(constants + 8, "xyz", 3);
    SetConstantBlock(constants, sizeof constants);

    InnerSlots inner = {};
    OuterSlots outer = {1, 2, 3, constants, &inner, 0};
    const unsigned char sent[6] = {'x', 'y', 'z', 0, 0, 0};  // padded with zeros
    EXPECT_EQ(CallForInt(0, {DllArg::OfRecord(&outer, kOuter)}), Checksum(1, 2, 3, sent, 0, 0, 0));
    ASSERT_NE(outer.bytes, static_cast<void*>(constants));  // replaced by a heap copy
    EXPECT_FALSE(IsInConstantBlock(outer.bytes));
    EXPECT_EQ(ArrayContent(outer.bytes), "ABC");
    EXPECT_EQ(std::string(constants + 8, 3), "xyz");  // the constant is untouched
    RtFree(outer.bytes);

    // A nested record and an array that are null travel as zeros and are left alone.
    OuterSlots bare = {5, 6, 7, nullptr, nullptr, 8};
    const unsigned char zeros[6] = {};
    EXPECT_EQ(CallForInt(0, {DllArg::OfRecord(&bare, kOuter)}), Checksum(5, 6, 7, zeros, 0, 0, 8));
    EXPECT_EQ(bare.bytes, nullptr);
    EXPECT_EQ(bare.inner, nullptr);
    EXPECT_EQ(bare.b, 6);
    SetConstantBlock(nullptr, 0);
}

namespace {

struct Outcome {
    MessageBoxSeen box;
    DWORD exitCode;
};

Outcome RunChild(const std::wstring& exe, const wchar_t* index) {
    ChildProcess child(exe, {L"dll-call", index});
    EXPECT_TRUE(child.started());
    Outcome o;
    o.box = child.CloseNextMessageBox(5000);
    o.exitCode = child.Wait();
    return o;
}

std::wstring Child() { return TestBinaryPath(L"command_child.exe"); }

}  // namespace

TEST(DllCommandFailures, MissingRoutineNamesLibraryAndRoutine) {
    Outcome o = RunChild(Child(), L"0");
    ASSERT_TRUE(o.box.found);
    EXPECT_EQ(o.box.caption, L"错误");
    EXPECT_EQ(o.box.text, L"运行时出错!\r\n\r\n错误信息：无法找到指定DLL库文件“kernel32”中的输出命令“MgNoSuchRoutine”\r\n");
    EXPECT_EQ(o.exitCode, 0xFFFFFFFFu);
}

TEST(DllCommandFailures, MissingRoutineOfTheStandardLibrariesNamesOnlyTheRoutine) {
    Outcome o = RunChild(Child(), L"1");
    ASSERT_TRUE(o.box.found);
    EXPECT_EQ(o.box.text, L"运行时出错!\r\n\r\n错误信息：无法找到指定DLL库文件中的输出命令“MgNoSuchRoutine”\r\n");
    EXPECT_EQ(o.exitCode, 0xFFFFFFFFu);
}

TEST(DllCommandFailures, MissingLibraryIsFatalToo) {
    Outcome o = RunChild(Child(), L"2");
    ASSERT_TRUE(o.box.found);
    EXPECT_EQ(o.box.text,
              L"运行时出错!\r\n\r\n错误信息：无法找到指定DLL库文件“mg_no_such_library.dll”中的输出命令“GetTickCount”\r\n");
    EXPECT_EQ(o.exitCode, 0xFFFFFFFFu);
}

TEST(DllCommandFailures, CallerCleansRoutineUnbalancesOnlyThe32BitStack) {
    TempDirectory dir;
    std::wstring exe = dir.File(L"command_child.exe");
    ASSERT_TRUE(CopyFileW(Child().c_str(), exe.c_str(), FALSE));
    ASSERT_TRUE(CopyFileW(ProbeDll(L"probe_a").c_str(), dir.File(L"mgprobe.dll").c_str(), FALSE));
    if (sizeof(void*) == 4) {
        Outcome o = RunChild(exe, L"3");
        ASSERT_TRUE(o.box.found);
        EXPECT_EQ(o.box.text, L"运行时出错!\r\n\r\n错误代码：6\r\n\r\n错误信息：调用DLL命令后发现堆栈错误\r\n");
        EXPECT_EQ(o.exitCode, 0xFFFFFFFFu);
    } else {
        // x64: one convention, the caller removes the arguments; the call simply succeeds.
        ChildProcess child(exe, {L"dll-call", L"3"});
        EXPECT_EQ(child.Wait(), 3u);
    }
}
