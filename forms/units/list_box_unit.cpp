// The list box: a system "LISTBOX" filled from its type data.
#include "forms/type_data/list_box_data.h"
#include "forms/described_unit.h"
#include "forms/units/unit_helpers.h"
#include "runtime/gbk_text.h"

namespace {

class ListBox : public UnitObject {
public:
    using UnitObject::UnitObject;
    ListBoxData data;
    static const Behaviours<ListBox> kBehaviours;

    void BeforeRead() { Sync(); }

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
    void Repaint() { InvalidateRect(hwnd(), nullptr, TRUE); }
    // A new font resets the item height to the system's; the spacing is kept on top.
    void ApplyStoredFont() {
        ApplyFont(data.font, true);
        ApplySpacing(0, data.itemSpacing);
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
    auto* l = new ListBox(a.type, a.windowId, a.unitId);
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

void EnumerateListBoxTexts(const uint8_t* data, uint32_t length, TextCallback callback, void* context) {
    std::optional<ListBoxData> d = ListBoxData::Parse(data, length);
    if (!d) return;
    for (const std::string& item : d->items) EnumerateText(callback, context, item);
    EnumerateFontFace(callback, context, d->font);
}

int32_t CurrentSelectionWrite(ListBox& l, const UnitPropertyValue& v) {
    l.SelectItem(v.integer);
    l.data.currentSelection = l.CurrentSelection();
    return 0;
}

// New items, none of them selected.
int32_t ItemsWritten(ListBox& l) {
    l.data.currentSelection = -1;
    l.FillItems();
    return 0;
}

const Behaviours<ListBox> ListBox::kBehaviours = {
    {"Border", Rebuilds<ListBox>()},  // the rebuild takes the items and selection from the window
    {"ItemSpacing", WriteWith(&ItemSpacingWrite<ListBox>)},
    {"TextColour", Applies<&ListBox::Repaint>()},
    {"BackgroundColour", Applies<&ListBox::Repaint>()},
    {"Font", Applies<&ListBox::ApplyStoredFont>()},
    {"CurrentSelection", WriteWith(&CurrentSelectionWrite)},
    {"Items", Written(&ItemsWritten)},
};

}  // namespace

extern const UnitOperations kListBoxOperations =
    DescribedOperations<ListBox>({.create = &CreateListBox, .enumerateTexts = &EnumerateListBoxTexts});
