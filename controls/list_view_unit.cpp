#include "controls/list_view_unit.h"

#include <windows.h>
#include <objidl.h>  // before commctrl.h, which declares the image list stream functions only after IStream
#include <commctrl.h>

#include <algorithm>

#include "controls/list_view_data.h"
#include "forms/unit_object.h"
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
    // The list view frees its item and state image lists with its window, so those are
    // borrowed back from it; the header never frees its own, so that one is the unit's.
    HIMAGELIST itemImages = nullptr, stateImages = nullptr;
    win::ImageList headerImages;

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

    void OnFinalDestroy() override { headerImages.reset(); }
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

// Stores a setting that only a new window can apply; asks for the rebuild only when the
// value changes and `applies`. A rebuild to the same value would show the same window but
// drop the rows the commands added.
int32_t RebuildingWrite(uint32_t* field, uint32_t value, bool applies) {
    if (*field == value) return 0;
    *field = value;
    return applies ? 1 : 0;
}

int32_t WriteListViewProperty(UnitObject* unit, int32_t index, const UnitPropertyValue& p) {
    auto* v = static_cast<ListView*>(unit);
    ListViewData& d = v->data;
    const auto u = static_cast<uint32_t>(p.integer);
    const bool on = p.integer != 0;
    switch (index + kCommonPropertyCount) {
        case 8: d.border = static_cast<uint32_t>(Clamp(p.integer, 0, 5)); v->ApplyBorder(); return 0;
        case 9: d.textColour = u; v->ApplyColours(); return 0;
        case 10: d.textBackgroundColour = u; v->ApplyColours(); return 0;
        case 11: d.backgroundColour = u; v->ApplyColours(); return 0;
        case 12: d.font = p.bytes; v->ApplyFont(d.font, true); return 0;
        case 13: return RebuildingWrite(&d.viewType, static_cast<uint32_t>(Clamp(p.integer, 0, 3)), true);
        case 14: return RebuildingWrite(&d.iconArrangement, static_cast<uint32_t>(Clamp(p.integer, 0, 1)), v->IconView());
        case 15: return RebuildingWrite(&d.autoArrange, u, v->IconView());
        case 16:
            d.labelWrap = u;
            if (v->IconView()) v->SetStyleBit(LVS_NOLABELWRAP, !on);
            return 0;
        case 17: {
            std::optional<std::vector<ListViewColumn>> columns = ListViewData::ParseColumns(p.bytes.data(), p.bytes.size());
            if (!columns) return 0;
            d.columns = std::move(*columns);
            return v->Report() ? 1 : 0;
        }
        case 18:
            d.noColumnHeader = u;
            if (v->Report()) v->SetStyleBit(LVS_NOCOLUMNHEADER, on);
            return 0;
        case 19: d.headerImageList = p.bytes; if (v->Report()) v->ApplyHeaderImages(); return 0;
        case 20: return RebuildingWrite(&d.clickableHeader, u, v->Report());
        case 21: return RebuildingWrite(&d.fullRowSelect, u, v->Report());
        case 22: return RebuildingWrite(&d.gridLines, u, v->Report());
        case 23: return RebuildingWrite(&d.headerDragDrop, u, v->Report());
        case 24: d.itemImageList = p.bytes; v->ApplyItemImages(); return 0;
        case 25: d.stateImageList = p.bytes; v->ApplyStateImages(); return 0;
        case 26: return RebuildingWrite(&d.hotTracking, u, true);
        case 27: return RebuildingWrite(&d.handCursor, u, v->HotTracking());
        case 28: return RebuildingWrite(&d.underlineCold, u, v->HotTracking());
        case 29: return RebuildingWrite(&d.underlineHot, u, v->HotTracking());
        case 30: return RebuildingWrite(&d.editableLabels, u, true);
        case 31: return RebuildingWrite(&d.sortOrder, static_cast<uint32_t>(Clamp(p.integer, 0, 2)), true);
        case 32: return RebuildingWrite(&d.checkBoxes, u, true);
        case 33: return RebuildingWrite(&d.flatScrollBars, u, true);
        case 34: return RebuildingWrite(&d.singleSelection, u, true);
        case 35: d.currentSelection = p.integer < -1 ? -1 : p.integer; v->ApplySelection(); return 0;
        case 36: return RebuildingWrite(&d.alwaysShowSelection, u, true);
        case 37: {
            std::optional<std::vector<ListViewRow>> rows = ListViewData::ParseRows(p.bytes.data(), p.bytes.size());
            if (!rows) return 0;
            d.rows = std::move(*rows);
            v->InsertFormRows();
            return 0;
        }
        default: return 0;
    }
}

bool ReadListViewProperty(UnitObject* unit, int32_t index, UnitPropertyValue* out) {
    auto* v = static_cast<ListView*>(unit);
    const ListViewData& d = v->data;
    switch (index + kCommonPropertyCount) {
        case 8: *out = IntValue(d.border); return true;
        case 9: *out = IntValue(d.textColour); return true;
        case 10: *out = IntValue(d.textBackgroundColour); return true;
        case 11: *out = IntValue(d.backgroundColour); return true;
        case 12: *out = BytesValue(d.font); return true;
        case 13: *out = IntValue(d.viewType); return true;
        case 14: *out = IntValue(d.iconArrangement); return true;
        case 15: *out = IntValue(d.autoArrange); return true;
        case 16: *out = IntValue(d.labelWrap); return true;
        case 17: *out = BytesValue(ListViewData::WriteColumns(d.columns)); return true;
        case 18: *out = IntValue(d.noColumnHeader); return true;
        case 19: *out = BytesValue(d.headerImageList); return true;
        case 20: *out = IntValue(d.clickableHeader); return true;
        case 21: *out = IntValue(d.fullRowSelect); return true;
        case 22: *out = IntValue(d.gridLines); return true;
        case 23: *out = IntValue(d.headerDragDrop); return true;
        case 24: *out = BytesValue(d.itemImageList); return true;
        case 25: *out = BytesValue(d.stateImageList); return true;
        case 26: *out = IntValue(d.hotTracking); return true;
        case 27: *out = IntValue(d.handCursor); return true;
        case 28: *out = IntValue(d.underlineCold); return true;
        case 29: *out = IntValue(d.underlineHot); return true;
        case 30: *out = IntValue(d.editableLabels); return true;
        case 31: *out = IntValue(d.sortOrder); return true;
        case 32: *out = IntValue(d.checkBoxes); return true;
        case 33: *out = IntValue(d.flatScrollBars); return true;
        case 34: *out = IntValue(d.singleSelection); return true;
        case 35: *out = IntValue(v->Send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED)); return true;
        case 36: *out = IntValue(d.alwaysShowSelection); return true;
        case 37: *out = BytesValue(ListViewData::WriteRows(d.rows)); return true;
        case 38: *out = TextValue(""); return true;
        default: return false;
    }
}

std::vector<uint8_t> ListViewPropertyData(UnitObject* unit) { return ListViewData::Write(static_cast<ListView*>(unit)->data); }

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

}  // namespace

namespace {

using P = PropertyType;

const PropertyInfo kListViewProperties[39] = {
    MG_COMMON_PROPERTIES,
    {"Border", P::kPick, 0},
    {"TextColour", P::kColour, 0},
    {"TextBackgroundColour", P::kColour, 0},
    {"BackgroundColour", P::kBackgroundColour, 0},
    {"Font", P::kFont, 0},
    {"ViewType", P::kPick, 0},
    {"IconArrangement", P::kPick, 0},
    {"AutoArrange", P::kSwitch, 0},
    {"LabelWrap", P::kSwitch, 0},
    {"Columns", P::kCustomData, 0},
    {"NoColumnHeader", P::kSwitch, 0},
    {"HeaderImageList", P::kImageList, 0},
    {"ClickableHeader", P::kSwitch, 0},
    {"FullRowSelect", P::kSwitch, 0},
    {"GridLines", P::kSwitch, 0},
    {"HeaderDragDrop", P::kSwitch, 0},
    {"ItemImageList", P::kImageList, 0},
    {"StateImageList", P::kImageList, 0},
    {"HotTracking", P::kSwitch, 0},
    {"HandCursor", P::kSwitch, 0},
    {"UnderlineCold", P::kSwitch, 0},
    {"UnderlineHot", P::kSwitch, 0},
    {"EditableLabels", P::kSwitch, 0},
    {"SortOrder", P::kPick, 0},
    {"CheckBoxes", P::kSwitch, 0},
    {"FlatScrollBars", P::kSwitch, 0},
    {"SingleSelection", P::kSwitch, 0},
    {"CurrentSelection", P::kInteger, 0},
    {"AlwaysShowSelection", P::kSwitch, 0},
    {"Rows", P::kCustomData, 0},
    {"Text38", P::kText, kPropertyReadOnlyAtRunTime},
};

AnyOperation ListViewInterface(int32_t number) {
    switch (number) {
        case kInterfaceCreateUnit: return AsOperation(&CreateListView);
        case kInterfaceWriteProperty: return AsOperation(&WriteListViewProperty);
        case kInterfaceGetAllPropertyData: return AsOperation(&ListViewPropertyData);
        case kInterfaceReadProperty: return AsOperation(&ReadListViewProperty);
        case kInterfaceEnumerateTexts: return AsOperation(&EnumerateListViewTexts);
        default: return nullptr;
    }
}

}  // namespace

const UnitTypeInfo kListViewType = {
    "超级列表框", "ListView", kTypeWindowUnit | kTypeRaisesEvents, 39, kListViewProperties, &ListViewInterface,
};
