#include "controls/list_view_unit.h"

#include <windows.h>
#include <objidl.h>  // before commctrl.h, which declares the image list stream functions only after IStream
#include <commctrl.h>

#include <algorithm>

#include "controls/list_view_data.h"
#include "controls/list_view_line_breaks.h"
#include "controls/row_tip.h"
#include "forms/described_unit.h"
#include "forms/units/unit_helpers.h"
#include "runtime/gbk_text.h"

namespace {

// The program's own hand cursor, when the system has none.
constexpr WORD kHandCursorResource = 2008;

// An image list from its property block; none for a block that carries none.
win::ImageList ImageListFromBlock(const std::vector<uint8_t>& block) {
    if (!HasImageList(block)) return {};
    const size_t size = block.size() - 8;
    win::GlobalMemory memory(GlobalAlloc(GMEM_MOVEABLE, size));
    if (!memory) return {};
    void* bytes = GlobalLock(memory.get());
    if (!bytes) return {};
    std::copy(block.begin() + 8, block.end(), static_cast<uint8_t*>(bytes));
    GlobalUnlock(memory.get());
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(memory.get(), TRUE, &stream))) return {};
    (void)memory.release();  // the stream frees it
    win::ImageList list(ImageList_Read(stream));
    stream->Release();
    return list;
}

int ColumnFormat(int32_t alignment) {
    return alignment == 1 ? LVCFMT_CENTER : alignment == 2 ? LVCFMT_RIGHT : LVCFMT_LEFT;
}

// State image index (bits 12-15) of a check state: check state + 1, never below 0.
UINT CheckStateBits(int32_t checkState) {
    int64_t index = static_cast<int64_t>(checkState) + 1;
    if (index < 0) index = 0;
    return static_cast<UINT>((index * 4096) & LVIS_STATEIMAGEMASK);
}

class ListView : public UnitObject {
public:
    using UnitObject::UnitObject;
    ListViewData data;
    static const Behaviours<ListView> kBehaviours;
    // The list view frees its item and state image lists with its window, so those are
    // borrowed back from it; the header never frees its own, so that one is the unit's.
    HIMAGELIST itemImages = nullptr, stateImages = nullptr;
    win::ImageList headerImages;
    std::unique_ptr<RowTips> rowTips;  // only where the tools asked for them
    LineBreakCells lineBreakCells;     // what the cells whose text has line breaks hold

    bool IconView() const { return data.viewType <= 1; }
    bool Report() const { return data.viewType == 3; }
    bool HotTracking() const { return data.hotTracking != 0; }

    DWORD Style() const {
        static const DWORD kViews[4] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
        DWORD style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | kViews[data.viewType <= 3 ? data.viewType : 0];
        if (IconView()) {
            if (data.iconArrangement == 1) style |= LVS_ALIGNLEFT;
            if (data.autoArrange) style |= LVS_AUTOARRANGE;
            if (!data.labelWrap) style |= LVS_NOLABELWRAP;
        }
        if (Report()) {
            if (data.noColumnHeader) style |= LVS_NOCOLUMNHEADER;
            if (!data.clickableHeader) style |= LVS_NOSORTHEADER;
        }
        if (data.editableLabels) style |= LVS_EDITLABELS;
        if (data.sortOrder == 1) style |= LVS_SORTASCENDING;
        if (data.sortOrder == 2) style |= LVS_SORTDESCENDING;
        if (data.singleSelection) style |= LVS_SINGLESEL;
        if (data.alwaysShowSelection) style |= LVS_SHOWSELALWAYS;
        return style;
    }

    DWORD ExtendedStyle() const {
        DWORD ex = LVS_EX_SUBITEMIMAGES | LVS_EX_INFOTIP;
        if (Report()) {
            if (data.fullRowSelect) ex |= LVS_EX_FULLROWSELECT;
            if (data.gridLines) ex |= LVS_EX_GRIDLINES;
            if (data.headerDragDrop) ex |= LVS_EX_HEADERDRAGDROP;
        }
        if (HotTracking()) {
            ex |= LVS_EX_TRACKSELECT | LVS_EX_ONECLICKACTIVATE;
            if (data.underlineCold) ex |= LVS_EX_UNDERLINECOLD;
            if (data.underlineHot) ex |= LVS_EX_UNDERLINEHOT;
        }
        if (data.checkBoxes) ex |= LVS_EX_CHECKBOXES;
        if (data.flatScrollBars) ex |= LVS_EX_FLATSB;
        return ex;
    }

    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return SendMessageW(hwnd(), message, wParam, lParam);
    }

    void SetStyleBit(DWORD bit, bool on) {
        LONG style = GetWindowLongW(hwnd(), GWL_STYLE);
        SetWindowLongW(hwnd(), GWL_STYLE, on ? (style | static_cast<LONG>(bit)) : (style & ~static_cast<LONG>(bit)));
        InvalidateRect(hwnd(), nullptr, TRUE);
    }

    // Hands a list over to the control, which frees it with its window, and takes back the
    // one the control held when this unit had given it (a list the control made stays its own).
    HIMAGELIST HandOver(WPARAM which, win::ImageList fresh, HIMAGELIST given) {
        HIMAGELIST handed = fresh.release();
        win::ImageList back(reinterpret_cast<HIMAGELIST>(Send(LVM_SETIMAGELIST, which, reinterpret_cast<LPARAM>(handed))));
        if (!back || back.get() != given) (void)back.release();
        return handed;
    }
    void ApplyItemImages() {
        itemImages = HandOver(data.viewType == 0 ? LVSIL_NORMAL : LVSIL_SMALL, ImageListFromBlock(data.itemImageList),
                              itemImages);
    }
    void ApplyStateImages() {
        win::ImageList fresh = ImageListFromBlock(data.stateImageList);
        if (!fresh && !stateImages) return;  // leave the check boxes' own list alone
        stateImages = HandOver(LVSIL_STATE, std::move(fresh), stateImages);
    }
    void ApplyHeaderImages() {
        auto header = reinterpret_cast<HWND>(Send(LVM_GETHEADER));
        win::ImageList fresh = ImageListFromBlock(data.headerImageList);
        if (header) SendMessageW(header, HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(fresh.get()));
        headerImages = std::move(fresh);  // the header's previous list goes now that it shows the new one
    }

    void ApplyColours() {
        Send(LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(ResolveColour(data.textColour, COLOR_WINDOWTEXT)));
        Send(LVM_SETTEXTBKCOLOR, 0,
             static_cast<LPARAM>(IsColourMarker(data.textBackgroundColour) ? CLR_NONE : data.textBackgroundColour));
        Send(LVM_SETBKCOLOR, 0, static_cast<LPARAM>(ResolveColour(data.backgroundColour, COLOR_WINDOW)));
        InvalidateRect(hwnd(), nullptr, TRUE);
    }

    void ApplyBorder() {
        DWORD style = static_cast<DWORD>(GetWindowLongW(hwnd(), GWL_STYLE)) & ~static_cast<DWORD>(WS_BORDER);
        DWORD ex = static_cast<DWORD>(GetWindowLongW(hwnd(), GWL_EXSTYLE)) &
                   ~static_cast<DWORD>(WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME | WS_EX_STATICEDGE);
        BorderStyles(data.border, &style, &ex);
        SetWindowLongW(hwnd(), GWL_STYLE, static_cast<LONG>(style));
        SetWindowLongW(hwnd(), GWL_EXSTYLE, static_cast<LONG>(ex));
        SetWindowPos(hwnd(), nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }

    void ApplyHotCursor() {
        if (!data.handCursor) return;
        HCURSOR cursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_HAND));
        if (!cursor) cursor = LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kHandCursorResource));
        if (!cursor) cursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        Send(LVM_SETHOTCURSOR, 0, reinterpret_cast<LPARAM>(cursor));
    }

    void InsertFormColumns() {
        for (size_t i = 0; i < data.columns.size(); ++i) {
            const ListViewColumn& c = data.columns[i];
            std::wstring title = WideFromGbk(c.title.c_str(), c.title.size());
            LVCOLUMNW column = {};
            column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM | LVCF_IMAGE;
            column.fmt = ColumnFormat(c.alignment) | (c.imageOnRight ? LVCFMT_BITMAP_ON_RIGHT : 0) |
                         (c.image != -1 ? LVCFMT_IMAGE : 0);
            column.cx = std::max(c.width, 0);
            column.pszText = title.data();
            column.iSubItem = static_cast<int>(i);
            column.iImage = c.image;
            Send(LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
        }
    }

    void InsertFormRows() {
        Send(LVM_DELETEALLITEMS);
        for (const ListViewRow& row : data.rows) {
            if (row.empty()) continue;
            const ListViewCell& first = row[0];
            std::wstring text = WideFromGbk(first.text.c_str(), first.text.size());
            LVITEMW item = {};
            item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE | LVIF_INDENT;
            item.iItem = static_cast<int>(Send(LVM_GETITEMCOUNT));
            item.pszText = text.data();
            item.iImage = first.image < -1 ? -1 : first.image;
            item.state = CheckStateBits(first.checkState);
            item.stateMask = LVIS_STATEIMAGEMASK;
            item.iIndent = std::max(first.indent, 0);
            item.lParam = first.data;
            int index = static_cast<int>(Send(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
            if (index < 0) continue;
            for (size_t k = 1; k < row.size(); ++k) {
                std::wstring cell = WideFromGbk(row[k].text.c_str(), row[k].text.size());
                LVITEMW sub = {};
                sub.mask = LVIF_TEXT | LVIF_IMAGE;
                sub.iItem = index;
                sub.iSubItem = static_cast<int>(k);
                sub.pszText = cell.data();
                sub.iImage = row[k].image < -1 ? -1 : row[k].image;
                Send(LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&sub));
            }
        }
    }

    void ApplySelection() {
        if (!data.singleSelection) return;
        LVITEMW state = {};
        state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        if (data.currentSelection >= 0) {
            state.state = LVIS_SELECTED | LVIS_FOCUSED;
            Send(LVM_SETITEMSTATE, static_cast<WPARAM>(data.currentSelection), reinterpret_cast<LPARAM>(&state));
        } else {
            state.stateMask = LVIS_SELECTED;
            Send(LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
        }
    }

protected:
    bool OnReflected(UINT message, WPARAM, LPARAM lParam, LRESULT* result) override {
        if (message != WM_NOTIFY) return false;
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header->code != LVN_GETDISPINFOW && header->code != LVN_GETDISPINFOA) return false;
        // An image index of -1 reads to the control as "ask the parent"; the answer is: none.
        auto* info = reinterpret_cast<NMLVDISPINFOW*>(lParam);
        if (info->item.mask & LVIF_IMAGE) info->item.iImage = I_IMAGENONE;
        *result = 0;
        return true;
    }

    // The row tips see the pointer's moves before the control; a record they answer.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (rowTips && rowTips->OnListMessage(message, wParam, lParam)) return 0;
        // A sorted list places rows by their text as the control holds it, so it keeps the
        // texts as written (line breaks drawn as the control draws them).
        if (data.sortOrder == 0) {
            const ListControlCall control = {
                [](void* self, UINT m, WPARAM w, LPARAM l) {
                    return static_cast<ListView*>(self)->UnitObject::WindowProc(m, w, l);
                },
                this};
            LRESULT result = 0;
            if (HandleCellTextMessage(lineBreakCells, control, message, wParam, lParam, &result)) return result;
        }
        return UnitObject::WindowProc(message, wParam, lParam);
    }

    void OnFinalDestroy() override {
        headerImages.reset();
        rowTips.reset();
    }
};

UnitObject* CreateListView(const UnitCreateArgs& a) {
    std::optional<ListViewData> d = ListViewData::Parse(a.typeData, a.typeDataLength);
    if (!d) return nullptr;
    auto* v = new ListView(&kListViewType, a.windowId, a.unitId);
    v->data = std::move(*d);
    if (!v->CreateSubclassedWindow(0, WC_LISTVIEWW, L"", v->Style() | a.styleBits, a)) {
        delete v;
        return nullptr;
    }
    v->Send(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LPARAM>(v->ExtendedStyle()));
    v->ApplyFont(v->data.font, false);
    v->ApplyItemImages();
    v->ApplyStateImages();
    if (v->Report()) v->ApplyHeaderImages();
    v->ApplyColours();
    v->ApplyBorder();
    if (v->HotTracking()) v->ApplyHotCursor();
    if (v->Report()) v->InsertFormColumns();
    v->InsertFormRows();
    v->ApplySelection();
    return v;
}

void EnumerateListViewTexts(const uint8_t* typeData, uint32_t length, TextCallback callback, void* context) {
    std::optional<ListViewData> d = ListViewData::Parse(typeData, length);
    if (!d) return;
    for (const ListViewColumn& c : d->columns) EnumerateText(callback, context, c.title);
    for (const ListViewRow& row : d->rows) {
        for (const ListViewCell& cell : row) {
            EnumerateText(callback, context, cell.text);
            EnumerateText(callback, context, cell.tip);
        }
    }
    EnumerateFontFace(callback, context, d->font);
}

// Settings that only a new window can apply ask for the rebuild when the value changes
// (OnlyWhenChanged) and where they show: a rebuild to the same value would show the same
// window but drop the rows the commands added.
int32_t RebuildInIconViews(ListView& v) { return v.IconView() ? 1 : 0; }
int32_t RebuildInReportView(ListView& v) { return v.Report() ? 1 : 0; }
int32_t RebuildWhileHotTracking(ListView& v) { return v.HotTracking() ? 1 : 0; }

int32_t BorderWritten(ListView& v) {
    v.ApplyBorder();
    return 0;
}

int32_t ColoursWritten(ListView& v) {
    v.ApplyColours();
    return 0;
}

int32_t FontWritten(ListView& v) {
    v.ApplyFont(v.data.font, true);
    return 0;
}

int32_t LabelWrapWritten(ListView& v) {
    if (v.IconView()) v.SetStyleBit(LVS_NOLABELWRAP, v.data.labelWrap == 0);
    return 0;
}

int32_t NoColumnHeaderWritten(ListView& v) {
    if (v.Report()) v.SetStyleBit(LVS_NOCOLUMNHEADER, v.data.noColumnHeader != 0);
    return 0;
}

int32_t HeaderImageListWritten(ListView& v) {
    if (v.Report()) v.ApplyHeaderImages();
    return 0;
}

int32_t ItemImageListWritten(ListView& v) {
    v.ApplyItemImages();
    return 0;
}

int32_t StateImageListWritten(ListView& v) {
    v.ApplyStateImages();
    return 0;
}

int32_t CurrentSelectionWritten(ListView& v) {
    v.ApplySelection();
    return 0;
}

// The selection as the control has it.
bool CurrentSelectionRead(ListView& v, UnitPropertyValue* out) {
    *out = IntValue(v.Send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    return true;
}

int32_t RowsWritten(ListView& v) {
    v.InsertFormRows();
    return 0;
}

const Behaviours<ListView> ListView::kBehaviours = {
    {"Border", Written(&BorderWritten)},
    {"TextColour", Written(&ColoursWritten)},
    {"TextBackgroundColour", Written(&ColoursWritten)},
    {"BackgroundColour", Written(&ColoursWritten)},
    {"Font", Written(&FontWritten)},
    {"ViewType", Rebuilds<ListView>().OnlyWhenChanged()},
    {"IconArrangement", Written(&RebuildInIconViews).OnlyWhenChanged()},
    {"AutoArrange", Written(&RebuildInIconViews).OnlyWhenChanged()},
    {"LabelWrap", Written(&LabelWrapWritten)},
    {"Columns", Written(&RebuildInReportView)},
    {"NoColumnHeader", Written(&NoColumnHeaderWritten)},
    {"HeaderImageList", Written(&HeaderImageListWritten)},
    {"ClickableHeader", Written(&RebuildInReportView).OnlyWhenChanged()},
    {"FullRowSelect", Written(&RebuildInReportView).OnlyWhenChanged()},
    {"GridLines", Written(&RebuildInReportView).OnlyWhenChanged()},
    {"HeaderDragDrop", Written(&RebuildInReportView).OnlyWhenChanged()},
    {"ItemImageList", Written(&ItemImageListWritten)},
    {"StateImageList", Written(&StateImageListWritten)},
    {"HotTracking", Rebuilds<ListView>().OnlyWhenChanged()},
    {"HandCursor", Written(&RebuildWhileHotTracking).OnlyWhenChanged()},
    {"UnderlineCold", Written(&RebuildWhileHotTracking).OnlyWhenChanged()},
    {"UnderlineHot", Written(&RebuildWhileHotTracking).OnlyWhenChanged()},
    {"EditableLabels", Rebuilds<ListView>().OnlyWhenChanged()},
    {"SortOrder", Rebuilds<ListView>().OnlyWhenChanged()},
    {"CheckBoxes", Rebuilds<ListView>().OnlyWhenChanged()},
    {"FlatScrollBars", Rebuilds<ListView>().OnlyWhenChanged()},
    {"SingleSelection", Rebuilds<ListView>().OnlyWhenChanged()},
    {"CurrentSelection", Written(&CurrentSelectionWritten).ReadWith(&CurrentSelectionRead)},
    {"AlwaysShowSelection", Rebuilds<ListView>().OnlyWhenChanged()},
    {"Rows", Written(&RowsWritten)},
};

const UnitOperations kListViewOperations = {
    &CreateListView, &WriteDescribedProperty<ListView>, &DescribedPropertyData<ListView>, &ReadDescribedProperty<ListView>,
    nullptr,         nullptr,                           &EnumerateListViewTexts,
};

}  // namespace

const UnitTypeInfo kListViewType = DescribedUnitType<ListViewData>(kTypeWindowUnit | kTypeRaisesEvents, &kListViewOperations);

bool AttachRowTips(intptr_t listWindow, std::unique_ptr<RowTipSource> source) {
    UnitObject* unit = UnitObject::FromHandle(reinterpret_cast<HWND>(listWindow));
    if (!unit || unit->type() != &kListViewType) return false;
    static_cast<ListView*>(unit)->rowTips = std::make_unique<RowTips>(listWindow, std::move(source));
    return true;
}

void SendRowRecord(intptr_t listWindow, int32_t row, const void* record) {
    SendMessageW(reinterpret_cast<HWND>(listWindow), RowTips::RecordMessage(), static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(record));
}
