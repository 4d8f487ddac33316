// Fatal reports and the end of the program, watched from outside in a child process.
#include <gtest/gtest.h>

#include "tests/win/child_process.h"

namespace {

std::wstring Child() { return TestBinaryPath(L"spine_child.exe"); }

struct Outcome {
    MessageBoxSeen box;
    DWORD exitCode;
};

Outcome RunToFatal(const std::vector<std::wstring>& args) {
    ChildProcess child(Child(), args);
    EXPECT_TRUE(child.started());
    Outcome o;
    o.box = child.CloseNextMessageBox();
    o.exitCode = child.Wait();
    return o;
}

}  // namespace

TEST(FatalReport, CodeSixShowsCodeAndMessageLines) {
    Outcome o = RunToFatal({L"report-error", L"6"});
    ASSERT_TRUE(o.box.found);
    EXPECT_EQ(o.box.caption, L"错误");
    EXPECT_EQ(o.box.text, L"运行时出错!\r\n\r\n错误代码：6\r\n\r\n错误信息：调用DLL命令后发现堆栈错误\r\n");
    EXPECT_TRUE(o.box.stopIcon);
    EXPECT_EQ(o.exitCode, 0xFFFFFFFFu);
}

TEST(FatalReport, FailedAllocationNamesTheByteCountWithoutCodeLine) {
    Outcome o = RunToFatal({L"alloc-fail", L"1048576"});
    ASSERT_TRUE(o.box.found);
    EXPECT_EQ(o.box.text, L"运行时出错!\r\n\r\n错误信息：分配 1048576 字节内存失败!\r\n");
    EXPECT_EQ(o.exitCode, 0xFFFFFFFFu);
}

TEST(FatalReport, CodeZeroWithEmptyMessageShowsOnlyTheHeading) {
    Outcome o = RunToFatal({L"fatal-empty"});
    ASSERT_TRUE(o.box.found);
    EXPECT_EQ(o.box.text, L"运行时出错!\r\n\r\n");
    EXPECT_EQ(o.exitCode, 0xFFFFFFFFu);
}

TEST(FatalReport, ArrayIndexBelowOneAndBeyondTheEndRaiseCodesFourAndOne) {
    Outcome below = RunToFatal({L"array-index", L"0"});
    EXPECT_EQ(below.box.text, L"运行时出错!\r\n\r\n错误代码：4\r\n\r\n错误信息：数组成员引用下标必须大于等于1\r\n");
    Outcome beyond = RunToFatal({L"array-index", L"1"});
    EXPECT_EQ(beyond.box.text, L"运行时出错!\r\n\r\n错误代码：1\r\n\r\n错误信息：数组成员引用下标超出定义范围\r\n");
    EXPECT_EQ(beyond.exitCode, 0xFFFFFFFFu);
}

TEST(FatalReport, StartWindowThatCannotLoadIsFatal) {
    Outcome o = RunToFatal({L"start-window"});
    EXPECT_EQ(o.box.text, L"运行时出错!\r\n\r\n错误信息：载入启动窗口失败\r\n");
    EXPECT_EQ(o.exitCode, 0xFFFFFFFFu);
}

TEST(Shutdown, WorkerThreadExitIsCarriedOutByTheMainThread) {
    TempDirectory dir;
    std::wstring log = dir.File(L"log.txt");
    ChildProcess child(Child(), {L"exit-worker", L"7", L"--log", log});
    EXPECT_EQ(child.Wait(), 7u);
    // Routines run once each, in registration order, with their positions; the main
    // thread's loop never returns normally.
    EXPECT_EQ(ReadWholeFile(log), "worker 1\nA 0\nB 1\n");
}

TEST(Shutdown, NoExitRoutineRunsAfterAFatalError) {
    TempDirectory dir;
    std::wstring log = dir.File(L"log.txt");
    ChildProcess child(Child(), {L"fatal-after-routines", L"x", L"--log", log});
    EXPECT_TRUE(child.CloseNextMessageBox().found);
    EXPECT_EQ(child.Wait(), 0xFFFFFFFFu);
    EXPECT_EQ(ReadWholeFile(log), "");
}

TEST(Shutdown, FatalErrorOnAWorkerShowsItsBoxAndEndsWithoutExitRoutines) {
    TempDirectory dir;
    std::wstring log = dir.File(L"log.txt");
    ChildProcess child(Child(), {L"fatal-worker", L"x", L"--log", log});
    MessageBoxSeen box = child.CloseNextMessageBox();
    EXPECT_EQ(box.text, L"运行时出错!\r\n\r\n错误代码：5\r\n\r\n错误信息：数据或数组类型不匹配\r\n");
    EXPECT_EQ(child.Wait(), 0xFFFFFFFFu);
    EXPECT_EQ(ReadWholeFile(log), "");
}

TEST(Shutdown, NormalEndRunsEachExitRoutineOnceWithExitCodeZero) {
    TempDirectory dir;
    std::wstring log = dir.File(L"log.txt");
    ChildProcess child(Child(), {L"normal-end", L"x", L"--log", log});
    EXPECT_EQ(child.Wait(), 0u);
    EXPECT_EQ(ReadWholeFile(log), "loop returned\nA 0\nB 1\n");
}

TEST(StartUp, RunDirectoryAndFileNameComeFromTheProgramPath) {
    TempDirectory dir;
    std::wstring exe = dir.File(L"程序.exe");
    ASSERT_TRUE(CopyFileW(Child().c_str(), exe.c_str(), FALSE));
    std::wstring log = dir.File(L"log.txt");
    ChildProcess child(exe, {L"paths", L"x", L"--log", log}, L"C:\\");
    EXPECT_EQ(child.Wait(), 0u);
    std::string out = ReadWholeFile(log);
    // Run directory without, module directory with its trailing backslash; the current
    // directory follows the run directory. The log holds GBK.
    int n = WideCharToMultiByte(936, 0, dir.path().c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string gbkDir(static_cast<size_t>(n - 1), '\0');
    WideCharToMultiByte(936, 0, dir.path().c_str(), -1, gbkDir.data(), n, nullptr, nullptr);
    std::string name = "\xB3\xCC\xD0\xF2.exe";  // 程序.exe
    EXPECT_EQ(out, gbkDir + "|" + name + "|" + gbkDir + "\\\n" + gbkDir + "\n");
}

TEST(StartUp, ProgramInADriveRootHasTheDriveAsRunDirectory) {
    std::wstring exe = L"C:\\mg_spine_root_probe.exe";
    ASSERT_TRUE(CopyFileW(Child().c_str(), exe.c_str(), FALSE));
    TempDirectory dir;
    std::wstring log = dir.File(L"log.txt");
    DWORD code;
    {
        ChildProcess child(exe, {L"paths", L"x", L"--log", log});
        code = child.Wait();
    }
    DeleteFileW(exe.c_str());
    EXPECT_EQ(code, 0u);
    std::string out = ReadWholeFile(log);
    EXPECT_EQ(out.substr(0, out.find('\n')), "C:|mg_spine_root_probe.exe|C:\\");
}
