// The button (type code 0x0001000B): a system "BUTTON" push button; event 0 is the click.
#include "forms/type_data/button_data.h"
#include "forms/described_unit.h"
#include "forms/units/core_unit_types.h"
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
    void ApplyStyle() {
        const DWORD mask = BS_TYPEMASK | BS_LEFT | BS_RIGHT | BS_CENTER | BS_TOP | BS_BOTTOM | BS_VCENTER | BS_MULTILINE;
        LONG style = GetWindowLongW(hwnd(), GWL_STYLE);
        SetWindowLongW(hwnd(), GWL_STYLE, static_cast<LONG>((static_cast<DWORD>(style) & ~mask) | KindAndAlignment()));
        InvalidateRect(hwnd(), nullptr, TRUE);
    }

protected:
    bool OnReflected(UINT message, WPARAM wParam, LPARAM, LRESULT*) override {
        if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) RaiseUnitEvent(0);
        return false;
    }
};

UnitObject* CreateButton(const UnitCreateArgs& a) {
    std::optional<ButtonData> d = ButtonData::Parse(a.typeData, a.typeDataLength);
    if (!d) return nullptr;
    auto* b = new Button(&kButtonType, a.windowId, a.unitId);
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

int32_t PictureWritten(Button& b) {
    InvalidateRect(b.hwnd(), nullptr, TRUE);
    return 0;
}

int32_t StyleWritten(Button& b) {
    b.ApplyStyle();
    return 0;
}

int32_t CaptionWritten(Button& b) {
    SetWindowTextGbk(b.hwnd(), b.data.caption);
    return 0;
}

int32_t FontWritten(Button& b) {
    b.ApplyFont(b.data.font, true);
    return 0;
}

const Behaviours<Button> Button::kBehaviours = {
    {"Picture", Written(&PictureWritten)},
    {"ButtonType", Written(&StyleWritten)},
    {"Caption", Written(&CaptionWritten)},
    {"HorizontalAlignment", Written(&StyleWritten)},
    {"VerticalAlignment", Written(&StyleWritten)},
    {"Font", Written(&FontWritten)},
};

const UnitOperations kButtonOperations = {
    &CreateButton, &WriteDescribedProperty<Button>, &DescribedPropertyData<Button>, &ReadDescribedProperty<Button>,
    nullptr,       nullptr,                         &EnumerateButtonTexts,
};

}  // namespace

const UnitTypeInfo kButtonType = DescribedUnitType<ButtonData>(kTypeWindowUnit | kTypeRaisesEvents, &kButtonOperations);
