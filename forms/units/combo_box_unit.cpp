// The combo box: a system "COMBOBOX"; style 0 keeps its list open, 1 drops it down under an
// edit field, 2 drops it down under a fixed field. It raises SelectionChanged.
#include "forms/type_data/combo_box_data.h"
#include "forms/described_unit.h"
#include "forms/units/text_selection.h"
#include "forms/units/unit_helpers.h"
#include "runtime/gbk_text.h"

namespace {

// Room for the dropped list below the field of the drop-down styles: the stored height is
// the field's own.
constexpr int kDropDownExtra = 160;

std::wstring Wide(const std::string& s) { return WideFromGbk(s.c_str(), s.size()); }

class ComboBox : public UnitObject {
public:
    ComboBox(const UnitTypeInfo* type, uint32_t windowId, uint32_t unitId) : UnitObject(type, windowId, unitId) {
        ownFocusEvents_ = false;  // the focus lies in the edit field: CBN_SETFOCUS / CBN_KILLFOCUS
    }
    ComboBoxData data;
    static const Behaviours<ComboBox> kBehaviours;

    void BeforeRead() { Sync(); }

    DWORD Style() const {
        DWORD style = WS_CHILD | WS_CLIPSIBLINGS | WS_VSCROLL | CBS_AUTOHSCROLL;
        style |= data.style == 0 ? CBS_SIMPLE : (data.style == 2 ? CBS_DROPDOWNLIST : CBS_DROPDOWN);
        return style;
    }
    // The edit field, which holds the selection; a fixed field (style 2) has none.
    HWND SelectionField() const {
        if (data.style == 2) return nullptr;
        COMBOBOXINFO info = {};
        info.cbSize = sizeof info;
        return GetComboBoxInfo(hwnd(), &info) ? info.hwndItem : nullptr;
    }
    std::vector<std::string> Items() const {
        std::vector<std::string> items;
        LRESULT count = SendMessageW(hwnd(), CB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            LRESULT n = SendMessageW(hwnd(), CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
            std::wstring t(static_cast<size_t>(n > 0 ? n : 0) + 1, L'\0');
            n = SendMessageW(hwnd(), CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(t.data()));
            items.push_back(GbkFromWide(t.c_str(), static_cast<size_t>(n > 0 ? n : 0)));
        }
        return items;
    }
    void FillItems() {
        SendMessageW(hwnd(), CB_RESETCONTENT, 0, 0);
        for (const std::string& item : data.items)
            SendMessageW(hwnd(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(item).c_str()));
    }
    void SelectItem(int32_t index) {
        LRESULT count = SendMessageW(hwnd(), CB_GETCOUNT, 0, 0);
        // Above the last index selects the last item, below -1 nothing.
        if (index >= count) index = static_cast<int32_t>(count) - 1;
        if (index < -1) index = -1;
        SendMessageW(hwnd(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
    int32_t CurrentSelection() const {
        LRESULT sel = SendMessageW(hwnd(), CB_GETCURSEL, 0, 0);
        return sel < 0 ? -1 : static_cast<int32_t>(sel);
    }
    // The item height is the system's plus the extra spacing: the current height minus the
    // old spacing plus the new one.
    void ApplySpacing(uint32_t oldSpacing, uint32_t newSpacing) {
        LRESULT height = SendMessageW(hwnd(), CB_GETITEMHEIGHT, 0, 0);
        if (height < 0) return;
        int64_t h = height - static_cast<int64_t>(oldSpacing) + static_cast<int64_t>(newSpacing);
        LPARAM wanted = static_cast<LPARAM>(h < 1 ? 1 : (h > 255 ? 255 : h));
        SendMessageW(hwnd(), CB_SETITEMHEIGHT, 0, wanted);
        // Some platforms take the item height of a combo box only when it draws its own
        // items; its list box takes it in every case.
        if (SendMessageW(hwnd(), CB_GETITEMHEIGHT, 0, 0) != wanted) {
            COMBOBOXINFO info = {};
            info.cbSize = sizeof info;
            if (GetComboBoxInfo(hwnd(), &info) && info.hwndList) SendMessageW(info.hwndList, LB_SETITEMHEIGHT, 0, wanted);
        }
    }
    void ApplyLimit() {
        if (data.style != 2) SendMessageW(hwnd(), CB_LIMITTEXT, data.maxLength, 0);
    }
    void ApplyContent() {
        if (data.style != 2) SetWindowTextGbk(hwnd(), data.content);
    }
    void Repaint() { InvalidateRect(hwnd(), nullptr, TRUE); }
    void RepaintWithField() { RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN); }
    // A new font resets the item height to the system's; the spacing is kept on top.
    void ApplyStoredFont() {
        ApplyFont(data.font, true);
        ApplySpacing(0, data.itemSpacing);
    }
    void Sync() {
        if (!alive()) return;
        data.items = Items();
        data.currentSelection = CurrentSelection();
        data.content = WindowTextGbk(hwnd());
        if (data.style != 2) {
            int32_t start = 0, length = 0;
            TextSelection(SelectionField()).Get(&start, &length);
            data.selectionStart = static_cast<uint32_t>(start);
            data.selectionLength = static_cast<uint32_t>(length);
        }
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
            LRESULT r = 0;
            if (Colours(message, wParam, &r)) return r;
        }
        return UnitObject::WindowProc(message, wParam, lParam);
    }

    bool OnReflected(UINT message, WPARAM wParam, LPARAM, LRESULT* result) override {
        if (message == WM_COMMAND) {
            switch (HIWORD(wParam)) {
                case CBN_SELCHANGE: Raise(ComboBoxData::SelectionChanged); break;
                case CBN_SETFOCUS: FocusChanged(true); break;
                case CBN_KILLFOCUS: FocusChanged(false); break;
                default: break;
            }
            return false;
        }
        return Colours(message, wParam, result);
    }

    bool Colours(UINT message, WPARAM wParam, LRESULT* result) {
        if (message != WM_CTLCOLOREDIT && message != WM_CTLCOLORLISTBOX && message != WM_CTLCOLORSTATIC) return false;
        auto dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, ResolveColour(data.textColour, COLOR_WINDOWTEXT));
        COLORREF background = ResolveColour(data.backgroundColour, COLOR_WINDOW);
        SetBkColor(dc, background);
        *result = reinterpret_cast<LRESULT>(SolidBrush(background));
        return true;
    }
};

UnitObject* CreateComboBox(const UnitCreateArgs& a) {
    std::optional<ComboBoxData> d = ComboBoxData::Parse(a.typeData, a.typeDataLength);
    if (!d) return nullptr;
    auto* c = new ComboBox(a.type, a.windowId, a.unitId);
    c->data = std::move(*d);
    UnitCreateArgs placed = a;
    if (c->data.style != 0) placed.height += kDropDownExtra;
    if (!c->CreateSubclassedWindow(0, L"COMBOBOX", nullptr, c->Style() | a.styleBits, placed)) {
        delete c;
        return nullptr;
    }
    c->ApplyFont(c->data.font, false);
    c->ApplySpacing(0, c->data.itemSpacing);
    c->FillItems();
    c->ApplyLimit();
    if (c->data.style != 2 && !c->data.content.empty()) SetWindowTextGbk(c->hwnd(), c->data.content);
    if (c->data.currentSelection >= 0) c->SelectItem(c->data.currentSelection);
    return c;
}

void EnumerateComboBoxTexts(const uint8_t* data, uint32_t length, TextCallback callback, void* context) {
    std::optional<ComboBoxData> d = ComboBoxData::Parse(data, length);
    if (!d) return;
    EnumerateText(callback, context, d->content);
    for (const std::string& item : d->items) EnumerateText(callback, context, item);
    EnumerateFontFace(callback, context, d->font);
}

// A new style needs a new window. Style 0 shows its list on a white ground; the drop-down
// styles use the default.
int32_t StyleWrite(ComboBox& c, const UnitPropertyValue& v) {
    ComboBoxData& d = c.data;
    c.Sync();
    uint32_t style = static_cast<uint32_t>(Clamp(v.integer, 0, 2));
    if (style == d.style) return 0;
    if (d.style == 0 && d.backgroundColour == 0x00FFFFFF)
        d.backgroundColour = kColourMarker;
    else if (style == 0 && IsColourMarker(d.backgroundColour))
        d.backgroundColour = 0x00FFFFFF;
    d.style = style;
    return 1;
}

int32_t Switch14Write(ComboBox& c, const UnitPropertyValue& v) {
    if ((v.integer != 0) == (c.data.switch14 != 0)) return 0;
    c.Sync();
    c.data.switch14 = v.integer != 0 ? 1 : 0;
    return 1;
}

int32_t CurrentSelectionWrite(ComboBox& c, const UnitPropertyValue& v) {
    c.SelectItem(v.integer);
    c.data.currentSelection = c.CurrentSelection();
    return 0;
}

// New items, none of them selected, and then a new window. The rebuild takes the unit's
// state back from its window, so the window shows the new items first; emptying its list
// empties the edit field too, whose text and selection are put back.
int32_t ItemsWrite(ComboBox& c, const UnitPropertyValue& v) {
    c.Sync();
    if (!StoreDescribedProperty(c.data, PropertyIndex<ComboBoxData>("Items"), v)) return 0;
    c.data.currentSelection = -1;
    c.FillItems();
    if (c.data.style != 2) {
        c.ApplyContent();
        TextSelection(c.SelectionField())
            .Set(static_cast<int32_t>(c.data.selectionStart), static_cast<int32_t>(c.data.selectionLength));
    }
    return 1;
}

using Selection = SelectionBehaviours<ComboBox>;

const Behaviours<ComboBox> ComboBox::kBehaviours = {
    {"Style", WriteWith(&StyleWrite)},
    {"Content", Applies<&ComboBox::ApplyContent>()},
    {"MaxLength", Applies<&ComboBox::ApplyLimit>()},
    {"SelectionStart", WriteWith(&Selection::StartWrite)},
    {"SelectionLength", WriteWith(&Selection::LengthWrite)},
    {"SelectedText", ReadWith(&Selection::SelectedTextRead).WriteWith(&Selection::SelectedTextWrite)},
    {"Switch14", WriteWith(&Switch14Write)},
    {"ItemSpacing", WriteWith(&ItemSpacingWrite<ComboBox>)},
    {"TextColour", Applies<&ComboBox::Repaint>()},
    {"BackgroundColour", Applies<&ComboBox::RepaintWithField>()},
    {"Font", Applies<&ComboBox::ApplyStoredFont>()},
    {"CurrentSelection", WriteWith(&CurrentSelectionWrite)},
    {"Items", WriteWith(&ItemsWrite)},
};

}  // namespace

extern const UnitOperations kComboBoxOperations =
    DescribedOperations<ComboBox>({.create = &CreateComboBox, .enumerateTexts = &EnumerateComboBoxTexts});
