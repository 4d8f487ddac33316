// Start-up of the real program: the default host files, the record folder, the result
// lists and their rows, the group boxes, the clock; existing files left alone.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "tests/win/toolbox/toolbox_driver.h"

using namespace units;

namespace {

int Lines(const std::string& s) {
    int n = 0;
    for (size_t i = 0; i + 1 < s.size(); ++i)
        if (s[i] == '\r' && s[i + 1] == '\n') ++n;
    return n;
}

SIZE SizeOf(const RECT& r) { return {r.right - r.left, r.bottom - r.top}; }

}  // namespace

TEST(ToolboxStart, AFirstStartInAnEmptyDirectoryWritesTheDefaultsAndShowsOneRowPerHost) {
    Toolbox::Options options;
    options.clock = "2026-12-08 14:05:09";
    Toolbox toolbox(options);
    ASSERT_TRUE(toolbox.started());

    // The host files byte for byte: GBK, CR LF after every line, no byte-order mark.
    EXPECT_EQ(ReadWholeFile(toolbox.File(L"疆内.txt")), HostList(kDefaultInsideHosts));
    // The outside list: its labels in order, one line each (the addresses are placeholders).
    std::string outside = ReadWholeFile(toolbox.File(L"疆外.txt"));
    EXPECT_EQ(Lines(outside), static_cast<int>(kDefaultOutsideLabels.size()));
    size_t line = 0;
    for (const std::string& label : kDefaultOutsideLabels) {
        EXPECT_EQ(outside.compare(line, label.size() + 2, label + "，"), 0) << label;
        line = outside.find("\r\n", line) + 2;
    }
    EXPECT_EQ(line, outside.size()) << "the last line ends the file with CR LF";
    DWORD attributes = GetFileAttributesW(toolbox.File(L"盘货记录").c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);

    // Both result lists: report view, full-row selection, no grid lines, three centred columns.
    for (rt::AnyUnit list : {疆内超级列表框.Any(), 疆外超级列表框.Any()}) {
        HWND h = toolbox.Handle(list);
        ASSERT_NE(h, nullptr);
        EXPECT_EQ(GetWindowLongW(h, GWL_STYLE) & LVS_TYPEMASK, LVS_REPORT);
        DWORD ex = static_cast<DWORD>(SendMessageW(h, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
        EXPECT_TRUE(ex & LVS_EX_FULLROWSELECT);
        EXPECT_FALSE(ex & LVS_EX_GRIDLINES);
        EXPECT_EQ(toolbox.ColumnTitle(list, 0), L" ");
        EXPECT_EQ(toolbox.ColumnTitle(list, 1), L"服务器");
        EXPECT_EQ(toolbox.ColumnTitle(list, 2), L"延时");
        EXPECT_EQ(toolbox.ColumnWidth(list, 0), 18);
        EXPECT_EQ(toolbox.ColumnWidth(list, 1), 110);
        EXPECT_EQ(toolbox.ColumnWidth(list, 2), 40);
    }

    // One row per default host, grey with "...", the labels with the CR LF of the line before.
    ASSERT_EQ(toolbox.Rows(疆内超级列表框), 6);
    ASSERT_EQ(toolbox.Rows(疆外超级列表框), 21);
    EXPECT_EQ(toolbox.Rows(超级列表框1), 6);
    EXPECT_EQ(toolbox.Rows(超级列表框2), 21);
    for (int row = 0; row < 6; ++row) {
        const auto& [label, address] = kDefaultInsideHosts[static_cast<size_t>(row)];
        EXPECT_EQ(toolbox.Cell(疆内超级列表框, row, 1), (row ? "\r\n" : "") + label);
        EXPECT_EQ(toolbox.Cell(超级列表框1, row, 0), address);
    }
    EXPECT_EQ(toolbox.Cell(超级列表框2, 0, 0), "www.baidu.com");
    for (int row = 0; row < 21; ++row) {
        if (row < 6) {
            EXPECT_EQ(toolbox.Lamp(疆内超级列表框, row), 0);
            EXPECT_EQ(toolbox.Cell(疆内超级列表框, row, 2), "...");
        }
        EXPECT_EQ(toolbox.Lamp(疆外超级列表框, row), 0);
        EXPECT_EQ(toolbox.Cell(疆外超级列表框, row, 2), "...");
    }

    // The group boxes frame the rows: 6 x 18 + 12 and 21 x 18, the columns' 168 wide.
    EXPECT_EQ(SizeOf(toolbox.ScreenRect(疆内分组框)).cx, 168);
    EXPECT_EQ(SizeOf(toolbox.ScreenRect(疆内分组框)).cy, 120);
    EXPECT_EQ(SizeOf(toolbox.ScreenRect(疆外分组框)).cx, 168);
    EXPECT_EQ(SizeOf(toolbox.ScreenRect(疆外分组框)).cy, 378);

    // The clock of the sheet ticks once a second.
    EXPECT_TRUE(WaitUntil([&] { return toolbox.Text(时间显示) == "2026年12月8日14时5分9秒"; }, 3000))
        << toolbox.Text(时间显示);
    EXPECT_EQ(toolbox.Close(), 0u);
    EXPECT_FALSE(toolbox.MessageBoxShowing());
}

TEST(ToolboxStart, AHostFileThatExistsIsNeverRewrittenEvenEmpty) {
    Toolbox::Options options;
    options.files = {{L"疆内.txt", ""}};  // 疆外.txt deleted: only it comes back
    Toolbox toolbox(options);
    ASSERT_TRUE(toolbox.started());
    EXPECT_EQ(ReadWholeFile(toolbox.File(L"疆内.txt")), "");
    EXPECT_EQ(Lines(ReadWholeFile(toolbox.File(L"疆外.txt"))), 21);
    EXPECT_EQ(toolbox.Rows(疆内超级列表框), 0);
    EXPECT_EQ(toolbox.Rows(疆外超级列表框), 21);
    EXPECT_EQ(SizeOf(toolbox.ScreenRect(疆内分组框)).cy, 12);
    EXPECT_EQ(toolbox.Close(), 0u);
}
