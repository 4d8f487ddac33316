// The label (type code 0x0001000A): a runtime window of class _XR_Label that paints its
// caption, background and border itself.
#include "forms/type_data/label_data.h"
#include "forms/unit_object.h"
#include "forms/units/core_unit_types.h"
#include "forms/units/unit_helpers.h"
#include "runtime/gbk_text.h"

namespace {

const wchar_t kLabelClass[] = L"_XR_Label";

class Label : public UnitObject {
public:
    using UnitObject::UnitObject;
    LabelData data;

    bool Transparent() const { return IsColourMarker(data.backgroundColour); }
    COLORREF BackgroundColour() const override {
        return Transparent() ? UnitObject::BackgroundColour() : static_cast<COLORREF>(data.backgroundColour);
    }

    void Paint(HDC dc) {
        RECT client;
        GetClientRect(hwnd(), &client);
        if (!Transparent()) FillRect(dc, &client, SolidBrush(data.backgroundColour));
        RECT inner = client;
        switch (data.border) {
            case 1: DrawEdge(dc, &inner, EDGE_SUNKEN, BF_RECT | BF_ADJUST); break;
            case 2: DrawEdge(dc, &inner, EDGE_RAISED, BF_RECT | BF_ADJUST); break;
            case 3: DrawEdge(dc, &inner, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST); break;
            case 4: DrawEdge(dc, &inner, EDGE_ETCHED, BF_RECT | BF_ADJUST); break;
            case 5: FrameRect(dc, &inner, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))); InflateRect(&inner, -1, -1); break;
            case 6: {
                // A frame of the border width in the first border colour.
                int width = static_cast<int>(data.integer11 < 5 ? 5 : data.integer11);
                win::Brush b(CreateSolidBrush(ResolveColour(data.colour12, COLOR_BTNSHADOW)));
                for (int i = 0; i < width && inner.right - inner.left > 2 && inner.bottom - inner.top > 2; ++i) {
                    FrameRect(dc, &inner, b.get());
                    InflateRect(&inner, -1, -1);
                }
                break;
            }
            default: break;
        }
        std::wstring text;
        int n = GetWindowTextLengthW(hwnd());
        text.resize(static_cast<size_t>(n) + 1);
        n = GetWindowTextW(hwnd(), text.data(), n + 1);
        text.resize(static_cast<size_t>(n > 0 ? n : 0));
        if (text.empty()) return;
        UINT format = DT_NOPREFIX;
        if (data.choice24 == 1) format |= DT_CENTER;
        if (data.choice24 == 2) format |= DT_RIGHT;
        if (data.switch25) {
            format |= DT_WORDBREAK;
        } else {
            format |= DT_SINGLELINE;
            if (data.choice26 == 1) format |= DT_VCENTER;
            if (data.choice26 == 2) format |= DT_BOTTOM;
        }
        win::Selection selected(dc, font());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, ResolveColour(data.textColour, COLOR_WINDOWTEXT));
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &inner, format);
    }

    void Refresh() {
        // A see-through label shows what lies beneath it: that must be drawn again first.
        if (Transparent()) {
            RECT r;
            GetWindowRect(hwnd(), &r);
            HWND parent = GetParent(hwnd());
            MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
            InvalidateRect(parent, &r, TRUE);
        }
        InvalidateRect(hwnd(), nullptr, TRUE);
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
            case WM_PAINT: {
                win::PaintDc paint(hwnd());
                Paint(paint.get());
                return 0;
            }
            case WM_ERASEBKGND:
                return 1;  // the background is painted with the text
            case WM_SETTEXT: {
                LRESULT r = UnitObject::WindowProc(message, wParam, lParam);
                Refresh();
                return r;
            }
            default:
                return UnitObject::WindowProc(message, wParam, lParam);
        }
    }
};

UnitObject* CreateLabel(const UnitCreateArgs& a) {
    std::optional<LabelData> d = LabelData::Parse(a.typeData, a.typeDataLength);
    if (!d) return nullptr;
    UnitObject::RegisterUnitClass(kLabelClass, CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS);
    auto* label = new Label(&kLabelType, a.windowId, a.unitId);
    label->data = std::move(*d);
    std::wstring caption = WideFromGbk(label->data.caption.c_str(), label->data.caption.size());
    DWORD exStyle = label->Transparent() ? WS_EX_TRANSPARENT : 0;
    if (!label->CreateOwnWindow(exStyle, kLabelClass, caption.c_str(), WS_CHILD | WS_CLIPSIBLINGS | a.styleBits, a)) {
        delete label;
        return nullptr;
    }
    label->ApplyFont(label->data.font, false);
    return label;
}

int32_t WriteLabelProperty(UnitObject* unit, int32_t index, const UnitPropertyValue& v) {
    auto* l = static_cast<Label*>(unit);
    LabelData& d = l->data;
    auto u = static_cast<uint32_t>(v.integer);
    switch (index) {
        case 0: d.caption = v.text; SetWindowTextGbk(l->hwnd(), v.text); return 0;
        case 1: d.choice9 = static_cast<uint32_t>(Clamp(v.integer, 0, 3)); break;
        case 2: d.border = static_cast<uint32_t>(Clamp(v.integer, 0, 6)); break;
        case 3: d.integer11 = static_cast<uint32_t>(v.integer < 5 ? 5 : v.integer); break;
        case 4: d.colour12 = u; break;
        case 5: d.colour13 = u; break;
        case 6: d.colour14 = u; break;
        case 7: d.font = v.bytes; l->ApplyFont(d.font, false); break;
        case 8: d.textColour = u; break;
        case 9: {
            d.backgroundColour = u;
            LONG ex = GetWindowLongW(l->hwnd(), GWL_EXSTYLE);
            SetWindowLongW(l->hwnd(), GWL_EXSTYLE, l->Transparent() ? (ex | WS_EX_TRANSPARENT) : (ex & ~WS_EX_TRANSPARENT));
            break;
        }
        case 10: d.backgroundPicture = v.bytes; break;  // no picture is cached, so none to discard
        case 11: d.choice19 = static_cast<uint32_t>(Clamp(v.integer, 0, 2)); break;
        case 12: d.choice20 = static_cast<uint32_t>(Clamp(v.integer, 0, 8)); break;
        case 13: d.colour21 = u; break;
        case 14: d.colour22 = u; break;
        case 15: d.colour23 = u; break;
        case 16: d.choice24 = static_cast<uint32_t>(Clamp(v.integer, 0, 2)); break;
        case 17: d.switch25 = u; break;
        case 18: d.choice26 = static_cast<uint32_t>(Clamp(v.integer, 0, 2)); break;
        case 19: d.dataSource = v.text; return 0;
        case 20: d.dataColumn = v.text; return 0;
        default: return 0;
    }
    l->Refresh();
    return 0;
}

bool ReadLabelProperty(UnitObject* unit, int32_t index, UnitPropertyValue* out) {
    auto* l = static_cast<Label*>(unit);
    const LabelData& d = l->data;
    switch (index) {
        case 0: *out = TextValue(WindowTextGbk(l->hwnd())); return true;
        case 1: *out = IntValue(d.choice9); return true;
        case 2: *out = IntValue(d.border); return true;
        case 3: *out = IntValue(d.integer11); return true;
        case 4: *out = IntValue(d.colour12); return true;
        case 5: *out = IntValue(d.colour13); return true;
        case 6: *out = IntValue(d.colour14); return true;
        case 7: *out = BytesValue(d.font); return true;
        case 8: *out = IntValue(d.textColour); return true;
        case 9: *out = IntValue(d.backgroundColour); return true;
        case 10: *out = BytesValue(d.backgroundPicture); return true;
        case 11: *out = IntValue(d.choice19); return true;
        case 12: *out = IntValue(d.choice20); return true;
        case 13: *out = IntValue(d.colour21); return true;
        case 14: *out = IntValue(d.colour22); return true;
        case 15: *out = IntValue(d.colour23); return true;
        case 16: *out = IntValue(d.choice24); return true;
        case 17: *out = IntValue(d.switch25); return true;
        case 18: *out = IntValue(d.choice26); return true;
        case 19: *out = TextValue(d.dataSource); return true;
        case 20: *out = TextValue(d.dataColumn); return true;
        default: return false;
    }
}

std::vector<uint8_t> LabelPropertyData(UnitObject* unit) {
    auto* l = static_cast<Label*>(unit);
    LabelData d = l->data;
    if (l->alive()) d.caption = WindowTextGbk(l->hwnd());
    return LabelData::Write(d);
}

void EnumerateLabelTexts(const uint8_t* data, uint32_t length, TextCallback callback, void* context) {
    std::optional<LabelData> d = LabelData::Parse(data, length);
    if (!d) return;
    EnumerateText(callback, context, d->caption);
    EnumerateFontFace(callback, context, d->font);
}

AnyOperation LabelInterface(int32_t number) {
    switch (number) {
        case kInterfaceCreateUnit: return AsOperation(&CreateLabel);
        case kInterfaceWriteProperty: return AsOperation(&WriteLabelProperty);
        case kInterfaceGetAllPropertyData: return AsOperation(&LabelPropertyData);
        case kInterfaceReadProperty: return AsOperation(&ReadLabelProperty);
        case kInterfaceEnumerateTexts: return AsOperation(&EnumerateLabelTexts);
        default: return nullptr;
    }
}

using P = PropertyType;
const PropertyInfo kLabelProperties[29] = {
    MG_COMMON_PROPERTIES,
    {"Caption", P::kText, 0},
    {"Choice9", P::kPick, 0},
    {"Border", P::kPick, 0},
    {"Integer11", P::kInteger, 0},
    {"Colour12", P::kTransparentColour, 0},
    {"Colour13", P::kTransparentColour, 0},
    {"Colour14", P::kTransparentColour, 0},
    {"Font", P::kFont, 0},
    {"TextColour", P::kColour, 0},
    {"BackgroundColour", P::kTransparentColour, 0},
    {"BackgroundPicture", P::kPicture, 0},
    {"Choice19", P::kPick, 0},
    {"Choice20", P::kPick, 0},
    {"Colour21", P::kColour, 0},
    {"Colour22", P::kColour, 0},
    {"Colour23", P::kColour, 0},
    {"Choice24", P::kPick, 0},
    {"Switch25", P::kSwitch, 0},
    {"Choice26", P::kPick, 0},
    {"DataSource", P::kDataBinding, 0},
    {"DataColumn", P::kDataBinding, 0},
};

}  // namespace

const UnitTypeInfo kLabelType = {
    "标签", "Label", kTypeWindowUnit | kTypeRaisesEvents | kTypeNoFocus, 29, kLabelProperties, &LabelInterface,
};
