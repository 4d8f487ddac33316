#include "controls/page_control_unit.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <vector>

#include "controls/page_control_data.h"
#include "forms/unit_font.h"
#include "forms/described_unit.h"
#include "forms/units/unit_helpers.h"
#include "forms/window_list.h"
#include "runtime/entries.h"
#include "runtime/gbk_text.h"

namespace {

// Posted after loading when the control starts on another page than the first: the
// loader has shown the first page's units by then.
constexpr UINT kSyncPageUnitsMessage = WM_APP + 1;

// Strip geometry in pixels.
constexpr int kStripLeft = 2;     // first tab's left edge
constexpr int kTabTop = 3;        // top of the tabs that are not current
constexpr int kTabPadding = 10;   // beside each caption
constexpr int kMinTabWidth = 40;
constexpr int kCurrentRise = 2;   // the current tab stands this much wider and higher

struct Tab {
    int page;
    RECT rect;  // as the tab sits when it is not current
};

COLORREF Blend(COLORREF a, COLORREF b, int percentOfB) {
    auto mix = [&](int x, int y) { return static_cast<BYTE>((x * (100 - percentOfB) + y * percentOfB) / 100); };
    return RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)), mix(GetBValue(a), GetBValue(b)));
}

void Fill(HDC dc, const RECT& r, COLORREF colour) {
    SetBkColor(dc, colour);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

class PageControl : public UnitObject {
public:
    using UnitObject::UnitObject;
    PageControlData data;
    static const Behaviours<PageControl> kBehaviours;

    // The current page is kept in the type data, so that a rebuilt control starts on it.
    void BeforeRead() { data.setting16 = static_cast<uint32_t>(current < 0 ? 0 : current); }
    // Every stored setting can move the tabs or change how they look.
    void AfterEveryWrite(const FieldDescription&) {
        Layout();
        InvalidateRect(hwnd(), nullptr, FALSE);
    }
    int current = -1;  // page index over all pages, -1 none
    std::vector<Tab> tabs;
    int stripHeight = 24;

    int PageCount() const { return static_cast<int>(data.pages.size()); }
    bool HasTab(int page) const { return page >= 0 && page < PageCount() && !data.pages[static_cast<size_t>(page)].hidden; }
    int FirstTabbedPage() const {
        for (int p = 0; p < PageCount(); ++p)
            if (HasTab(p)) return p;
        return -1;
    }
    int TabOfPage(int page) const {
        for (size_t t = 0; t < tabs.size(); ++t)
            if (tabs[t].page == page) return static_cast<int>(t);
        return -1;
    }
    int PageOfTab(int tab) const { return tab >= 0 && tab < static_cast<int>(tabs.size()) ? tabs[static_cast<size_t>(tab)].page : -1; }

    // Colours of the strip: the stored settings where they hold one, else system colours.
    COLORREF StripColour() const { return ResolveColour(data.settings34[1], COLOR_BTNFACE); }
    COLORREF PageColour() const { return ResolveColour(data.settings34[2], COLOR_BTNFACE); }
    COLORREF CurrentTabColour() const { return ResolveColour(data.settings34[3], COLOR_BTNFACE); }
    COLORREF FrameColour() const { return ResolveColour(data.colours[9], COLOR_BTNSHADOW); }
    COLORREF TextColour() const { return ResolveColour(data.colours[4], COLOR_BTNTEXT); }
    COLORREF AccentColour() const { return Blend(ResolveColour(data.colours[6], COLOR_HIGHLIGHT), PageColour(), 30); }

    COLORREF BackgroundColour() const override { return PageColour(); }

    std::wstring Caption(int page) const {
        const std::string& c = data.pages[static_cast<size_t>(page)].caption;
        return WideFromGbk(c.c_str(), c.size());
    }

    void Layout() {
        tabs.clear();
        win::WindowDc window(hwnd());
        HDC dc = window.get();
        if (!dc) return;
        win::Selection selected(dc, font());
        TEXTMETRICW tm = {};
        GetTextMetricsW(dc, &tm);
        int stored = static_cast<int>(data.settingsB[0]);
        stripHeight = std::max(static_cast<int>(tm.tmHeight) + 10, stored > 0 && stored <= 200 ? stored : 0);
        int x = kStripLeft;
        for (int p = 0; p < PageCount(); ++p) {
            if (!HasTab(p)) continue;
            std::wstring caption = Caption(p);
            SIZE extent = {};
            GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &extent);
            int width = std::max(static_cast<int>(extent.cx) + 2 * kTabPadding, kMinTabWidth);
            tabs.push_back({p, {x, kTabTop, x + width, stripHeight}});
            x += width;
        }
    }

    RECT TabRect(size_t tab) const {
        RECT r = tabs[tab].rect;
        if (tabs[tab].page == current) {
            InflateRect(&r, kCurrentRise, 0);
            r.top -= kCurrentRise;
            r.bottom += 1;  // over the page's top edge, so the tab and its page are one
        }
        return r;
    }

    int HitTest(POINT pt) const {
        int currentTab = TabOfPage(current);
        if (currentTab >= 0) {
            RECT r = TabRect(static_cast<size_t>(currentTab));
            if (PtInRect(&r, pt)) return currentTab;
        }
        for (size_t t = 0; t < tabs.size(); ++t) {
            RECT r = TabRect(t);
            if (PtInRect(&r, pt)) return static_cast<int>(t);
        }
        return -1;
    }

    void RepaintStrip() {
        RECT client;
        GetClientRect(hwnd(), &client);
        RECT strip = {client.left, client.top, client.right, stripHeight + 1};
        // Units reaching into the strip (see-through labels above all) draw again over it.
        RedrawWindow(hwnd(), &strip, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }

    void DrawTab(HDC dc, size_t tab) const {
        bool isCurrent = tabs[tab].page == current;
        RECT r = TabRect(tab);
        Fill(dc, r, isCurrent ? CurrentTabColour() : Blend(StripColour(), FrameColour(), 22));
        {
            win::Pen pen(CreatePen(PS_SOLID, 1, FrameColour()));
            win::Selection selected(dc, pen.get());
            MoveToEx(dc, r.left, r.bottom - 1, nullptr);
            LineTo(dc, r.left, r.top);
            LineTo(dc, r.right - 1, r.top);
            LineTo(dc, r.right - 1, r.bottom);
        }
        if (isCurrent) Fill(dc, {r.left + 1, r.top + 1, r.right - 1, r.top + 3}, AccentColour());

        std::wstring caption = Caption(tabs[tab].page);
        RECT text = r;
        text.top += isCurrent ? 2 : 1;
        if (isCurrent) text.bottom -= 1;
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, TextColour());
        DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }

    void Paint(HDC target, const RECT& update) const {
        RECT client;
        GetClientRect(hwnd(), &client);
        int w = update.right - update.left, h = update.bottom - update.top;
        if (client.right <= 0 || client.bottom <= 0 || w <= 0 || h <= 0) return;
        // Drawn off screen first: the strip changes under the user's click. Only the part to
        // be painted is drawn: a see-through label above the page repaints a few pixels of it
        // at every caption write. Without the memory for that copy it is drawn straight on.
        win::OffscreenBitmap offscreen(target, w, h);
        if (!offscreen) {
            Draw(target, client, update);
            return;
        }
        SetViewportOrgEx(offscreen.dc(), -update.left, -update.top, nullptr);
        Draw(offscreen.dc(), client, update);
        BitBlt(target, update.left, update.top, w, h, offscreen.dc(), update.left, update.top, SRCCOPY);
    }

    void Draw(HDC dc, const RECT& client, const RECT& update) const {
        win::Selection selected(dc, font());
        Fill(dc, client, StripColour());
        RECT page = {0, stripHeight, client.right, client.bottom};
        Fill(dc, page, PageColour());
        win::Brush frame(CreateSolidBrush(FrameColour()));
        FrameRect(dc, &page, frame.get());
        int currentTab = TabOfPage(current);
        auto drawIfSeen = [&](size_t t) {
            RECT r = TabRect(t), overlap;
            if (IntersectRect(&overlap, &r, &update)) DrawTab(dc, t);
        };
        for (size_t t = 0; t < tabs.size(); ++t)
            if (static_cast<int>(t) != currentTab) drawIfSeen(t);
        if (currentTab >= 0) drawIfSeen(static_cast<size_t>(currentTab));
    }

    // A unit of a loaded window; otherwise the control is hosted by a window of its own
    // caller, and has neither events nor units to show.
    bool IsLoadedUnit() const { return FindUnitObject(windowId(), unitId()) == this; }

    // Has the runtime show the current page's units (and move the focus there); a control
    // that is no unit of a loaded window tells its host instead.
    void ShowCurrentUnits() {
        if (IsLoadedUnit()) {
            RtNotify(kNotifyPageChanged, static_cast<intptr_t>(windowId()), static_cast<intptr_t>(unitId()));
        } else if (HWND host = GetParent(hwnd())) {
            SendMessageW(host, kPageHostMessage, static_cast<WPARAM>(current), reinterpret_cast<LPARAM>(hwnd()));
        }
    }

    // The events and the units follow only a change made by the user or a property write;
    // TCM_SETCURSEL selects silently, as the platform's tab control does.
    bool SelectPage(int page, bool announce) {
        if (!HasTab(page)) return false;
        const int old = current;
        const bool changes = page != old;
        if (changes && announce && IsLoadedUnit()) {
            EventOutcome changing = Raise(PageControlData::PageChanging, page);
            if (!alive() || changing.Refused() || !HasTab(page)) return false;
        }
        current = page;
        data.setting16 = static_cast<uint32_t>(page);
        RepaintStrip();
        if (changes && announce) {
            ShowCurrentUnits();
            if (alive() && IsLoadedUnit()) Raise(PageControlData::PageChanged);
        }
        return true;
    }

    // The loader shows the units of the first page; a control that starts elsewhere puts
    // them in line without moving the focus.
    void SyncUnitsAfterLoad() {
        WindowEntry* entry = FindLoadedWindow(windowId());
        if (!entry || !IsLoadedUnit() || current < 0) return;
        ShowPageUnits(*entry, position(), current);
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
            case WM_ERASEBKGND:
                return 1;  // painted with the strip
            case WM_PAINT: {
                win::PaintDc paint(hwnd());
                Paint(paint.get(), paint.area());
                return 0;
            }
            case WM_SIZE:
                InvalidateRect(hwnd(), nullptr, FALSE);
                break;
            case WM_LBUTTONDOWN:
            case WM_LBUTTONDBLCLK: {
                int tab = HitTest({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
                if (tab >= 0) SelectPage(PageOfTab(tab), true);
                return 0;
            }
            case TCM_GETITEMCOUNT:
                return static_cast<LRESULT>(tabs.size());
            case TCM_GETCURSEL:
                return TabOfPage(current);
            case TCM_SETCURSEL: {
                int page = PageOfTab(static_cast<int>(wParam));
                if (page < 0) return -1;
                int previous = TabOfPage(current);
                SelectPage(page, false);
                return previous;
            }
            case TCM_HITTEST: {
                auto* info = reinterpret_cast<TCHITTESTINFO*>(lParam);
                if (!info) return -1;
                int tab = HitTest(info->pt);
                info->flags = tab >= 0 ? TCHT_ONITEM : TCHT_NOWHERE;
                return tab;
            }
            case TCM_GETITEMRECT: {
                auto* r = reinterpret_cast<RECT*>(lParam);
                if (!r || wParam >= tabs.size()) return FALSE;
                *r = TabRect(wParam);
                return TRUE;
            }
            case TCM_GETITEMW: {
                auto* item = reinterpret_cast<TCITEMW*>(lParam);
                int page = PageOfTab(static_cast<int>(wParam));
                if (!item || page < 0) return FALSE;
                if (item->mask & TCIF_PARAM) item->lParam = page;
                if ((item->mask & TCIF_TEXT) && item->pszText && item->cchTextMax > 0) {
                    std::wstring caption = Caption(page);
                    lstrcpynW(item->pszText, caption.c_str(), item->cchTextMax);
                }
                return TRUE;
            }
            case kSyncPageUnitsMessage:
                SyncUnitsAfterLoad();
                return 0;
            default:
                break;
        }
        return UnitObject::WindowProc(message, wParam, lParam);
    }

    void OnRuntimeMessage(UINT message) override {
        if (message == kUnitLoadedMessage && current > 0) PostMessageW(hwnd(), kSyncPageUnitsMessage, 0, 0);
    }
};

void ApplyTabFont(PageControl* c) { c->ApplyFont(EncodeFont(c->data.tabFont), false); }

UnitObject* CreatePageControl(const UnitCreateArgs& a) {
    std::optional<PageControlData> d = PageControlData::Parse(a.typeData, a.typeDataLength);
    if (!d) return nullptr;
    if (!UnitObject::RegisterUnitClass(kPageControlClass, CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS)) return nullptr;
    auto* c = new PageControl(a.type, a.windowId, a.unitId);
    c->data = std::move(*d);
    int named = static_cast<int>(c->data.setting16);
    c->current = c->HasTab(named) ? named : c->FirstTabbedPage();
    // The control never takes the focus itself; Tab walks into the units of its page.
    if (!c->CreateOwnWindow(WS_EX_CONTROLPARENT, kPageControlClass, L"",
                            WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | (a.styleBits & ~WS_TABSTOP), a)) {
        delete c;
        return nullptr;
    }
    ApplyTabFont(c);
    c->Layout();
    return c;
}

void EnumeratePageControlTexts(const uint8_t* typeData, uint32_t length, TextCallback callback, void* context) {
    std::optional<PageControlData> d = PageControlData::Parse(typeData, length);
    if (!d) return;
    for (const PageControlPage& p : d->pages) {
        EnumerateText(callback, context, p.caption);
        EnumerateText(callback, context, p.secondText);
    }
    EnumerateText(callback, context, d->tabFont.Face());
}

// A font block of another length than a LOGFONTA's is the default GUI font.
int32_t FontWrite(PageControl& c, const UnitPropertyValue& v) {
    c.data.tabFont = v.bytes.size() == sizeof(LogFontBytes) ? LogFontFromBytes(v.bytes.data()) : FontBytesOf(nullptr);
    ApplyTabFont(&c);
    c.AfterEveryWrite({});
    return 0;
}

int32_t PagesWritten(PageControl& c) {
    if (!c.HasTab(c.current)) c.current = c.FirstTabbedPage();
    return 0;
}

bool CurrentPageRead(PageControl& c, UnitPropertyValue* out) {
    *out = IntValue(c.current);
    return true;
}

int32_t CurrentPageWrite(PageControl& c, const UnitPropertyValue& v) {
    c.SelectPage(v.integer, true);
    return 0;
}

const Behaviours<PageControl> PageControl::kBehaviours = {
    {"Font", WriteWith(&FontWrite)},
    {"Pages", Written(&PagesWritten)},
    {"Setting13", ReadWith(&CurrentPageRead).WriteWith(&CurrentPageWrite)},
};

int32_t CurrentPage(UnitObject* unit) { return static_cast<PageControl*>(unit)->current; }

}  // namespace

extern const UnitOperations kPageControlOperations = DescribedOperations<PageControl>(
    {.create = &CreatePageControl, .enumerateTexts = &EnumeratePageControlTexts, .currentPage = &CurrentPage});
