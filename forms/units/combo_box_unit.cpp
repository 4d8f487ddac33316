// The combo box (type code 0x0001000E): a system "COMBOBOX"; style 0 keeps its list open,
// 1 drops it down under an edit field, 2 drops it down under a fixed field. Event 0 is a
// change of the selection.
#include "forms/type_data/combo_box_data.h"
#include "forms/described_unit.h"
#include "forms/units/core_unit_types.h"
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
    HWND EditField() const {
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
    std::wstring Text() const {
        int n = GetWindowTextLengthW(hwnd());
        std::wstring t(static_cast<size_t>(n) + 1, L'\0');
        n = GetWindowTextW(hwnd(), t.data(), n + 1);
        t.resize(static_cast<size_t>(n > 0 ? n : 0));
        return t;
    }
    void EditSelection(int* start, int* end) const {
        DWORD s = 0, e = 0;
        SendMessageW(hwnd(), CB_GETEDITSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
        *start = static_cast<int>(s);
        *end = static_cast<int>(e);
    }
    // GBK offsets; start -1 is the end of the text, length -1 the whole text from 0.
    void SetEditSelection(int32_t start, int32_t length) {
        std::wstring t = Text();
        int s = start < 0 ? static_cast<int>(t.size()) : WideIndexOf(t, start);
        int e;
        if (length < 0) {
            s = 0;
            e = static_cast<int>(t.size());
        } else {
            e = WideIndexOf(t, GbkOffsetOf(t, s) + length);
        }
        SendMessageW(hwnd(), CB_SETEDITSEL, 0, MAKELPARAM(s, e));
    }
    void Sync() {
        if (!alive()) return;
        data.items = Items();
        data.currentSelection = CurrentSelection();
        std::wstring t = Text();
        data.content = GbkFromWide(t.c_str(), t.size());
        if (data.style != 2) {
            int s = 0, e = 0;
            EditSelection(&s, &e);
            data.selectionStart = static_cast<uint32_t>(GbkOffsetOf(t, s));
            data.selectionLength = static_cast<uint32_t>(GbkOffsetOf(t, e)) - data.selectionStart;
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
                case CBN_SELCHANGE: RaiseUnitEvent(0); break;
                case CBN_SETFOCUS: RaiseUnitEvent(-7); break;
                case CBN_KILLFOCUS: RaiseUnitEvent(-8); break;
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
    auto* c = new ComboBox(&kComboBoxType, a.windowId, a.unitId);
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

int32_t ContentWritten(ComboBox& c) {
    if (c.data.style != 2) SetWindowTextGbk(c.hwnd(), c.data.content);
    return 0;
}

int32_t MaxLengthWritten(ComboBox& c) {
    c.ApplyLimit();
    return 0;
}

int32_t SelectionStartWrite(ComboBox& c, const UnitPropertyValue& v) {
    int s = 0, e = 0;
    c.EditSelection(&s, &e);
    std::wstring t = c.Text();
    c.SetEditSelection(v.integer, GbkOffsetOf(t, e) - GbkOffsetOf(t, s));
    return 0;
}

int32_t SelectionLengthWrite(ComboBox& c, const UnitPropertyValue& v) {
    int s = 0, e = 0;
    c.EditSelection(&s, &e);
    c.SetEditSelection(GbkOffsetOf(c.Text(), s), v.integer);
    return 0;
}

bool SelectedTextRead(ComboBox& c, UnitPropertyValue* out) {
    const ComboBoxData& d = c.data;
    size_t start = d.selectionStart < d.content.size() ? d.selectionStart : d.content.size();
    *out = TextValue(d.content.substr(start, d.selectionLength));
    return true;
}

// Replaces the selected part of the edit field; the caret ends after the new text.
int32_t SelectedTextWrite(ComboBox& c, const UnitPropertyValue& v) {
    if (HWND edit = c.EditField()) {
        std::wstring w = Wide(v.text);
        SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(w.c_str()));
    }
    return 0;
}

int32_t Switch14Write(ComboBox& c, const UnitPropertyValue& v) {
    if ((v.integer != 0) == (c.data.switch14 != 0)) return 0;
    c.Sync();
    c.data.switch14 = v.integer != 0 ? 1 : 0;
    return 1;
}

int32_t TextColourWritten(ComboBox& c) {
    InvalidateRect(c.hwnd(), nullptr, TRUE);
    return 0;
}

int32_t BackgroundColourWritten(ComboBox& c) {
    RedrawWindow(c.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    return 0;
}

// A new font resets the item height to the system's; the spacing is kept on top.
int32_t FontWritten(ComboBox& c) {
    c.ApplyFont(c.data.font, true);
    c.ApplySpacing(0, c.data.itemSpacing);
    return 0;
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
    if (!StoreDescribedProperty(c.data, "Items", v)) return 0;
    c.data.currentSelection = -1;
    c.FillItems();
    if (c.data.style != 2) {
        SetWindowTextGbk(c.hwnd(), c.data.content);
        c.SetEditSelection(static_cast<int32_t>(c.data.selectionStart), static_cast<int32_t>(c.data.selectionLength));
    }
    return 1;
}

const Behaviours<ComboBox> ComboBox::kBehaviours = {
    {"Style", WriteWith(&StyleWrite)},
    {"Content", Written(&ContentWritten)},
    {"MaxLength", Written(&MaxLengthWritten)},
    {"SelectionStart", WriteWith(&SelectionStartWrite)},
    {"SelectionLength", WriteWith(&SelectionLengthWrite)},
    {"SelectedText", ReadWith(&SelectedTextRead).WriteWith(&SelectedTextWrite)},
    {"Switch14", WriteWith(&Switch14Write)},
    {"ItemSpacing", WriteWith(&ItemSpacingWrite<ComboBox>)},
    {"TextColour", Written(&TextColourWritten)},
    {"BackgroundColour", Written(&BackgroundColourWritten)},
    {"Font", Written(&FontWritten)},
    {"CurrentSelection", WriteWith(&CurrentSelectionWrite)},
    {"Items", WriteWith(&ItemsWrite)},
};

const UnitOperations kComboBoxOperations = {
    &CreateComboBox, &WriteDescribedProperty<ComboBox>, &DescribedPropertyData<ComboBox>, &ReadDescribedProperty<ComboBox>,
    nullptr,         nullptr,                           &EnumerateComboBoxTexts,
};

}  // namespace

const UnitTypeInfo kComboBoxType =
    DescribedUnitType<ComboBoxData>(kTypeWindowUnit | kTypeRaisesEvents | kTypeChildEdit, &kComboBoxOperations);
