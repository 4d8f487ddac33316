#include "controls/list_view_line_breaks.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

namespace {

// A text the caller gave, as opposed to none or "ask the parent".
bool GivenText(const wchar_t* text) { return text && text != LPSTR_TEXTCALLBACKW; }

// Copies `text` into the caller's buffer as the control does: cut to the buffer, always
// NUL-terminated; the characters copied.
LRESULT CopyOut(const std::wstring& text, LVITEMW& item) {
    if (!item.pszText || item.cchTextMax <= 0) return 0;
    const size_t n = std::min(text.size(), static_cast<size_t>(item.cchTextMax) - 1);
    std::copy_n(text.data(), n, item.pszText);
    item.pszText[n] = L'\0';
    return static_cast<LRESULT>(n);
}

// Hands the control a copy of `item` whose text has no line breaks.
LRESULT WithoutLineBreaks(const ListControlCall& control, UINT message, WPARAM wParam, const LVITEMW& item) {
    LVITEMW copy = item;
    std::wstring shown;
    if (GivenText(item.pszText) && LineBreakCells::HasLineBreak(item.pszText)) {
        shown = LineBreakCells::WithoutLineBreaks(item.pszText);
        copy.pszText = shown.data();
    }
    return control(message, wParam, reinterpret_cast<LPARAM>(&copy));
}

// The cell now holds what `item` gave it.
void Remember(LineBreakCells& cells, int32_t row, const LVITEMW& item) {
    if (GivenText(item.pszText)) {
        cells.Store(row, item.iSubItem, item.pszText);
    } else {
        cells.Forget(row, item.iSubItem);
    }
}

}  // namespace

bool HandleCellTextMessage(LineBreakCells& cells, const ListControlCall& control, UINT message, WPARAM wParam,
                           LPARAM lParam, LRESULT* result) {
    auto* item = reinterpret_cast<LVITEMW*>(lParam);
    switch (message) {
        case LVM_INSERTITEMW: {
            if (!item) return false;
            *result = WithoutLineBreaks(control, message, wParam, *item);
            const auto row = static_cast<int32_t>(*result);
            if (row >= 0) {
                cells.RowInserted(row);
                if (item->mask & LVIF_TEXT) Remember(cells, row, *item);
            }
            return true;
        }
        case LVM_SETITEMTEXTW:
            if (!item) return false;
            *result = WithoutLineBreaks(control, message, wParam, *item);
            if (*result) Remember(cells, static_cast<int32_t>(wParam), *item);
            return true;
        case LVM_SETITEMW:
            if (!item || !(item->mask & LVIF_TEXT)) return false;
            *result = WithoutLineBreaks(control, message, wParam, *item);
            if (*result) Remember(cells, item->iItem, *item);
            return true;
        case LVM_GETITEMTEXTW: {
            const std::wstring* stored = item ? cells.Find(static_cast<int32_t>(wParam), item->iSubItem) : nullptr;
            if (!stored) return false;
            *result = CopyOut(*stored, *item);
            return true;
        }
        case LVM_GETITEMW: {
            if (!item || !(item->mask & LVIF_TEXT)) return false;
            *result = control(message, wParam, lParam);
            const std::wstring* stored = cells.Find(item->iItem, item->iSubItem);
            if (*result && stored) CopyOut(*stored, *item);
            return true;
        }
        case LVM_DELETEITEM:
            *result = control(message, wParam, lParam);
            if (*result) cells.RowDeleted(static_cast<int32_t>(wParam));
            return true;
        case LVM_DELETEALLITEMS:
            *result = control(message, wParam, lParam);
            if (*result) cells.Clear();
            return true;
        case LVM_SORTITEMS:
        case LVM_SORTITEMSEX:
            // Sorting moves rows where their indexes cannot follow: the control takes the
            // texts as written first, line breaks and all, so nothing is lost.
            cells.ForEach([&](int32_t row, int32_t column, const std::wstring& text) {
                LVITEMW cell = {};
                cell.iSubItem = column;
                cell.pszText = const_cast<wchar_t*>(text.c_str());
                control(LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
            });
            cells.Clear();
            *result = control(message, wParam, lParam);
            return true;
        default:
            return false;
    }
}
