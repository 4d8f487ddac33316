#include "controls/trans_label_unit.h"

#include <vector>

#include "controls/trans_label_data.h"
#include "forms/described_unit.h"
#include "forms/units/unit_helpers.h"
#include "runtime/gbk_text.h"

namespace {

class TransLabel : public UnitObject {
public:
    using UnitObject::UnitObject;
    TransLabelData data;
    static const Behaviours<TransLabel> kBehaviours;

    // Every change shows through at once.
    void AfterEveryWrite(const FieldDescription&) { SeeThroughRepaint(hwnd()); }
    void ApplyCaption() { SetWindowTextGbk(hwnd(), data.caption); }
    void ApplyStoredFont() { ApplyFont(data.font, false); }

    void Paint(HDC dc) const {
        int length = GetWindowTextLengthW(hwnd());
        if (length <= 0) return;
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        length = GetWindowTextW(hwnd(), text.data(), length + 1);
        if (length <= 0) return;

        // The unit's font, made when the font is set: a clock label paints every second, and
        // a font made and deleted at each paint costs more than the text.
        win::Selection selected(dc, font());

        UINT format = DT_NOCLIP;
        if (data.horizontalAlignment == 1) format |= DT_CENTER;
        if (data.horizontalAlignment == 2) format |= DT_RIGHT;
        if (data.wordWrap) {
            format |= DT_WORDBREAK | DT_VCENTER;
        } else {
            format |= DT_SINGLELINE;
            if (data.verticalAlignment == 1) format |= DT_VCENTER;
            if (data.verticalAlignment == 2) format |= DT_BOTTOM;
        }
        SetBkMode(dc, TRANSPARENT);

        RECT rect;
        GetClientRect(hwnd(), &rect);
        auto draw = [&](COLORREF colour, RECT r) {
            SetTextColor(dc, colour);
            DrawTextW(dc, text.c_str(), length, &r, format);
        };
        switch (data.effect) {
            case 1:  // raised: a white copy below and to the right
                draw(RGB(255, 255, 255), {rect.left + 1, rect.top + 1, rect.right + 1, rect.bottom + 1});
                break;
            case 2:  // sunken: the white copy stays, the text moves down and right
                draw(RGB(255, 255, 255), rect);
                OffsetRect(&rect, 1, 1);
                break;
            case 3:  // shadowed
                draw(RGB(0, 0, 0), {rect.left + 2, rect.top + 2, rect.right + 2, rect.bottom + 2});
                break;
            default:
                break;
        }
        draw(ResolveColour(data.textColour, COLOR_WINDOWTEXT), rect);
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
            case WM_PAINT: {
                win::PaintDc paint(hwnd());
                Paint(paint.get());
                return 0;
            }
            case WM_MOVE: {
                LRESULT r = UnitObject::WindowProc(message, wParam, lParam);
                if (hwnd()) SeeThroughRepaint(hwnd());
                return r;
            }
            default:
                return UnitObject::WindowProc(message, wParam, lParam);
        }
    }
};

// Every visible window below `parent` whose rectangle meets `area` (screen coordinates),
// depth first: for each child in z-order from the top, its own such descendants first, then
// the child itself. A window that misses the area hides its descendants there (they are
// clipped to it), so they are not looked at.
void CollectVisible(HWND parent, const RECT& area, std::vector<HWND>* out) {
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child)) continue;
        RECT bounds, overlap;
        GetWindowRect(child, &bounds);
        if (!IntersectRect(&overlap, &bounds, &area)) continue;
        CollectVisible(child, area, out);
        out->push_back(child);
    }
}

UnitObject* CreateTransLabel(const UnitCreateArgs& a) {
    std::optional<TransLabelData> d = TransLabelData::Parse(a.typeData, a.typeDataLength);
    if (!d) return nullptr;
    if (!UnitObject::RegisterUnitClass(kTransLabelClass, CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS)) return nullptr;
    auto* label = new TransLabel(a.type, a.windowId, a.unitId);
    label->data = std::move(*d);
    std::wstring caption = WideFromGbk(label->data.caption.c_str(), label->data.caption.size());
    if (!label->CreateOwnWindow(WS_EX_TRANSPARENT, kTransLabelClass, caption.c_str(),
                                WS_CHILD | WS_CLIPSIBLINGS | a.styleBits, a)) {
        delete label;
        return nullptr;
    }
    label->ApplyFont(label->data.font, false);
    return label;
}

void EnumerateTransLabelTexts(const uint8_t* typeData, uint32_t length, TextCallback callback, void* context) {
    std::optional<TransLabelData> d = TransLabelData::Parse(typeData, length);
    if (!d) return;
    EnumerateText(callback, context, d->caption);
    EnumerateFontFace(callback, context, d->font);
}

}  // namespace

void SeeThroughRepaint(HWND label) {
    if (!label || !IsWindow(label)) return;
    // A label that is not on screen (its window not yet shown, or its page hidden) shows
    // nothing through: whatever lies beneath it is drawn afresh when it appears, so the
    // repaint waits for that.
    if (!IsWindowVisible(label)) return;
    HWND top = label;
    while (!(GetWindowLongW(top, GWL_STYLE) & WS_POPUP)) {
        HWND parent = GetParent(top);
        if (!parent) break;
        top = parent;
    }

    RECT area;
    GetClientRect(label, &area);
    MapWindowPoints(label, nullptr, reinterpret_cast<POINT*>(&area), 2);
    RECT inTop = area;
    MapWindowPoints(nullptr, top, reinterpret_cast<POINT*>(&inTop), 2);
    // Each window, children included, is redrawn on its own below, so no redraw reaches
    // into children: the label's text must go over fresh background exactly once, as
    // anti-aliased text drawn over itself grows darker.
    RedrawWindow(top, &inTop, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_NOCHILDREN);
    UpdateWindow(top);

    // From the bottom of the z-order up, so that each window draws over the ones beneath.
    std::vector<HWND> windows;
    CollectVisible(top, area, &windows);
    for (size_t i = windows.size(); i-- > 0;) {
        HWND w = windows[i];
        if (w == label || !IsWindow(w)) continue;
        RECT bounds, overlap;
        GetWindowRect(w, &bounds);
        if (!IntersectRect(&overlap, &bounds, &area)) continue;
        MapWindowPoints(nullptr, w, reinterpret_cast<POINT*>(&overlap), 2);
        RedrawWindow(w, &overlap, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ERASENOW | RDW_NOCHILDREN);
    }
    // The text last, over what is now beneath it.
    if (IsWindow(label)) InvalidateRect(label, nullptr, FALSE);
}

namespace {

const Behaviours<TransLabel> TransLabel::kBehaviours = {
    {"Caption", Applies<&TransLabel::ApplyCaption>()},
    {"Font", Applies<&TransLabel::ApplyStoredFont>()},
};

}  // namespace

extern const UnitOperations kTransLabelOperations =
    DescribedOperations<TransLabel>({.create = &CreateTransLabel, .enumerateTexts = &EnumerateTransLabelTexts});
