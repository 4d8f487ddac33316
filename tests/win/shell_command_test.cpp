// ShellOpen hands a file to the shell, which opens it with its associated program.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include "runtime/commands/core_commands.h"
#include "tests/win/child_process.h"
#include "tests/win/command_test_util.h"

namespace {

// The text editor's window showing a file whose title contains `titlePart`.
HWND WaitForEditor(const wchar_t* titlePart) { return WaitForOtherProgramWindow(titlePart, 60000, L"Notepad"); }

// Windows maps .txt to the text editor; this Wine's default set-up names the editor's file
// type but leaves the extension unmapped (and does not merge per-user classes). Map it.
void MapTextFilesToTheEditor() {
    wchar_t type[64] = {};
    LONG size = sizeof type;
    if (RegQueryValueW(HKEY_CLASSES_ROOT, L".txt", type, &size) == ERROR_SUCCESS && type[0]) return;
    HKEY key;
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT, L".txt", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return;
    const wchar_t kType[] = L"txtfile";
    RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(kType), sizeof kType);
    RegCloseKey(key);
}

class ShellOpenCommand : public ::testing::Test {
protected:
    void SetUp() override { MapTextFilesToTheEditor(); }
};

}  // namespace

TEST_F(ShellOpenCommand, TextFileOpensInAnEditorWindow) {
    TempDirectory dir;
    std::wstring file = dir.File(L"mgshell疆内.txt");
    WriteWholeFile(file, "127.0.0.1\r\n");
    ArgStore store;
    ArgValue v = RtCallLibCommand(4, &ShellOpen, 2, std::vector<ArgValue>{Omitted(), store.Text(file)}.data());
    EXPECT_EQ(v.tag, kTagInt);
    EXPECT_GT(v.Int(), 32);
    HWND editor = WaitForEditor(L"mgshell疆内");
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(CloseProgramOf(editor));
}

TEST_F(ShellOpenCommand, OpenVerbWithDirectoryAndShowMode) {
    TempDirectory dir;
    WriteWholeFile(dir.File(L"mgverb.txt"), "x");
    ArgStore store;
    // A relative file name found through the given directory; verb 4 "open"; shown normally.
    ArgValue v = Call(&ShellOpen, {Int(4), store.Text(std::string("mgverb.txt")), Omitted(), store.Text(dir.path()),
                                   Int(2)});
    EXPECT_GT(v.Int(), 32);
    HWND editor = WaitForEditor(L"mgverb");
    ASSERT_NE(editor, nullptr);
    EXPECT_FALSE(IsIconic(editor));
    EXPECT_TRUE(CloseProgramOf(editor));
}

TEST_F(ShellOpenCommand, MissingFileGivesTheShellsFailureValue) {
    TempDirectory dir;
    ArgStore store;
    ArgValue v = Call(&ShellOpen, {Omitted(), store.Text(dir.File(L"missing.txt"))});
    EXPECT_EQ(v.tag, kTagInt);
    EXPECT_EQ(v.Int(), SE_ERR_FNF) << "the shell's value for a file that is not found";
}
