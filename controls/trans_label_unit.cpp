#include "controls/trans_label_unit.h"

#include <algorithm>
#include <vector>

#include "controls/trans_label_data.h"
#include "forms/described_unit.h"
#include "forms/units/unit_helpers.h"
#include "forms/window_list.h"
#include "runtime/gbk_text.h"

namespace {

class TransLabel : public UnitObject {
public:
    using UnitObject::UnitObject;
    TransLabelData data;
    // The text as the window shows it, kept here rather than by the window server: a clock
    // label changes it every second, and the server's copy costs a request each time while
    // only another process's GetWindowText reads it (text messages reach this copy).
    std::wstring text;
    static const Behaviours<TransLabel> kBehaviours;

    // Every change shows through at once.
    void AfterEveryWrite(const FieldDescription&) {
        if (!DrawOverContainerAlone()) ShowThrough();
    }

    // What lies beneath redrawn, then the text over it, last and once.
    void ShowThrough() {
        if (SeeThroughRepaint(hwnd())) DrawTextNow();
    }

    // A label over nothing but a container that paints all of its own background (the clock
    // in its group box) draws that container's paint and its text on its own DC: the same
    // pixels as invalidating the container and letting it paint, without the nine trips to the
    // window server that costs, every second for the clock. False when that does not apply. (Not
    // after a move: that leaves the label an update region, which only the full repaint clears.)
    bool DrawOverContainerAlone() {
        if (!IsWindowVisible(hwnd())) return false;
        HWND top = SeeThroughTop(hwnd());
        UnitObject* container = UnitObject::FromHandle(top);
        RECT area;
        GetWindowRect(hwnd(), &area);
        if (top == hwnd() || !container || !container->ErasesWholeClient() || !NoOtherUnitShowsIn(*this, *container, area))
            return false;
        win::WindowDc dc(hwnd());
        if (!dc) return false;
        POINT origin = {0, 0};  // the label's client origin in the container's
        MapWindowPoints(hwnd(), top, &origin, 1);
        // Only the origin moves (the container keeps the rest of the DC as it was): restoring
        // a saved DC would select its font again, a round of font set-up for nothing.
        POINT viewport;
        SetViewportOrgEx(dc.get(), -origin.x, -origin.y, &viewport);
        const bool drawn = container->PaintClientInto(dc.get());
        SetViewportOrgEx(dc.get(), viewport.x, viewport.y, nullptr);
        if (drawn) Paint(dc.get());
        return drawn;
    }

    // The text drawn at once on the window's DC. The repaint has left the label without an
    // update region, so a paint message would draw the same pixels for several more trips to
    // the window server (the update and visible regions, the caret hidden and shown again),
    // every second for the clock.
    void DrawTextNow() const {
        win::WindowDc dc(hwnd());
        if (dc) Paint(dc.get());
    }
    void ApplyCaption() { SetWindowTextGbk(hwnd(), data.caption); }
    void ApplyStoredFont() { ApplyFont(data.font, false); }

    void Paint(HDC dc) const {
        if (text.empty()) return;
        const int length = static_cast<int>(text.size());

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
            case WM_SETTEXT:
                text = lParam ? reinterpret_cast<const wchar_t*>(lParam) : L"";
                NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, hwnd(), OBJID_WINDOW, CHILDID_SELF);
                return TRUE;
            case WM_GETTEXTLENGTH:
                return static_cast<LRESULT>(text.size());
            case WM_GETTEXT: {
                auto* buffer = reinterpret_cast<wchar_t*>(lParam);
                if (!buffer || wParam == 0) return 0;
                const size_t n = std::min(text.size(), static_cast<size_t>(wParam) - 1);
                text.copy(buffer, n);
                buffer[n] = L'\0';
                return static_cast<LRESULT>(n);
            }
            case WM_MOVE: {
                LRESULT r = UnitObject::WindowProc(message, wParam, lParam);
                if (hwnd()) ShowThrough();
                return r;
            }
            default:
                return UnitObject::WindowProc(message, wParam, lParam);
        }
    }
};

UnitObject* CreateTransLabel(const UnitCreateArgs& a) {
    std::optional<TransLabelData> d = TransLabelData::Parse(a.typeData, a.typeDataLength);
    if (!d) return nullptr;
    if (!UnitObject::RegisterUnitClass(kTransLabelClass, CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS)) return nullptr;
    auto* label = new TransLabel(a.type, a.windowId, a.unitId);
    label->data = std::move(*d);
    label->text = WideFromGbk(label->data.caption.c_str(), label->data.caption.size());
    if (!label->CreateOwnWindow(WS_EX_TRANSPARENT, kTransLabelClass, nullptr,
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

HWND SeeThroughTop(HWND label) {
    HWND top = label;
    while (!(GetWindowLongW(top, GWL_STYLE) & WS_POPUP)) {
        HWND parent = GetParent(top);
        if (!parent) break;
        top = parent;
        if (const UnitObject* unit = UnitObject::FromHandle(top); unit && unit->ErasesWholeClient()) break;
    }
    return top;
}

bool SeeThroughRepaint(HWND label) {
    if (!label || !IsWindow(label)) return false;
    // A label that is not on screen (its window not yet shown, or its page hidden) shows
    // nothing through: whatever lies beneath it is drawn afresh when it appears, so the
    // repaint waits for that.
    if (!IsWindowVisible(label)) return false;
    HWND top = SeeThroughTop(label);

    RECT area;
    GetClientRect(label, &area);
    MapWindowPoints(label, top, reinterpret_cast<POINT*>(&area), 2);
    // The window server finds what the area meets: one request invalidates it in the top
    // window and in every visible window below (frames and erasing included for those),
    // and one paints them all at once, each parent before its children, so no window is
    // looked for one by one. Anti-aliased text drawn over itself grows darker, so every
    // window paints once, and see-through ones only after what lies beneath them: they are
    // held back and painted afterwards from the bottom up, the label's own text last.
    std::vector<HeldTransparentPaints::Held> held;
    {
        HeldTransparentPaints hold;
        RedrawWindow(top, &area, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        ValidateRect(label, nullptr);
        RedrawWindow(top, nullptr, nullptr, RDW_UPDATENOW | RDW_ERASENOW | RDW_ALLCHILDREN);
        held = hold.Take();
    }
    for (size_t i = held.size(); i-- > 0;) {
        if (held[i].hwnd == label || !IsWindow(held[i].hwnd)) continue;
        InvalidateRgn(held[i].hwnd, held[i].area.get(), FALSE);
        UpdateWindow(held[i].hwnd);
    }
    return IsWindow(label) != FALSE;
}

namespace {

const Behaviours<TransLabel> TransLabel::kBehaviours = {
    {"Caption", Applies<&TransLabel::ApplyCaption>()},
    {"Font", Applies<&TransLabel::ApplyStoredFont>()},
};

}  // namespace

extern const UnitOperations kTransLabelOperations =
    DescribedOperations<TransLabel>({.create = &CreateTransLabel, .enumerateTexts = &EnumerateTransLabelTexts});
