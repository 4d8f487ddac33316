// The group box: a "BUTTON" with BS_GROUPBOX that holds units.
// Its units are made inside it at load, so it paints its own background (the button class
// leaves it to the parent) and see-through children find it drawn.
#include <memory>

#include "forms/type_data/group_box_data.h"
#include "forms/described_unit.h"
#include "forms/units/unit_helpers.h"
#include "runtime/gbk_text.h"

namespace {

class GroupBox : public UnitObject {
public:
    using UnitObject::UnitObject;
    GroupBoxData data;
    static const Behaviours<GroupBox> kBehaviours;

    // The caption as the window shows it.
    void BeforeRead() {
        if (alive()) data.caption = WindowTextGbk(hwnd());
    }
    void ApplyCaption() { SetWindowTextGbk(hwnd(), data.caption); }
    void ApplyStoredFont() { ApplyFont(data.font, false); }
    void AfterEveryWrite(const FieldDescription&) {
        RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }

    COLORREF BackgroundColour() const override {
        return IsColourMarker(data.backgroundColour) ? UnitObject::BackgroundColour()
                                                     : static_cast<COLORREF>(data.backgroundColour);
    }

    bool ErasesWholeClient() const override { return true; }

    // Its paint of the area `dc` lets through, kept and copied again until the box takes a
    // message: only a message (a write, a new text or font, a repaint) changes what it paints,
    // and a clock label over it asks every second.
    bool PaintClientInto(HDC dc) override {
        RECT area;
        if (GetClipBox(dc, &area) == ERROR || IsRectEmpty(&area)) return PaintInto(dc);
        const int width = area.right - area.left, height = area.bottom - area.top;
        if (!kept_ || !EqualRect(&area, &keptArea_) || keptAt_ != messagesTaken_) {
            kept_.reset();
            auto copy = std::make_unique<win::OffscreenBitmap>(dc, width, height);
            if (!*copy) return PaintInto(dc);
            SetViewportOrgEx(copy->dc(), -area.left, -area.top, nullptr);
            PaintInto(copy->dc());
            kept_ = std::move(copy);
            keptArea_ = area;
            keptAt_ = messagesTaken_;  // after the paint's own messages
        }
        return BitBlt(dc, area.left, area.top, width, height, kept_->dc(), area.left, area.top, SRCCOPY) != FALSE;
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        ++messagesTaken_;
        if (message == WM_ERASEBKGND) {
            RECT r;
            GetClientRect(hwnd(), &r);
            FillRect(reinterpret_cast<HDC>(wParam), &r, BackgroundBrush());
            return 1;
        }
        return UnitObject::WindowProc(message, wParam, lParam);
    }

    bool OnReflected(UINT message, WPARAM wParam, LPARAM, LRESULT* result) override {
        if (message != WM_CTLCOLORSTATIC && message != WM_CTLCOLORBTN) return false;
        auto dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, ResolveColour(data.textColour, COLOR_WINDOWTEXT));
        SetBkColor(dc, BackgroundColour());
        *result = reinterpret_cast<LRESULT>(BackgroundBrush());
        return true;
    }

private:
    // Its erase, then the button's own paint of the frame and caption; the DC as it was after.
    bool PaintInto(HDC dc) {
        const int saved = SaveDC(dc);
        SendMessageW(hwnd(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        SendMessageW(hwnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
        RestoreDC(dc, saved);
        return true;
    }

    std::unique_ptr<win::OffscreenBitmap> kept_;  // the paint under a label, while messagesTaken_ is keptAt_
    RECT keptArea_ = {};
    uint64_t keptAt_ = 0;
    uint64_t messagesTaken_ = 0;
};

UnitObject* CreateGroupBox(const UnitCreateArgs& a) {
    std::optional<GroupBoxData> d = GroupBoxData::Parse(a.typeData, a.typeDataLength);
    if (!d) return nullptr;
    auto* g = new GroupBox(a.type, a.windowId, a.unitId);
    g->data = std::move(*d);
    std::wstring caption = WideFromGbk(g->data.caption.c_str(), g->data.caption.size());
    // WS_EX_CONTROLPARENT: Tab moves into the units it holds.
    if (!g->CreateSubclassedWindow(WS_EX_CONTROLPARENT, L"BUTTON", caption.c_str(),
                                   WS_CHILD | WS_CLIPSIBLINGS | BS_GROUPBOX | (a.styleBits & ~WS_TABSTOP), a)) {
        delete g;
        return nullptr;
    }
    g->ApplyFont(g->data.font, false);
    return g;
}

void EnumerateGroupBoxTexts(const uint8_t* data, uint32_t length, TextCallback callback, void* context) {
    std::optional<GroupBoxData> d = GroupBoxData::Parse(data, length);
    if (!d) return;
    EnumerateText(callback, context, d->caption);
    EnumerateFontFace(callback, context, d->font);
}

const Behaviours<GroupBox> GroupBox::kBehaviours = {
    {"Caption", Applies<&GroupBox::ApplyCaption>()},
    {"Font", Applies<&GroupBox::ApplyStoredFont>()},
};

}  // namespace

extern const UnitOperations kGroupBoxOperations =
    DescribedOperations<GroupBox>({.create = &CreateGroupBox, .enumerateTexts = &EnumerateGroupBoxTexts});
