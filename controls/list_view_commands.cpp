// The commands of library 3 on super list boxes. Each resolves the unit (a unit that is not
// loaded is fatal there) and sends list-view messages to its window; SendMessage carries them
// to the window's thread, so workers may call these concurrently. The ninth runs a batch of
// them on that thread, where each is a plain call.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>

#include "controls/list_view_unit.h"
#include "forms/unit_object.h"
#include "runtime/commands/command_args.h"
#include "runtime/entries.h"
#include "runtime/gbk_text.h"

namespace {

using cmd::Arg;
using cmd::Given;
using cmd::IntOr;

// The list view named by the first argument; null for a unit of another type, which
// the commands then leave alone.
UnitObject* ListViewUnit(int32_t count, ArgValue* args) {
    ArgValue ref = Arg(count, args, 0);
    auto* unit = reinterpret_cast<UnitObject*>(RtNotify(kNotifyResolveUnit, static_cast<intptr_t>(ref.low),
                                                        static_cast<intptr_t>(ref.high)));
    return IsListView(unit) ? unit : nullptr;
}

HWND ListViewWindow(int32_t count, ArgValue* args) {
    UnitObject* unit = ListViewUnit(count, args);
    return unit ? unit->hwnd() : nullptr;
}

LRESULT Send(HWND h, UINT message, WPARAM wParam, const void* lParam = nullptr) {
    return SendMessageW(h, message, wParam, reinterpret_cast<LPARAM>(lParam));
}

int ColumnCount(HWND h) {
    auto header = reinterpret_cast<HWND>(Send(h, LVM_GETHEADER, 0));
    return header ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

// A fresh runtime text (notification 2024) holding the GBK form of the text.
char* FreshText(const std::wstring& text) {
    std::string gbk = GbkFromWide(text.c_str(), text.size());
    if (gbk.empty()) return nullptr;
    auto* block = reinterpret_cast<char*>(RtNotify(kNotifyAlloc, static_cast<intptr_t>(gbk.size() + 1), 0));
    std::memcpy(block, gbk.c_str(), gbk.size() + 1);
    return block;
}

}  // namespace

void ListViewRowCount(ArgValue* result, int32_t count, ArgValue* args) {
    HWND h = ListViewWindow(count, args);
    cmd::SetInt(result, h ? static_cast<int32_t>(Send(h, LVM_GETITEMCOUNT, 0)) : 0);
}

void ListViewCellText(ArgValue* result, int32_t count, ArgValue* args) {
    HWND h = ListViewWindow(count, args);
    cmd::SetText(result, nullptr);
    if (!h) return;
    const int row = IntOr(count, args, 1, 0);
    const int column = IntOr(count, args, 2, 0);
    // The control copies at most size - 1 characters: a full buffer may mean more text.
    constexpr size_t kLargest = size_t{1} << 26;
    std::wstring buffer;
    int length = 0;
    for (size_t size = 512;; size *= 2) {
        buffer.assign(size, L'\0');
        LVITEMW item = {};
        item.iSubItem = column;
        item.pszText = buffer.data();
        item.cchTextMax = static_cast<int>(size);
        length = static_cast<int>(Send(h, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), &item));
        if (length < static_cast<int>(size) - 1 || size >= kLargest) break;
    }
    length = std::clamp(length, 0, static_cast<int>(buffer.size()));
    cmd::SetText(result, FreshText(buffer.substr(0, static_cast<size_t>(length))));
}

void ListViewSetCellText(ArgValue* result, int32_t count, ArgValue* args) {
    (void)result;
    HWND h = ListViewWindow(count, args);
    if (!h) return;
    std::wstring text = WideFromGbk(cmd::TextOr(count, args, 3, ""));
    LVITEMW item = {};
    item.iSubItem = IntOr(count, args, 2, 0);
    item.pszText = text.data();
    Send(h, LVM_SETITEMTEXTW, static_cast<WPARAM>(IntOr(count, args, 1, 0)), &item);
}

void ListViewSetCellImage(ArgValue* result, int32_t count, ArgValue* args) {
    (void)result;
    UnitObject* unit = ListViewUnit(count, args);
    if (!unit) return;
    HWND h = unit->hwnd();
    int image = IntOr(count, args, 3, -1);
    if (image < -1) image = -1;
    LVITEMW item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = IntOr(count, args, 1, 0);
    item.iSubItem = IntOr(count, args, 2, 0);
    item.iImage = image;
    Send(h, LVM_SETITEMW, 0, &item);
    if (image == -1) {
        // The control keeps drawing a removed image until it paints again.
        unit->RunOnWindowThread([h] {
            InvalidateRect(h, nullptr, TRUE);
            UpdateWindow(h);
        });
    }
}

void ListViewEnsureVisible(ArgValue* result, int32_t count, ArgValue* args) {
    (void)result;
    HWND h = ListViewWindow(count, args);
    if (h) SendMessageW(h, LVM_ENSUREVISIBLE, static_cast<WPARAM>(IntOr(count, args, 1, 0)), FALSE);
}

void ListViewInsertColumn(ArgValue* result, int32_t count, ArgValue* args) {
    cmd::SetInt(result, -1);
    HWND h = ListViewWindow(count, args);
    if (!h) return;
    int index = IntOr(count, args, 1, -1);
    if (index < 0) index = ColumnCount(h);
    std::wstring title = WideFromGbk(cmd::TextOr(count, args, 2, ""));
    LVCOLUMNW column = {};
    column.mask = LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.iSubItem = index;
    column.pszText = title.data();
    column.cx = std::max(IntOr(count, args, 3, 50), 0);
    if (Given(count, args, 4)) {
        int alignment = Arg(count, args, 4).Int();
        column.mask |= LVCF_FMT;
        column.fmt = alignment == 1 ? LVCFMT_CENTER : alignment == 2 ? LVCFMT_RIGHT : LVCFMT_LEFT;
    }
    if (Given(count, args, 5) && Arg(count, args, 5).Int() >= -1) {
        column.mask |= LVCF_IMAGE;
        column.iImage = Arg(count, args, 5).Int();
        if (column.iImage != -1) {
            column.mask |= LVCF_FMT;
            column.fmt |= LVCFMT_IMAGE;
        }
    }
    if (Given(count, args, 6)) {
        column.mask |= LVCF_FMT;
        if (Arg(count, args, 6).Bool()) column.fmt |= LVCFMT_BITMAP_ON_RIGHT;
    }
    cmd::SetInt(result, static_cast<int32_t>(Send(h, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index), &column)));
}

void ListViewColumnWidth(ArgValue* result, int32_t count, ArgValue* args) {
    HWND h = ListViewWindow(count, args);
    cmd::SetInt(result, h ? static_cast<int32_t>(Send(h, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(IntOr(count, args, 1, 0)))) : 0);
}

void ListViewInsertRow(ArgValue* result, int32_t count, ArgValue* args) {
    cmd::SetInt(result, -1);
    HWND h = ListViewWindow(count, args);
    if (!h) return;
    // No index appends: an index past the last row inserts at the end, and the control
    // answers with the row it made, so appending takes one message (one thread switch for
    // a worker) instead of two.
    int index = IntOr(count, args, 1, -1);
    if (index < 0) index = INT_MAX;
    std::wstring text = WideFromGbk(cmd::TextOr(count, args, 2, ""));
    LVITEMW item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE | LVIF_INDENT;
    item.iItem = index;
    item.pszText = text.data();
    int image = IntOr(count, args, 3, -1);
    item.iImage = image < -1 ? -1 : image;
    if (Given(count, args, 4)) {
        int64_t stateIndex = static_cast<int64_t>(Arg(count, args, 4).Int()) + 1;
        item.state = static_cast<UINT>((std::max<int64_t>(stateIndex, 0) * 4096) & LVIS_STATEIMAGEMASK);
    }
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.iIndent = std::max(IntOr(count, args, 5, 0), 0);
    item.lParam = IntOr(count, args, 6, 0);
    cmd::SetInt(result, static_cast<int32_t>(Send(h, LVM_INSERTITEMW, 0, &item)));
}

void ListViewRunBatch(ArgValue* result, int32_t count, ArgValue* args) {
    (void)result;
    UnitObject* unit = ListViewUnit(count, args);
    auto routine = reinterpret_cast<ListViewBatchRoutine>(cmd::PointerOr(count, args, 1, nullptr));
    if (!unit || !routine) return;
    void* parameter = cmd::PointerOr(count, args, 2, nullptr);
    unit->RunOnWindowThread([&] { routine(parameter); });
}

const CommandRoutine kListViewCommands[kListViewCommandCount] = {
    &ListViewRowCount,      &ListViewCellText,     &ListViewSetCellText, &ListViewSetCellImage,
    &ListViewEnsureVisible, &ListViewInsertColumn, &ListViewColumnWidth, &ListViewInsertRow,
    &ListViewRunBatch,
};
