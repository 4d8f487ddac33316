// The button (type code 0x0001000B): a system "BUTTON" push button; event 0 is the click.
#include "forms/type_data/button_data.h"
#include "forms/unit_object.h"
#include "forms/units/core_unit_types.h"
#include "forms/units/unit_helpers.h"
#include "runtime/gbk_text.h"

namespace {

class Button : public UnitObject {
public:
    using UnitObject::UnitObject;
    ButtonData data;

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

int32_t WriteButtonProperty(UnitObject* unit, int32_t index, const UnitPropertyValue& v) {
    auto* b = static_cast<Button*>(unit);
    ButtonData& d = b->data;
    switch (index) {
        case 0: d.picture = v.bytes; InvalidateRect(b->hwnd(), nullptr, TRUE); return 0;
        case 1: d.buttonType = static_cast<uint32_t>(Clamp(v.integer, 0, 1)); b->ApplyStyle(); return 0;
        case 2: d.caption = v.text; SetWindowTextGbk(b->hwnd(), v.text); return 0;
        case 3: d.horizontalAlignment = static_cast<uint32_t>(Clamp(v.integer, 0, 2)); b->ApplyStyle(); return 0;
        case 4: d.verticalAlignment = static_cast<uint32_t>(Clamp(v.integer, 0, 2)); b->ApplyStyle(); return 0;
        case 5: d.font = v.bytes; b->ApplyFont(d.font, true); return 0;
        default: return 0;
    }
}

bool ReadButtonProperty(UnitObject* unit, int32_t index, UnitPropertyValue* out) {
    auto* b = static_cast<Button*>(unit);
    const ButtonData& d = b->data;
    switch (index) {
        case 0: *out = BytesValue(d.picture); return true;
        case 1: *out = IntValue(d.buttonType); return true;
        case 2: *out = TextValue(WindowTextGbk(b->hwnd())); return true;
        case 3: *out = IntValue(d.horizontalAlignment); return true;
        case 4: *out = IntValue(d.verticalAlignment); return true;
        case 5: *out = BytesValue(d.font); return true;
        default: return false;
    }
}

std::vector<uint8_t> ButtonPropertyData(UnitObject* unit) {
    auto* b = static_cast<Button*>(unit);
    ButtonData d = b->data;
    if (b->alive()) d.caption = WindowTextGbk(b->hwnd());
    return ButtonData::Write(d);
}

void EnumerateButtonTexts(const uint8_t* data, uint32_t length, TextCallback callback, void* context) {
    std::optional<ButtonData> d = ButtonData::Parse(data, length);
    if (!d) return;
    EnumerateText(callback, context, d->caption);
    EnumerateFontFace(callback, context, d->font);
}

AnyOperation ButtonInterface(int32_t number) {
    switch (number) {
        case kInterfaceCreateUnit: return AsOperation(&CreateButton);
        case kInterfaceWriteProperty: return AsOperation(&WriteButtonProperty);
        case kInterfaceGetAllPropertyData: return AsOperation(&ButtonPropertyData);
        case kInterfaceReadProperty: return AsOperation(&ReadButtonProperty);
        case kInterfaceEnumerateTexts: return AsOperation(&EnumerateButtonTexts);
        default: return nullptr;
    }
}

using P = PropertyType;
const PropertyInfo kButtonProperties[14] = {
    MG_COMMON_PROPERTIES,
    {"Picture", P::kPicture, 0},
    {"ButtonType", P::kPick, 0},
    {"Caption", P::kText, 0},
    {"HorizontalAlignment", P::kPick, 0},
    {"VerticalAlignment", P::kPick, 0},
    {"Font", P::kFont, 0},
};

}  // namespace

const UnitTypeInfo kButtonType = {
    "按钮", "Button", kTypeWindowUnit | kTypeRaisesEvents, 14, kButtonProperties, &ButtonInterface,
};
