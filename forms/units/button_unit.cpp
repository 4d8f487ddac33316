// The button: a system "BUTTON" push button, which raises Click.
#include "forms/type_data/button_data.h"
#include "forms/described_unit.h"
#include "forms/units/unit_helpers.h"
#include "runtime/gbk_text.h"

namespace {

class Button : public UnitObject {
public:
    using UnitObject::UnitObject;
    ButtonData data;
    static const Behaviours<Button> kBehaviours;

    // The caption as the window shows it.
    void BeforeRead() {
        if (alive()) data.caption = WindowTextGbk(hwnd());
    }

    DWORD KindAndAlignment() const {
        DWORD style = data.buttonType == 1 ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
        style |= BS_MULTILINE;
        style |= data.horizontalAlignment == 0 ? BS_LEFT : (data.horizontalAlignment == 2 ? BS_RIGHT : BS_CENTER);
        style |= data.verticalAlignment == 0 ? BS_TOP : (data.verticalAlignment == 2 ? BS_BOTTOM : BS_VCENTER);
        return style;
    }
    void Repaint() { InvalidateRect(hwnd(), nullptr, TRUE); }
    void ApplyCaption() { SetWindowTextGbk(hwnd(), data.caption); }
    void ApplyStoredFont() { ApplyFont(data.font, true); }
    void ApplyStyle() {
        const DWORD mask = BS_TYPEMASK | BS_LEFT | BS_RIGHT | BS_CENTER | BS_TOP | BS_BOTTOM | BS_VCENTER | BS_MULTILINE;
        LONG style = GetWindowLongW(hwnd(), GWL_STYLE);
        SetWindowLongW(hwnd(), GWL_STYLE, static_cast<LONG>((static_cast<DWORD>(style) & ~mask) | KindAndAlignment()));
        InvalidateRect(hwnd(), nullptr, TRUE);
    }

protected:
    bool OnReflected(UINT message, WPARAM wParam, LPARAM, LRESULT*) override {
        if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) Raise(ButtonData::Click);
        return false;
    }
};

UnitObject* CreateButton(const UnitCreateArgs& a) {
    std::optional<ButtonData> d = ButtonData::Parse(a.typeData, a.typeDataLength);
    if (!d) return nullptr;
    auto* b = new Button(a.type, a.windowId, a.unitId);
    b->data = std::move(*d);
    std::wstring caption = WideFromGbk(b->data.caption.c_str(), b->data.caption.size());
    if (!b->CreateSubclassedWindow(0, L"BUTTON", caption.c_str(), WS_CHILD | WS_CLIPSIBLINGS | b->KindAndAlignment() | a.styleBits, a)) {
        delete b;
        return nullptr;
    }
    b->ApplyFont(b->data.font, false);
    return b;
}

void EnumerateButtonTexts(const uint8_t* data, uint32_t length, TextCallback callback, void* context) {
    std::optional<ButtonData> d = ButtonData::Parse(data, length);
    if (!d) return;
    EnumerateText(callback, context, d->caption);
    EnumerateFontFace(callback, context, d->font);
}

const Behaviours<Button> Button::kBehaviours = {
    {"Picture", Applies<&Button::Repaint>()},
    {"ButtonType", Applies<&Button::ApplyStyle>()},
    {"Caption", Applies<&Button::ApplyCaption>()},
    {"HorizontalAlignment", Applies<&Button::ApplyStyle>()},
    {"VerticalAlignment", Applies<&Button::ApplyStyle>()},
    {"Font", Applies<&Button::ApplyStoredFont>()},
};

}  // namespace

extern const UnitOperations kButtonOperations =
    DescribedOperations<Button>({.create = &CreateButton, .enumerateTexts = &EnumerateButtonTexts});
