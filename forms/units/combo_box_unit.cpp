// The combo box (type code 0x0001000E): a system "COMBOBOX"; style 0 keeps its list open,
// 1 drops it down under an edit field, 2 drops it down under a fixed field. Event 0 is a
// change of the selection.
#include "forms/type_data/combo_box_data.h"
#include "forms/unit_object.h"
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

int32_t WriteComboBoxProperty(UnitObject* unit, int32_t index, const UnitPropertyValue& v) {
    auto* c = static_cast<ComboBox*>(unit);
    ComboBoxData& d = c->data;
    auto u = static_cast<uint32_t>(v.integer);
    switch (index) {
        case 0: {
            c->Sync();
            uint32_t style = static_cast<uint32_t>(Clamp(v.integer, 0, 2));
            if (style == d.style) return 0;
            // Style 0 shows its list on a white ground; the drop-down styles use the default.
            if (d.style == 0 && d.backgroundColour == 0x00FFFFFF) d.backgroundColour = kColourMarker;
            else if (style == 0 && IsColourMarker(d.backgroundColour)) d.backgroundColour = 0x00FFFFFF;
            d.style = style;
            return 1;
        }
        case 1:
            d.content = v.text;
            if (d.style != 2) SetWindowTextGbk(c->hwnd(), v.text);
            return 0;
        case 2: d.maxLength = static_cast<uint32_t>(Clamp(v.integer, 0, 32767)); c->ApplyLimit(); return 0;
        case 3: {
            int s = 0, e = 0;
            c->EditSelection(&s, &e);
            std::wstring t = c->Text();
            c->SetEditSelection(v.integer, GbkOffsetOf(t, e) - GbkOffsetOf(t, s));
            return 0;
        }
        case 4: {
            int s = 0, e = 0;
            c->EditSelection(&s, &e);
            c->SetEditSelection(GbkOffsetOf(c->Text(), s), v.integer);
            return 0;
        }
        case 5:
            // Replaces the selected part of the edit field; the caret ends after the new text.
            if (HWND edit = c->EditField()) {
                std::wstring w = Wide(v.text);
                SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(w.c_str()));
            }
            return 0;
        case 6:
            if ((u != 0) == (d.switch14 != 0)) return 0;
            c->Sync();
            d.switch14 = u ? 1 : 0;
            return 1;
        case 7: {
            uint32_t spacing = static_cast<uint32_t>(Clamp(v.integer, 0, 32767));
            c->ApplySpacing(d.itemSpacing, spacing);
            d.itemSpacing = spacing;
            InvalidateRect(c->hwnd(), nullptr, TRUE);
            return 0;
        }
        case 8: d.textColour = u; InvalidateRect(c->hwnd(), nullptr, TRUE); return 0;
        case 9: d.backgroundColour = u; RedrawWindow(c->hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN); return 0;
        case 10: {
            // A new font resets the item height to the system's; the spacing is kept on top.
            d.font = v.bytes;
            c->ApplyFont(d.font, true);
            c->ApplySpacing(0, d.itemSpacing);
            return 0;
        }
        case 11: c->SelectItem(v.integer); d.currentSelection = c->CurrentSelection(); return 0;
        case 12: {
            TemplateCursor cursor(v.bytes.data(), v.bytes.size());
            std::vector<std::string> items = v.bytes.empty() ? std::vector<std::string>{} : ReadItemList(cursor);
            c->Sync();
            d.items = std::move(items);
            d.currentSelection = -1;
            return 1;
        }
        case 13: d.itemValues = v.bytes; return 0;
        case 14: d.dataSource = v.text; return 0;
        case 15: d.dataColumn = v.text; return 0;
        case 16: d.switch24 = u; return 0;
        default: return 0;
    }
}

bool ReadComboBoxProperty(UnitObject* unit, int32_t index, UnitPropertyValue* out) {
    auto* c = static_cast<ComboBox*>(unit);
    c->Sync();
    const ComboBoxData& d = c->data;
    switch (index) {
        case 0: *out = IntValue(d.style); return true;
        case 1: *out = TextValue(d.content); return true;
        case 2: *out = IntValue(d.maxLength); return true;
        case 3: *out = IntValue(d.selectionStart); return true;
        case 4: *out = IntValue(d.selectionLength); return true;
        case 5: {
            size_t start = d.selectionStart < d.content.size() ? d.selectionStart : d.content.size();
            *out = TextValue(d.content.substr(start, d.selectionLength));
            return true;
        }
        case 6: *out = IntValue(d.switch14); return true;
        case 7: *out = IntValue(d.itemSpacing); return true;
        case 8: *out = IntValue(d.textColour); return true;
        case 9: *out = IntValue(d.backgroundColour); return true;
        case 10: *out = BytesValue(d.font); return true;
        case 11: *out = IntValue(d.currentSelection); return true;
        case 12: {
            TemplateWriter w;
            WriteItemList(w, d.items);
            *out = BytesValue(w.Take());
            return true;
        }
        case 13: *out = BytesValue(d.itemValues); return true;
        case 14: *out = TextValue(d.dataSource); return true;
        case 15: *out = TextValue(d.dataColumn); return true;
        case 16: *out = IntValue(d.switch24); return true;
        default: return false;
    }
}

std::vector<uint8_t> ComboBoxPropertyData(UnitObject* unit) {
    auto* c = static_cast<ComboBox*>(unit);
    c->Sync();
    return ComboBoxData::Write(c->data);
}

void EnumerateComboBoxTexts(const uint8_t* data, uint32_t length, TextCallback callback, void* context) {
    std::optional<ComboBoxData> d = ComboBoxData::Parse(data, length);
    if (!d) return;
    EnumerateText(callback, context, d->content);
    for (const std::string& item : d->items) EnumerateText(callback, context, item);
    EnumerateFontFace(callback, context, d->font);
}

AnyOperation ComboBoxInterface(int32_t number) {
    switch (number) {
        case kInterfaceCreateUnit: return AsOperation(&CreateComboBox);
        case kInterfaceWriteProperty: return AsOperation(&WriteComboBoxProperty);
        case kInterfaceGetAllPropertyData: return AsOperation(&ComboBoxPropertyData);
        case kInterfaceReadProperty: return AsOperation(&ReadComboBoxProperty);
        case kInterfaceEnumerateTexts: return AsOperation(&EnumerateComboBoxTexts);
        default: return nullptr;
    }
}

using P = PropertyType;
const PropertyInfo kComboBoxProperties[25] = {
    MG_COMMON_PROPERTIES,
    {"Style", P::kPick, 0},
    {"Content", P::kPickText, 0},
    {"MaxLength", P::kInteger, 0},
    {"SelectionStart", P::kInteger, 0},
    {"SelectionLength", P::kInteger, 0},
    {"SelectedText", P::kText, 0},
    {"Switch14", P::kSwitch, 0},
    {"ItemSpacing", P::kInteger, 0},
    {"TextColour", P::kColour, 0},
    {"BackgroundColour", P::kBackgroundColour, 0},
    {"Font", P::kFont, 0},
    {"CurrentSelection", P::kInteger, 0},
    {"Items", P::kCustomData, 0},
    {"ItemValues", P::kCustomData, 0},
    {"DataSource", P::kDataBinding, 0},
    {"DataColumn", P::kDataBinding, 0},
    {"Switch24", P::kSwitch, 0},
};

}  // namespace

const UnitTypeInfo kComboBoxType = {
    "组合框", "ComboBox", kTypeWindowUnit | kTypeRaisesEvents | kTypeChildEdit, 25, kComboBoxProperties,
    &ComboBoxInterface,
};
