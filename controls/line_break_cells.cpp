#include "controls/line_break_cells.h"

#include <algorithm>

namespace {

bool IsLineBreak(wchar_t c) { return c == L'\r' || c == L'\n'; }

}  // namespace

bool LineBreakCells::HasLineBreak(std::wstring_view text) {
    return std::any_of(text.begin(), text.end(), IsLineBreak);
}

std::wstring LineBreakCells::WithoutLineBreaks(std::wstring_view text) {
    std::wstring out;
    out.reserve(text.size());
    for (wchar_t c : text)
        if (!IsLineBreak(c)) out += c;
    return out;
}

void LineBreakCells::Store(int32_t row, int32_t column, std::wstring_view text) {
    if (row < 0 || column < 0) return;
    if (!HasLineBreak(text)) {
        Forget(row, column);
        return;
    }
    if (rows_.size() <= static_cast<size_t>(row)) rows_.resize(static_cast<size_t>(row) + 1);
    rows_[static_cast<size_t>(row)][column] = std::wstring(text);
}

void LineBreakCells::Forget(int32_t row, int32_t column) {
    if (row < 0 || static_cast<size_t>(row) >= rows_.size()) return;
    rows_[static_cast<size_t>(row)].erase(column);
    Trim();
}

const std::wstring* LineBreakCells::Find(int32_t row, int32_t column) const {
    if (row < 0 || static_cast<size_t>(row) >= rows_.size()) return nullptr;
    const auto& cells = rows_[static_cast<size_t>(row)];
    auto it = cells.find(column);
    return it == cells.end() ? nullptr : &it->second;
}

void LineBreakCells::RowInserted(int32_t row) {
    if (row < 0 || static_cast<size_t>(row) >= rows_.size()) return;
    rows_.emplace(rows_.begin() + row);
}

void LineBreakCells::RowDeleted(int32_t row) {
    if (row < 0 || static_cast<size_t>(row) >= rows_.size()) return;
    rows_.erase(rows_.begin() + row);
    Trim();
}

void LineBreakCells::Clear() { rows_.clear(); }

void LineBreakCells::Trim() {
    while (!rows_.empty() && rows_.back().empty()) rows_.pop_back();
}
