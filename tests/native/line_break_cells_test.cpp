// The stored texts of cells with line breaks follow their rows as rows come and go.
#include <gtest/gtest.h>

#include "controls/line_break_cells.h"

namespace {

std::wstring At(const LineBreakCells& cells, int32_t row, int32_t column) {
    const std::wstring* text = cells.Find(row, column);
    return text ? *text : L"<none>";
}

TEST(LineBreakCells, TheControlGetsTheTextWithoutCrAndLf) {
    EXPECT_EQ(LineBreakCells::WithoutLineBreaks(L"\r\n腾讯"), L"腾讯");
    EXPECT_EQ(LineBreakCells::WithoutLineBreaks(L"a\rb\nc\r\n"), L"abc");
    EXPECT_EQ(LineBreakCells::WithoutLineBreaks(L"127.0.0.1"), L"127.0.0.1");
    EXPECT_FALSE(LineBreakCells::HasLineBreak(L"腾讯 QQ\t"));
}

TEST(LineBreakCells, KeepsOnlyCellsWithLineBreaksAndFollowsTheirRows) {
    LineBreakCells cells;
    cells.Store(0, 1, L"腾讯");          // nothing to keep
    cells.Store(1, 1, L"\r\n网易");
    cells.Store(3, 2, L"\r\n新浪");
    EXPECT_EQ(At(cells, 0, 1), L"<none>");
    EXPECT_EQ(At(cells, 1, 1), L"\r\n网易");
    EXPECT_EQ(At(cells, 1, 2), L"<none>");

    cells.RowInserted(0);  // everything moves down one
    EXPECT_EQ(At(cells, 2, 1), L"\r\n网易");
    EXPECT_EQ(At(cells, 4, 2), L"\r\n新浪");
    cells.RowInserted(9);  // past the kept rows: nothing moves
    EXPECT_EQ(At(cells, 4, 2), L"\r\n新浪");

    cells.RowDeleted(2);  // the row itself goes, the later ones move up
    EXPECT_EQ(At(cells, 2, 1), L"<none>");
    EXPECT_EQ(At(cells, 3, 2), L"\r\n新浪");

    cells.Store(3, 2, L"新浪");  // rewritten without a line break: forgotten
    EXPECT_TRUE(cells.Empty());

    cells.Store(5, 0, L"\n");
    cells.Store(-1, 0, L"\n");
    cells.Clear();
    EXPECT_TRUE(cells.Empty());
}

}  // namespace
