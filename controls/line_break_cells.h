// Cells whose text holds line breaks. A host file's labels carry the CR LF that ends the line
// before them, and the list-view control draws those two characters as two small boxes. So
// the control is given each cell's text without its CR and LF characters, and this keeps the
// text as it was stored for the cells where that differs, by row and column, so that reading
// a cell still gives what was written into it.
//
// Rows are kept by their index: inserting and deleting rows shifts the rows after them, as it
// does in the control.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

class LineBreakCells {
public:
    static bool HasLineBreak(std::wstring_view text);
    // What the control draws: the text without its CR and LF characters.
    static std::wstring WithoutLineBreaks(std::wstring_view text);

    // The cell now holds `text`: kept when it has line breaks, forgotten otherwise.
    void Store(int32_t row, int32_t column, std::wstring_view text);
    void Forget(int32_t row, int32_t column);
    // The stored text of a cell whose text has line breaks; null for every other cell.
    const std::wstring* Find(int32_t row, int32_t column) const;

    void RowInserted(int32_t row);  // the rows from `row` on move down one
    void RowDeleted(int32_t row);   // the rows after `row` move up one
    void Clear();
    bool Empty() const { return rows_.empty(); }

    // Every kept cell, row by row: (row, column, stored text).
    template <typename Fn>
    void ForEach(Fn&& fn) const {
        for (size_t row = 0; row < rows_.size(); ++row)
            for (const auto& [column, text] : rows_[row]) fn(static_cast<int32_t>(row), column, text);
    }

private:
    // Up to the last row that keeps a cell; rows past it keep none.
    std::vector<std::map<int32_t, std::wstring>> rows_;
    void Trim();
};
