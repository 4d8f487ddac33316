// The status bar: the common control "msctls_statusbar32" at the
// rectangle its record gives, with the parts of its type data.
#include <windows.h>

#include <commctrl.h>

#include "forms/type_data/status_bar_data.h"
#include "forms/described_unit.h"
#include "forms/units/unit_helpers.h"
#include "runtime/gbk_text.h"

namespace {

class StatusBar : public UnitObject {
public:
    using UnitObject::UnitObject;
    StatusBarData data;
    static const Behaviours<StatusBar> kBehaviours;

    void ApplyParts() {
        // Right edges from the widths; a width of -1 reaches the right edge.
        std::vector<int> edges;
        int right = 0;
        for (const StatusBarPart& p : data.parts) {
            if (p.width < 0) {
                edges.push_back(-1);
            } else {
                right += p.width;
                edges.push_back(right);
            }
        }
        if (edges.empty()) edges.push_back(-1);
        SendMessageW(hwnd(), SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
        for (size_t i = 0; i < data.parts.size() && i < 256; ++i) {
            const StatusBarPart& p = data.parts[i];
            std::wstring text = WideFromGbk(p.text.c_str(), p.text.size());
            WPARAM kind = static_cast<WPARAM>(i) | (p.flags & 0xFF00);
            SendMessageW(hwnd(), SB_SETTEXTW, kind, reinterpret_cast<LPARAM>(text.c_str()));
            if (!p.tip.empty()) {
                std::wstring tip = WideFromGbk(p.tip.c_str(), p.tip.size());
                SendMessageW(hwnd(), SB_SETTIPTEXTW, i, reinterpret_cast<LPARAM>(tip.c_str()));
            }
        }
    }
    void ApplyStoredFont() {
        ApplyFont(data.font, true);
        ApplyParts();
    }
    void ApplyBackground() {
        SendMessageW(hwnd(), SB_SETBKCOLOR, 0,
                     IsColourMarker(data.backgroundColour) ? static_cast<LPARAM>(CLR_DEFAULT) : static_cast<LPARAM>(data.backgroundColour));
    }
    COLORREF BackgroundColour() const override {
        return IsColourMarker(data.backgroundColour) ? GetSysColor(COLOR_BTNFACE) : static_cast<COLORREF>(data.backgroundColour);
    }
};

UnitObject* CreateStatusBar(const UnitCreateArgs& a) {
    std::optional<StatusBarData> d = StatusBarData::Parse(a.typeData, a.typeDataLength);
    if (!d) return nullptr;
    auto* s = new StatusBar(a.type, a.windowId, a.unitId);
    s->data = std::move(*d);
    // The record's rectangle is kept: no docking to the parent's bottom edge.
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER;
    if (!s->CreateSubclassedWindow(0, STATUSCLASSNAMEW, nullptr, style | (a.styleBits & ~WS_TABSTOP), a)) {
        delete s;
        return nullptr;
    }
    s->ApplyFont(s->data.font, false);
    s->ApplyBackground();
    s->ApplyParts();
    return s;
}

void EnumerateStatusBarTexts(const uint8_t* data, uint32_t length, TextCallback callback, void* context) {
    std::optional<StatusBarData> d = StatusBarData::Parse(data, length);
    if (!d) return;
    for (const StatusBarPart& p : d->parts) {
        EnumerateText(callback, context, p.text);
        EnumerateText(callback, context, p.tip);
    }
    EnumerateFontFace(callback, context, d->font);
}

// A parts block that does not hold exactly its parts is refused (not stored), not half applied.
const Behaviours<StatusBar> StatusBar::kBehaviours = {
    {"BackgroundColour", Applies<&StatusBar::ApplyBackground>()},
    {"Font", Applies<&StatusBar::ApplyStoredFont>()},
    {"Parts", Applies<&StatusBar::ApplyParts>()},
};

}  // namespace

extern const UnitOperations kStatusBarOperations =
    DescribedOperations<StatusBar>({.create = &CreateStatusBar, .enumerateTexts = &EnumerateStatusBarTexts});
