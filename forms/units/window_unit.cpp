// The window unit (type code 0x00010001): a top-level window built from its type data.
#include <algorithm>

#include "forms/type_data/window_data.h"
#include "forms/unit_object.h"
#include "forms/units/core_unit_types.h"
#include "forms/units/unit_helpers.h"
#include "forms/window_list.h"
#include "forms/window_loader.h"
#include "runtime/app.h"
#include "runtime/gbk_text.h"

namespace {

const wchar_t kWindowClass[] = L"_XR_Window";

class FormWindow : public UnitObject {
public:
    using UnitObject::UnitObject;
    WindowData data;

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
                RaiseUnitEvent(-7);
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
                RaiseUnitEvent(-8);
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
    auto* w = new FormWindow(&kWindowType, a.windowId, a.unitId);
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
    if (!owner && (a.extra1 != 0 || !w->data.showInTaskbar)) owner = App().hiddenOwner;
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

int32_t WriteWindowProperty(UnitObject* unit, int32_t index, const UnitPropertyValue& v) {
    auto* w = static_cast<FormWindow*>(unit);
    WindowData& d = w->data;
    auto u = static_cast<uint32_t>(v.integer);
    switch (index) {
        case 0:
            d.caption = v.text;
            SetWindowTextGbk(w->hwnd(), d.caption);
            break;
        case 1: d.borderStyle = static_cast<uint32_t>(Clamp(v.integer, 0, 6)); w->ApplyStyles(); break;
        case 2: d.backgroundColour = u; InvalidateRect(w->hwnd(), nullptr, TRUE); break;
        case 3: d.backgroundPicture = v.bytes; InvalidateRect(w->hwnd(), nullptr, TRUE); break;
        case 4: d.pictureSetting = static_cast<uint32_t>(Clamp(v.integer, 0, 3)); InvalidateRect(w->hwnd(), nullptr, TRUE); break;
        case 5: d.backgroundMusic = v.bytes; break;
        case 6: d.soundSetting = static_cast<uint32_t>(Clamp(v.integer, 0, 2)); break;
        case 7: d.controlBox = u; w->ApplyStyles(); break;
        case 8: d.maximiseBox = u; w->ApplyStyles(); break;
        case 9: d.minimiseBox = u; w->ApplyStyles(); break;
        case 10: d.position = static_cast<uint32_t>(Clamp(v.integer, 0, 3)); w->ApplyPosition(); break;
        case 11: d.movable = u; w->ApplyMovable(); break;
        case 12: d.icon = v.bytes; break;
        case 13: d.switch21 = u; break;
        case 14: d.switch22 = u; break;
        case 15: d.switch23 = u; break;
        case 16: d.fileName = v.text; break;
        case 17: d.integer25 = u; break;
        case 18: d.showInTaskbar = u; break;
        case 19: d.switch27 = u; break;
        case 20: d.choice28 = static_cast<uint32_t>(Clamp(v.integer, 0, 29)); break;
        case 21: d.alwaysOnTop = u; w->ApplyTopmost(); break;
        case 22: d.switch30 = u; break;
        case 23: break;  // the window class is fixed once the window exists
        default: break;
    }
    return 0;
}

bool ReadWindowProperty(UnitObject* unit, int32_t index, UnitPropertyValue* out) {
    auto* w = static_cast<FormWindow*>(unit);
    const WindowData& d = w->data;
    switch (index) {
        case 0: *out = TextValue(WindowTextGbk(w->hwnd())); return true;
        case 1: *out = IntValue(d.borderStyle); return true;
        case 2: *out = IntValue(d.backgroundColour); return true;
        case 3: *out = BytesValue(d.backgroundPicture); return true;
        case 4: *out = IntValue(d.pictureSetting); return true;
        case 5: *out = BytesValue(d.backgroundMusic); return true;
        case 6: *out = IntValue(d.soundSetting); return true;
        case 7: *out = IntValue(d.controlBox); return true;
        case 8: *out = IntValue(d.maximiseBox); return true;
        case 9: *out = IntValue(d.minimiseBox); return true;
        case 10: *out = IntValue(d.position); return true;
        case 11: *out = IntValue(d.movable); return true;
        case 12: *out = BytesValue(d.icon); return true;
        case 13: *out = IntValue(d.switch21); return true;
        case 14: *out = IntValue(d.switch22); return true;
        case 15: *out = IntValue(d.switch23); return true;
        case 16: *out = TextValue(d.fileName); return true;
        case 17: *out = IntValue(d.integer25); return true;
        case 18: *out = IntValue(d.showInTaskbar); return true;
        case 19: *out = IntValue(d.switch27); return true;
        case 20: *out = IntValue(d.choice28); return true;
        case 21: *out = IntValue(d.alwaysOnTop); return true;
        case 22: *out = IntValue(d.switch30); return true;
        case 23: *out = TextValue(d.className); return true;
        default: return false;
    }
}

std::vector<uint8_t> WindowPropertyData(UnitObject* unit) {
    auto* w = static_cast<FormWindow*>(unit);
    WindowData d = w->data;
    if (w->alive()) d.caption = WindowTextGbk(w->hwnd());
    return WindowData::Write(d);
}

void EnumerateWindowTexts(const uint8_t* data, uint32_t length, TextCallback callback, void* context) {
    std::optional<WindowData> d = WindowData::Parse(data, length);
    if (!d) return;
    EnumerateText(callback, context, d->caption);
    EnumerateText(callback, context, d->className);
    EnumerateText(callback, context, d->fileName);
}

AnyOperation WindowInterface(int32_t number) {
    switch (number) {
        case kInterfaceCreateUnit: return AsOperation(&CreateWindowUnit);
        case kInterfaceWriteProperty: return AsOperation(&WriteWindowProperty);
        case kInterfaceGetAllPropertyData: return AsOperation(&WindowPropertyData);
        case kInterfaceReadProperty: return AsOperation(&ReadWindowProperty);
        case kInterfaceWindowIcon: return AsOperation(&WindowIcon);
        case kInterfaceEnumerateTexts: return AsOperation(&EnumerateWindowTexts);
        default: return nullptr;
    }
}

using P = PropertyType;
const PropertyInfo kWindowProperties[32] = {
    MG_COMMON_PROPERTIES,
    {"Caption", P::kText, 0},
    {"BorderStyle", P::kPick, 0},
    {"BackgroundColour", P::kBackgroundColour, 0},
    {"BackgroundPicture", P::kPicture, 0},
    {"PictureSetting", P::kPick, 0},
    {"BackgroundMusic", P::kSound, 0},
    {"SoundSetting", P::kPick, 0},
    {"ControlBox", P::kSwitch, 0},
    {"MaximiseBox", P::kSwitch, 0},
    {"MinimiseBox", P::kSwitch, 0},
    {"Position", P::kPick, 0},
    {"Movable", P::kSwitch, 0},
    {"Icon", P::kIcon, 0},
    {"Switch21", P::kSwitch, 0},
    {"Switch22", P::kSwitch, 0},
    {"Switch23", P::kSwitch, 0},
    {"FileName", P::kFileName, 0},
    {"Integer25", P::kInteger, 0},
    {"ShowInTaskbar", P::kSwitch, 0},
    {"Switch27", P::kSwitch, 0},
    {"Choice28", P::kPick, 0},
    {"AlwaysOnTop", P::kSwitch, 0},
    {"Switch30", P::kSwitch, 0},
    {"ClassName", P::kText, kPropertyReadOnlyAtRunTime},
};

}  // namespace

void ReleaseDefaultIcons() {
    g_largeIcon.reset();
    g_smallIcon.reset();
}

const UnitTypeInfo kWindowType = {
    "窗口", "window", kTypeWindowUnit | kTypeRaisesEvents, 32, kWindowProperties, &WindowInterface,
};

void ShowLoadedWindow(UnitObject* window) {
    if (auto* form = dynamic_cast<FormWindow*>(window))
        form->ShowInitially();
    else if (window && window->alive())
        ShowWindow(window->hwnd(), SW_SHOW);
}
