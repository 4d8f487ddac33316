// The tools' files when the disk or another program stands in the way: a record that does not
// fit on the disk, a host file that another program holds open without sharing.
#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/win/toolbox/toolbox_driver.h"

using namespace units;

namespace {

bool HeldByAnother(const std::wstring& path) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    return h == INVALID_HANDLE_VALUE && GetLastError() == ERROR_SHARING_VIOLATION;
}

}  // namespace

// The lab's folder whose 盘货记录 is a filesystem of 96 KiB: the picture (over 1 MB) fills it
// part way through. Nothing stays under the record's name, and the cashier is told.
TEST(InventoryRecords, AnExportOntoAFullDiskLeavesNoFileAndSaysSo) {
    const char* full = std::getenv("MG_LAB_FULL_DISK_DIR");
    ASSERT_TRUE(full && *full) << "run it in the lab (tools/lab.sh), which provides the full disk";
    std::wstring folder = L"Z:" + Wide(full);
    for (wchar_t& c : folder)
        if (c == L'/') c = L'\\';
    const std::wstring records = folder + L"\\盘货记录";
    ASSERT_TRUE(FileNamesIn(records).empty()) << "the lab's full disk is not empty";
    {
        Toolbox::Options options;
        options.directory = folder;
        options.clock = "2026-12-08 14:05:09";
        Toolbox t(options);
        ASSERT_TRUE(t.started());
        t.Click(导出);
        MessageBoxSeen box = t.AnswerMessageBox(30000);
        EXPECT_EQ(box.text, L"盘货记录未能保存：" + records + L"\\2026年12月8日14时5分9秒.jpg");
        EXPECT_TRUE(FileNamesIn(records).empty()) << "a half-written record or its temporary file stayed";
        EXPECT_EQ(t.Close(), 0u);
    }
    for (const std::wstring& name : FileNamesIn(folder)) DeleteFileW((folder + L"\\" + name).c_str());
}

// A host file that exists but cannot be read is no missing file: it keeps its content and its
// list starts empty, while the other list loads as usual.
TEST(HostFiles, AFileHeldWithoutSharingIsNeverReplacedAndItsListStartsEmpty) {
    const std::string inside = HostList({{"路由器", "127.0.0.1"}, {"服务器", "127.1.0.20"}});
    std::unique_ptr<ChildProcess> holder;
    Toolbox::Options options;
    options.files = {{L"疆内.txt", inside}, {L"疆外.txt", HostList({{"门户", "127.0.0.2"}, {"本机", "localhost"}})}};
    options.beforeStart = [&](const std::wstring& folder) {
        const std::wstring file = folder + L"\\疆内.txt";
        holder = std::make_unique<ChildProcess>(TestBinaryPath(L"file_holder.exe"), std::vector<std::wstring>{file});
        // Another Wine program's start can take tens of seconds on a loaded machine.
        ASSERT_TRUE(WaitUntil([&] { return HeldByAnother(file); }, 60000)) << "the second program did not hold the file";
    };
    Toolbox t(options);
    ASSERT_TRUE(t.started());
    ASSERT_TRUE(HeldByAnother(t.File(L"疆内.txt"))) << "the second program did not hold the file";
    EXPECT_EQ(t.Rows(疆内超级列表框), 0);
    EXPECT_EQ(t.Rows(疆外超级列表框), 2);
    EXPECT_EQ(t.Close(), 0u);
    holder.reset();  // ended: the file is free again
    EXPECT_EQ(ReadWholeFile(t.File(L"疆内.txt")), inside);
}
