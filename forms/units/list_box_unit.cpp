// The list box (type code 0x0001000F): a system "LISTBOX" filled from its type data.
#include "forms/type_data/list_box_data.h"
#include "forms/unit_object.h"
#include "forms/units/core_unit_types.h"
#include "forms/units/unit_helpers.h"
#include "runtime/gbk_text.h"

namespace {

class ListBox : public UnitObject {
public:
    using UnitObject::UnitObject;
    ListBoxData data;

    std::vector<std::string> Items() const {
        std::vector<std::string> items;
        LRESULT count = SendMessageW(hwnd(), LB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            LRESULT n = SendMessageW(hwnd(), LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
            std::wstring t(static_cast<size_t>(n > 0 ? n : 0) + 1, L'\0');
            n = SendMessageW(hwnd(), LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(t.data()));
            items.push_back(GbkFromWide(t.c_str(), static_cast<size_t>(n > 0 ? n : 0)));
        }
        return items;
    }
    void FillItems() {
        SendMessageW(hwnd(), WM_SETREDRAW, FALSE, 0);
        SendMessageW(hwnd(), LB_RESETCONTENT, 0, 0);
        for (const std::string& item : data.items)
            SendMessageW(hwnd(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(WideFromGbk(item.c_str(), item.size()).c_str()));
        SendMessageW(hwnd(), WM_SETREDRAW, TRUE, 0);
        InvalidateRect(hwnd(), nullptr, TRUE);
    }
    void SelectItem(int32_t index) {
        LRESULT count = SendMessageW(hwnd(), LB_GETCOUNT, 0, 0);
        if (index >= count) index = static_cast<int32_t>(count) - 1;
        if (index < -1) index = -1;
        SendMessageW(hwnd(), LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
    int32_t CurrentSelection() const {
        LRESULT sel = SendMessageW(hwnd(), LB_GETCURSEL, 0, 0);
        return sel < 0 ? -1 : static_cast<int32_t>(sel);
    }
    void ApplySpacing(uint32_t oldSpacing, uint32_t newSpacing) {
        LRESULT height = SendMessageW(hwnd(), LB_GETITEMHEIGHT, 0, 0);
        if (height < 0) return;
        int64_t h = height - static_cast<int64_t>(oldSpacing) + static_cast<int64_t>(newSpacing);
        SendMessageW(hwnd(), LB_SETITEMHEIGHT, 0, static_cast<LPARAM>(h < 1 ? 1 : (h > 255 ? 255 : h)));
    }
    void Sync() {
        if (!alive()) return;
        data.items = Items();
        data.currentSelection = CurrentSelection();
    }

protected:
    bool OnReflected(UINT message, WPARAM wParam, LPARAM, LRESULT* result) override {
        if (message != WM_CTLCOLORLISTBOX) return false;
        auto dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, ResolveColour(data.textColour, COLOR_WINDOWTEXT));
        COLORREF background = ResolveColour(data.backgroundColour, COLOR_WINDOW);
        SetBkColor(dc, background);
        *result = reinterpret_cast<LRESULT>(SolidBrush(background));
        return true;
    }
};

UnitObject* CreateListBox(const UnitCreateArgs& a) {
    std::optional<ListBoxData> d = ListBoxData::Parse(a.typeData, a.typeDataLength);
    if (!d) return nullptr;
    auto* l = new ListBox(&kListBoxType, a.windowId, a.unitId);
    l->data = std::move(*d);
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, exStyle = 0;
    BorderStyles(l->data.border, &style, &exStyle);
    if (!l->CreateSubclassedWindow(exStyle, L"LISTBOX", nullptr, style | a.styleBits, a)) {
        delete l;
        return nullptr;
    }
    l->ApplyFont(l->data.font, false);
    l->ApplySpacing(0, l->data.itemSpacing);
    l->FillItems();
    if (l->data.currentSelection >= 0) l->SelectItem(l->data.currentSelection);
    return l;
}

int32_t WriteListBoxProperty(UnitObject* unit, int32_t index, const UnitPropertyValue& v) {
    auto* l = static_cast<ListBox*>(unit);
    ListBoxData& d = l->data;
    auto u = static_cast<uint32_t>(v.integer);
    switch (index) {
        case 0: l->Sync(); d.border = static_cast<uint32_t>(Clamp(v.integer, 0, 5)); return 1;
        case 1: d.switch9 = u; return 0;
        case 2: d.switch10 = u; return 0;
        case 3: {
            uint32_t spacing = static_cast<uint32_t>(Clamp(v.integer, 0, 32767));
            l->ApplySpacing(d.itemSpacing, spacing);
            d.itemSpacing = spacing;
            InvalidateRect(l->hwnd(), nullptr, TRUE);
            return 0;
        }
        case 4: d.textColour = u; InvalidateRect(l->hwnd(), nullptr, TRUE); return 0;
        case 5: d.backgroundColour = u; InvalidateRect(l->hwnd(), nullptr, TRUE); return 0;
        case 6: d.font = v.bytes; l->ApplyFont(d.font, true); l->ApplySpacing(0, d.itemSpacing); return 0;
        case 7: d.switch15 = u; return 0;
        case 8: l->SelectItem(v.integer); d.currentSelection = l->CurrentSelection(); return 0;
        case 9: {
            TemplateCursor cursor(v.bytes.data(), v.bytes.size());
            d.items = v.bytes.empty() ? std::vector<std::string>{} : ReadItemList(cursor);
            d.currentSelection = -1;
            l->FillItems();
            return 0;
        }
        case 10: d.itemValues = v.bytes; return 0;
        case 11: d.dataSource = v.text; return 0;
        case 12: d.dataColumn = v.text; return 0;
        case 13: d.switch21 = u; return 0;
        default: return 0;
    }
}

bool ReadListBoxProperty(UnitObject* unit, int32_t index, UnitPropertyValue* out) {
    auto* l = static_cast<ListBox*>(unit);
    l->Sync();
    const ListBoxData& d = l->data;
    switch (index) {
        case 0: *out = IntValue(d.border); return true;
        case 1: *out = IntValue(d.switch9); return true;
        case 2: *out = IntValue(d.switch10); return true;
        case 3: *out = IntValue(d.itemSpacing); return true;
        case 4: *out = IntValue(d.textColour); return true;
        case 5: *out = IntValue(d.backgroundColour); return true;
        case 6: *out = BytesValue(d.font); return true;
        case 7: *out = IntValue(d.switch15); return true;
        case 8: *out = IntValue(d.currentSelection); return true;
        case 9: {
            TemplateWriter w;
            WriteItemList(w, d.items);
            *out = BytesValue(w.Take());
            return true;
        }
        case 10: *out = BytesValue(d.itemValues); return true;
        case 11: *out = TextValue(d.dataSource); return true;
        case 12: *out = TextValue(d.dataColumn); return true;
        case 13: *out = IntValue(d.switch21); return true;
        default: return false;
    }
}

std::vector<uint8_t> ListBoxPropertyData(UnitObject* unit) {
    auto* l = static_cast<ListBox*>(unit);
    l->Sync();
    return ListBoxData::Write(l->data);
}

void EnumerateListBoxTexts(const uint8_t* data, uint32_t length, TextCallback callback, void* context) {
    std::optional<ListBoxData> d = ListBoxData::Parse(data, length);
    if (!d) return;
    for (const std::string& item : d->items) EnumerateText(callback, context, item);
    EnumerateFontFace(callback, context, d->font);
}

AnyOperation ListBoxInterface(int32_t number) {
    switch (number) {
        case kInterfaceCreateUnit: return AsOperation(&CreateListBox);
        case kInterfaceWriteProperty: return AsOperation(&WriteListBoxProperty);
        case kInterfaceGetAllPropertyData: return AsOperation(&ListBoxPropertyData);
        case kInterfaceReadProperty: return AsOperation(&ReadListBoxProperty);
        case kInterfaceEnumerateTexts: return AsOperation(&EnumerateListBoxTexts);
        default: return nullptr;
    }
}

using P = PropertyType;
const PropertyInfo kListBoxProperties[22] = {
    MG_COMMON_PROPERTIES,
    {"Border", P::kPick, 0},
    {"Switch9", P::kSwitch, 0},
    {"Switch10", P::kSwitch, 0},
    {"ItemSpacing", P::kInteger, 0},
    {"TextColour", P::kColour, 0},
    {"BackgroundColour", P::kBackgroundColour, 0},
    {"Font", P::kFont, 0},
    {"Switch15", P::kSwitch, 0},
    {"CurrentSelection", P::kInteger, 0},
    {"Items", P::kCustomData, 0},
    {"ItemValues", P::kCustomData, 0},
    {"DataSource", P::kDataBinding, 0},
    {"DataColumn", P::kDataBinding, 0},
    {"Switch21", P::kSwitch, 0},
};

}  // namespace

const UnitTypeInfo kListBoxType = {
    "列表框", "ListBox", kTypeWindowUnit | kTypeRaisesEvents, 22, kListBoxProperties, &ListBoxInterface,
};
