// The window unit: a top-level window built from its type data.
#include <algorithm>

#include "forms/type_data/window_data.h"
#include "forms/described_unit.h"
#include "forms/units/window_unit.h"
#include "forms/units/unit_helpers.h"
#include "forms/window_list.h"
#include "forms/window_loader.h"
#include "runtime/app.h"
#include "runtime/gbk_text.h"

namespace {

const wchar_t kWindowClass[] = L"_XR_Window";

class FormWindow : public UnitObject {
public:
    FormWindow(const UnitTypeInfo* type, uint32_t windowId, uint32_t unitId) : UnitObject(type, windowId, unitId) {
        ownFocusEvents_ = false;  // the window passes the focus on to a unit after its GotFocus
    }
    WindowData data;
    static const Behaviours<FormWindow> kBehaviours;

    // The caption as the window shows it.
    void BeforeRead() {
        if (alive()) data.caption = WindowTextGbk(hwnd());
    }

    COLORREF BackgroundColour() const override { return ResolveColour(data.backgroundColour, COLOR_BTNFACE); }
    bool Resizable() const { return data.borderStyle == 1 || data.borderStyle == 3 || data.borderStyle == 5; }

    void Styles(DWORD* style, DWORD* exStyle) const {
        bool caption = !data.caption.empty() || data.controlBox;
        *style = WS_CLIPSIBLINGS;
        *exStyle = 0;
        if (data.borderStyle == 0 || data.borderStyle > 6) {
            *style |= WS_POPUP;
        } else {
            // Without a caption a top-level window must be a pop-up, or it gets one anyway.
            *style |= caption ? WS_CAPTION : WS_POPUP;
            if (Resizable())
                *style |= WS_THICKFRAME;
            else if (!caption)
                *style |= WS_DLGFRAME;
            if (data.borderStyle == 3 || data.borderStyle == 4) *exStyle |= WS_EX_TOOLWINDOW;
            if (data.borderStyle == 5 || data.borderStyle == 6) *exStyle |= WS_EX_CLIENTEDGE;
        }
        if (data.controlBox) *style |= WS_SYSMENU;
        if (data.maximiseBox) *style |= WS_MAXIMIZEBOX;
        if (data.minimiseBox) *style |= WS_MINIMIZEBOX;
        if (data.alwaysOnTop) *exStyle |= WS_EX_TOPMOST;
    }

    // Border and boxes changed: the frame is rebuilt in place, keeping the visibility and
    // the minimised or maximised state.
    void ApplyStyles() {
        DWORD style, exStyle;
        Styles(&style, &exStyle);
        LONG keep = GetWindowLongW(hwnd(), GWL_STYLE) & (WS_VISIBLE | WS_MINIMIZE | WS_MAXIMIZE | WS_DISABLED);
        SetWindowLongW(hwnd(), GWL_STYLE, static_cast<LONG>(style) | keep);
        LONG keepEx = GetWindowLongW(hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST;
        SetWindowLongW(hwnd(), GWL_EXSTYLE, static_cast<LONG>(exStyle & ~WS_EX_TOPMOST) | keepEx);
        SetWindowPos(hwnd(), nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }

    void ApplyMovable() {
        if (data.movable) {
            GetSystemMenu(hwnd(), TRUE);  // back to the standard system menu
        } else if (HMENU menu = GetSystemMenu(hwnd(), FALSE)) {
            DeleteMenu(menu, SC_MOVE, MF_BYCOMMAND);
        }
    }

    void CentreOnScreen() {
        RECT r;
        GetWindowRect(hwnd(), &r);
        int w = r.right - r.left, h = r.bottom - r.top;
        SetWindowPos(hwnd(), nullptr, (GetSystemMetrics(SM_CXSCREEN) - w) / 2, (GetSystemMetrics(SM_CYSCREEN) - h) / 2, 0,
                     0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    void ApplyPosition() {
        if (!IsWindowVisible(hwnd())) return;
        switch (data.position) {
            case 0: ShowWindow(hwnd(), SW_SHOWNORMAL); break;
            case 1:
                if (IsIconic(hwnd()) || IsZoomed(hwnd())) ShowWindow(hwnd(), SW_RESTORE);
                CentreOnScreen();
                break;
            case 2: ShowWindow(hwnd(), SW_MINIMIZE); break;
            case 3: ShowWindow(hwnd(), SW_MAXIMIZE); break;
            default: break;
        }
    }

    void ApplyTopmost();
    void ApplyCaption() { SetWindowTextGbk(hwnd(), data.caption); }
    void Repaint() { InvalidateRect(hwnd(), nullptr, TRUE); }

    void ShowInitially() {
        int command = SW_SHOW;
        if (data.position == 2)
            command = SW_SHOWMINIMIZED;
        else if (data.position == 3 && Resizable())
            command = SW_SHOWMAXIMIZED;
        ShowWindow(hwnd(), command);
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
            case WM_ERASEBKGND: {
                RECT r;
                GetClientRect(hwnd(), &r);
                FillRect(reinterpret_cast<HDC>(wParam), &r, BackgroundBrush());
                return 1;
            }
            case WM_ACTIVATE:
                if (LOWORD(wParam) == WA_INACTIVE) {
                    HWND focus = GetFocus();
                    if (WindowEntry* e = FindWindowEntry(windowId()); e && focus && IsChild(hwnd(), focus)) e->lastFocus = focus;
                }
                break;
            case WM_SETFOCUS: {
                FocusChanged(true);
                WindowEntry* e = FindLoadedWindow(windowId());
                if (!e || !alive() || GetFocus() != hwnd()) return 0;
                if (e->lastFocus && IsWindow(e->lastFocus) && IsChild(hwnd(), e->lastFocus)) {
                    SetFocus(e->lastFocus);
                } else {
                    e->lastFocus = nullptr;
                    FocusFirstUnit(*e);
                }
                return 0;
            }
            case WM_KILLFOCUS:
                FocusChanged(false);
                return 0;
            case WM_DESTROY:
                if (WindowEntry* e = FindWindowEntry(windowId())) e->destroying = true;
                break;
            default:
                break;
        }
        return UnitObject::WindowProc(message, wParam, lParam);
    }

    void OnFinalDestroy() override {
        if (WindowEntry* e = FindWindowEntry(windowId()); e && e->WindowObject() == this) WindowUnloaded(*e);
    }
};

void FormWindow::ApplyTopmost() {
    SetWindowPos(hwnd(), data.alwaysOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (data.alwaysOnTop) return;
    // Making one window normal must not push the others that asked to stay on top down.
    for (WindowEntry* e : TheWindowList().windows) {
        auto* other = e->loaded ? dynamic_cast<FormWindow*>(e->WindowObject()) : nullptr;
        if (other && other != this && other->alive() && other->data.alwaysOnTop)
            SetWindowPos(other->hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

// The default icons, loaded on first use and kept until the program's end.
win::Icon g_largeIcon, g_smallIcon;

HICON DefaultIcon(bool large) {
    win::Icon& slot = large ? g_largeIcon : g_smallIcon;
    if (!slot) {
        int cx = GetSystemMetrics(large ? SM_CXICON : SM_CXSMICON), cy = GetSystemMetrics(large ? SM_CYICON : SM_CYSMICON);
        slot.reset(static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), L"DEFAULT_ICON", IMAGE_ICON, cx, cy, 0)));
        if (!slot) slot.reset(CopyIcon(LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION))));
    }
    return slot.get();
}

HICON WindowIcon(UnitObject*, bool large) { return DefaultIcon(large); }

UnitObject* CreateWindowUnit(const UnitCreateArgs& a) {
    std::optional<WindowData> d = WindowData::Parse(a.typeData, a.typeDataLength);
    if (!d) return nullptr;
    auto* w = new FormWindow(a.type, a.windowId, a.unitId);
    w->data = std::move(*d);

    const wchar_t* className = kWindowClass;
    std::wstring customClass = WideFromGbk(w->data.className.c_str());
    if (!customClass.empty()) className = customClass.c_str();
    UnitObject::RegisterUnitClass(className, CS_DBLCLKS);

    DWORD style, exStyle;
    w->Styles(&style, &exStyle);
    // A modal window, or one that keeps out of the taskbar, is owned by the runtime's
    // hidden owner window when no owner was given.
    HWND owner = a.parent;
    if (!owner && (a.extra1 != 0 || !w->data.showInTaskbar)) owner = App().hiddenOwner.get();
    int x = a.left, y = a.top;
    if (w->data.position == 1) {
        x = (GetSystemMetrics(SM_CXSCREEN) - a.width) / 2;
        y = (GetSystemMetrics(SM_CYSCREEN) - a.height) / 2;
    }
    std::wstring caption = WideFromGbk(w->data.caption.c_str(), w->data.caption.size());
    HWND hwnd = w->CreateOwnWindowAt(exStyle, className, caption.c_str(), style, x, y, a.width, a.height, owner, a.menu);
    if (!hwnd) {
        delete w;
        return nullptr;
    }
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    SendMessageW(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(WindowIcon(w, true)));
    SendMessageW(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(WindowIcon(w, false)));
    if (!w->data.movable) w->ApplyMovable();
    // The frame may have changed the size; the stored outer size is kept.
    RECT r;
    GetWindowRect(hwnd, &r);
    if (r.right - r.left != a.width || r.bottom - r.top != a.height)
        SetWindowPos(hwnd, nullptr, x, y, a.width, a.height, SWP_NOZORDER | SWP_NOACTIVATE);
    return w;
}

void EnumerateWindowTexts(const uint8_t* data, uint32_t length, TextCallback callback, void* context) {
    std::optional<WindowData> d = WindowData::Parse(data, length);
    if (!d) return;
    EnumerateText(callback, context, d->caption);
    EnumerateText(callback, context, d->className);
    EnumerateText(callback, context, d->fileName);
}

const Behaviours<FormWindow> FormWindow::kBehaviours = {
    {"Caption", Applies<&FormWindow::ApplyCaption>()},
    {"BorderStyle", Applies<&FormWindow::ApplyStyles>()},
    {"ControlBox", Applies<&FormWindow::ApplyStyles>()},
    {"MaximiseBox", Applies<&FormWindow::ApplyStyles>()},
    {"MinimiseBox", Applies<&FormWindow::ApplyStyles>()},
    {"BackgroundColour", Applies<&FormWindow::Repaint>()},
    {"BackgroundPicture", Applies<&FormWindow::Repaint>()},
    {"PictureSetting", Applies<&FormWindow::Repaint>()},
    {"Position", Applies<&FormWindow::ApplyPosition>()},
    {"Movable", Applies<&FormWindow::ApplyMovable>()},
    {"AlwaysOnTop", Applies<&FormWindow::ApplyTopmost>()},
};

}  // namespace

extern const UnitOperations kWindowOperations = DescribedOperations<FormWindow>(
    {.create = &CreateWindowUnit, .windowIcon = &WindowIcon, .enumerateTexts = &EnumerateWindowTexts});

void ReleaseDefaultIcons() {
    g_largeIcon.reset();
    g_smallIcon.reset();
}

void ShowLoadedWindow(UnitObject* window) {
    if (auto* form = dynamic_cast<FormWindow*>(window))
        form->ShowInitially();
    else if (window && window->alive())
        ShowWindow(window->hwnd(), SW_SHOW);
}
