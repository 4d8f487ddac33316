// The label: a runtime window of class _XR_Label that paints its
// caption, background and border itself.
#include "forms/type_data/label_data.h"
#include "forms/described_unit.h"
#include "forms/units/unit_helpers.h"
#include "runtime/gbk_text.h"

namespace {

const wchar_t kLabelClass[] = L"_XR_Label";

class Label : public UnitObject {
public:
    using UnitObject::UnitObject;
    LabelData data;
    static const Behaviours<Label> kBehaviours;

    // The caption as the window shows it.
    void BeforeRead() {
        if (alive()) data.caption = WindowTextGbk(hwnd());
    }
    // A change of how it looks shows at once; a text changes nothing of that, and the
    // caption repaints itself.
    void AfterEveryWrite(const FieldDescription& written) {
        if (!IsTextProperty(written.type)) Refresh();
    }

    bool Transparent() const { return IsColourMarker(data.backgroundColour); }
    void ApplyCaption() { SetWindowTextGbk(hwnd(), data.caption); }
    void ApplyStoredFont() { ApplyFont(data.font, false); }
    // A see-through label lets the windows beneath paint under it.
    void ApplyTransparency() {
        LONG ex = GetWindowLongW(hwnd(), GWL_EXSTYLE);
        SetWindowLongW(hwnd(), GWL_EXSTYLE, Transparent() ? (ex | WS_EX_TRANSPARENT) : (ex & ~WS_EX_TRANSPARENT));
    }
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
    auto* label = new Label(a.type, a.windowId, a.unitId);
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

void EnumerateLabelTexts(const uint8_t* data, uint32_t length, TextCallback callback, void* context) {
    std::optional<LabelData> d = LabelData::Parse(data, length);
    if (!d) return;
    EnumerateText(callback, context, d->caption);
    EnumerateFontFace(callback, context, d->font);
}

const Behaviours<Label> Label::kBehaviours = {
    {"Caption", Applies<&Label::ApplyCaption>()},
    {"Font", Applies<&Label::ApplyStoredFont>()},
    {"BackgroundColour", Applies<&Label::ApplyTransparency>()},
};

}  // namespace

extern const UnitOperations kLabelOperations =
    DescribedOperations<Label>({.create = &CreateLabel, .enumerateTexts = &EnumerateLabelTexts});
