#include "forms/unit_object.h"

#include <commctrl.h>

#include <utility>

#include "forms/events.h"
#include "forms/unit_font.h"
#include "forms/window_list.h"

namespace {

// The window property that links a unit window to its object; readable from any thread.
const wchar_t kUnitProperty[] = L"MgUnitObject";
const wchar_t kOriginalProcProperty[] = L"MgUnitOriginalProc";

// Object handed from CreateOwnWindow to the class procedure's WM_NCCREATE.
thread_local UnitObject* t_creating = nullptr;
thread_local HeldTransparentPaints* t_heldPaints = nullptr;

bool IsCtlColor(UINT message) { return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC; }

// The child window a parent notification is about, or null.
HWND NotifyingChild(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            return reinterpret_cast<HWND>(lParam);
        case WM_NOTIFY:
            return lParam ? reinterpret_cast<const NMHDR*>(lParam)->hwndFrom : nullptr;
        case WM_DRAWITEM:
            return lParam ? reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->hwndItem : nullptr;
        case WM_HSCROLL:
        case WM_VSCROLL:
            return reinterpret_cast<HWND>(lParam);
        default:
            return IsCtlColor(message) ? reinterpret_cast<HWND>(lParam) : nullptr;
    }
    (void)wParam;
}

// The object in its own slot of a loaded window's unit table (the window itself included).
bool IsLoadedUnit(const UnitObject* object) {
    if (object->position() < 0) return false;
    WindowEntry* entry = FindLoadedWindow(object->windowId());
    return entry && entry->ObjectAt(static_cast<size_t>(object->position())) == object;
}

// The unit a notification from `child` goes back to when `receiver` gets it, or null.
// Several of the platform's controls (combo box, list box, list view, edit box) keep
// notifying the window they were created on, even after a rebuild or a move has given them
// another parent: a unit of a loaded window is answered by whichever window of that same
// loaded window receives its notification, and never by another window's. A unit outside
// the loaded windows (one being built, or hosted elsewhere) answers to its parent.
UnitObject* ReflectionTarget(const UnitObject* receiver, HWND child) {
    UnitObject* unit = UnitObject::FromHandle(child);
    if (!unit || unit == receiver) return nullptr;
    if (IsLoadedUnit(unit))
        return unit->windowId() == receiver->windowId() && IsLoadedUnit(receiver) ? unit : nullptr;
    return GetParent(child) == receiver->hwnd() ? unit : nullptr;
}

}  // namespace

HeldTransparentPaints::HeldTransparentPaints() : saved_(t_heldPaints) { t_heldPaints = this; }

HeldTransparentPaints::~HeldTransparentPaints() { t_heldPaints = saved_; }

bool HeldTransparentPaints::Hold(HWND hwnd) {
    if (!t_heldPaints) return false;
    win::Region area(CreateRectRgn(0, 0, 0, 0));
    GetUpdateRgn(hwnd, area.get(), FALSE);
    ValidateRgn(hwnd, nullptr);
    t_heldPaints->held_.push_back({hwnd, std::move(area)});
    return true;
}

COLORREF ResolveColour(uint32_t colour, int systemColourIndex) {
    return (colour & 0xFF000000) ? GetSysColor(systemColourIndex) : static_cast<COLORREF>(colour);
}

UnitObject::UnitObject(const UnitTypeInfo* type, uint32_t windowId, uint32_t unitId)
    : type_(type), windowId_(windowId), unitId_(unitId) {}

UnitObject::~UnitObject() = default;

HBRUSH UnitObject::BrushCache::Get(COLORREF c) {
    if (!brush || colour != c) {
        brush.reset(CreateSolidBrush(c));
        colour = c;
    }
    return brush.get();
}

// Windows of the runtime's own classes keep their object in their extra bytes as well, and
// subclassed controls in their user data: both are read without asking the window server (a
// window property is a server request under Wine, and this lookup runs for every message a
// unit gets). A window subclassed again by someone else is found through the property.
UnitObject* UnitObject::FromHandle(HWND hwnd) {
    if (!hwnd) return nullptr;
    const LONG_PTR procedure = GetWindowLongPtrW(hwnd, GWLP_WNDPROC);
    if (procedure == reinterpret_cast<LONG_PTR>(&UnitObject::OwnClassProc))
        return reinterpret_cast<UnitObject*>(GetWindowLongPtrW(hwnd, 0));
    if (procedure == reinterpret_cast<LONG_PTR>(&UnitObject::SubclassProc))
        return reinterpret_cast<UnitObject*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    return static_cast<UnitObject*>(GetPropW(hwnd, kUnitProperty));
}

bool UnitObject::RegisterUnitClass(const wchar_t* className, UINT classStyle) {
    WNDCLASSEXW existing = {};
    existing.cbSize = sizeof existing;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    if (GetClassInfoExW(instance, className, &existing)) return true;
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.style = classStyle;
    wc.lpfnWndProc = &UnitObject::OwnClassProc;
    wc.cbWndExtra = sizeof(UnitObject*);
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.lpszClassName = className;
    return RegisterClassExW(&wc) != 0;
}

HWND UnitObject::CreateOwnWindow(DWORD exStyle, const wchar_t* className, const wchar_t* text, DWORD style,
                                 const UnitCreateArgs& a) {
    return CreateOwnWindowAt(exStyle, className, text, style, a.left, a.top, a.width, a.height, a.parent,
                             reinterpret_cast<HMENU>(static_cast<uintptr_t>(a.controlId)));
}

HWND UnitObject::CreateSubclassedWindow(DWORD exStyle, const wchar_t* className, const wchar_t* text, DWORD style,
                                        const UnitCreateArgs& a) {
    return CreateSubclassedWindowAt(exStyle, className, text, style, a.left, a.top, a.width, a.height, a.parent,
                                    reinterpret_cast<HMENU>(static_cast<uintptr_t>(a.controlId)));
}

HWND UnitObject::CreateOwnWindowAt(DWORD exStyle, const wchar_t* className, const wchar_t* text, DWORD style, int x,
                                   int y, int w, int h, HWND parent, HMENU menuOrId) {
    UnitObject* saved = t_creating;
    t_creating = this;
    creating_ = true;
    HWND hwnd = CreateWindowExW(exStyle, className, text, style, x, y, w, h, parent, menuOrId,
                                GetModuleHandleW(nullptr), this);
    creating_ = false;
    t_creating = saved;
    if (finished_) {
        // Destroyed during its own creation: the object is the creator's to delete.
        finished_ = false;
        return nullptr;
    }
    return hwnd;
}

HWND UnitObject::CreateSubclassedWindowAt(DWORD exStyle, const wchar_t* className, const wchar_t* text, DWORD style,
                                          int x, int y, int w, int h, HWND parent, HMENU menuOrId) {
    HWND hwnd = CreateWindowExW(exStyle, className, text, style, x, y, w, h, parent, menuOrId,
                                GetModuleHandleW(nullptr), nullptr);
    if (hwnd) Attach(hwnd, true);
    return hwnd;
}

void UnitObject::Attach(HWND hwnd, bool subclassed) {
    hwnd_ = hwnd;
    subclassed_ = subclassed;
    SetPropW(hwnd, kUnitProperty, this);
    if (!subclassed) {
        SetWindowLongPtrW(hwnd, 0, reinterpret_cast<LONG_PTR>(this));
        return;
    }
    // Subclassed by replacing the procedure rather than through the common controls' chain,
    // which looks its data up in a window property at every message. The original
    // procedure is also kept in a property, for messages after the object has let go.
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    originalProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&UnitObject::SubclassProc)));
    SetPropW(hwnd, kOriginalProcProperty, reinterpret_cast<HANDLE>(originalProc_));
}

void UnitObject::Detach() {
    if (!hwnd_) return;
    RemovePropW(hwnd_, kUnitProperty);
    if (!subclassed_) {
        SetWindowLongPtrW(hwnd_, 0, 0);
    } else {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        // Put back only when nobody subclassed the window after us; otherwise the procedure
        // stays in the chain and hands every message on.
        if (GetWindowLongPtrW(hwnd_, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&UnitObject::SubclassProc)) {
            SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(originalProc_));
            RemovePropW(hwnd_, kOriginalProcProperty);
        }
    }
    hwnd_ = nullptr;
}

LRESULT CALLBACK UnitObject::OwnClassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<UnitObject*>(GetWindowLongPtrW(hwnd, 0));
    if (!self && message == WM_NCCREATE && t_creating) {
        self = t_creating;
        t_creating = nullptr;
        self->Attach(hwnd, false);
    }
    if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
    return self->Dispatch(message, wParam, lParam);
}

LRESULT CALLBACK UnitObject::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<UnitObject*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self || self->hwnd_ != hwnd) {
        auto original = reinterpret_cast<WNDPROC>(GetPropW(hwnd, kOriginalProcProperty));
        return original ? CallWindowProcW(original, hwnd, message, wParam, lParam)
                        : DefWindowProcW(hwnd, message, wParam, lParam);
    }
    return self->Dispatch(message, wParam, lParam);
}

LRESULT UnitObject::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    ++depth_;
    LRESULT result = 0;
    if (message == kRunOnWindowThreadMessage) {
        (*reinterpret_cast<const std::function<void()>*>(lParam))();
    } else if (message == WM_PAINT && (GetWindowLongW(hwnd_, GWL_EXSTYLE) & WS_EX_TRANSPARENT) &&
               HeldTransparentPaints::Hold(hwnd_)) {
        result = 0;
    } else if (message == WM_NCDESTROY) {
        HWND hwnd = hwnd_;
        WNDPROC original = subclassed_ ? originalProc_ : nullptr;
        OnFinalDestroy();
        UnitWindowGone(this);
        Detach();
        result = original ? CallWindowProcW(original, hwnd, message, wParam, lParam)
                          : DefWindowProcW(hwnd, message, wParam, lParam);
        finished_ = true;
    } else {
        // Notifications about a unit go back to that unit first, exactly once: only the
        // window that receives them hands them on.
        bool handled = false;
        if (HWND child = NotifyingChild(message, wParam, lParam); child && child != hwnd_) {
            if (UnitObject* unit = ReflectionTarget(this, child))
                handled = unit->OnReflected(message, wParam, lParam, &result);
        }
        if (!handled) result = WindowProc(message, wParam, lParam);
    }
    if (--depth_ == 0 && finished_ && !creating_) delete this;
    return result;
}

LRESULT UnitObject::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!hwnd_) return 0;
    return subclassed_ ? CallWindowProcW(originalProc_, hwnd_, message, wParam, lParam)
                       : DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT UnitObject::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            if (ownFocusEvents_) {
                LRESULT r = DefaultProc(message, wParam, lParam);
                FocusChanged(message == WM_SETFOCUS);
                return r;
            }
            break;
        case WM_SETCURSOR:
            if (reinterpret_cast<HWND>(wParam) == hwnd_ && LOWORD(lParam) == HTCLIENT) {
                if (HCURSOR cursor = UnitCursor(this)) {
                    SetCursor(cursor);
                    return TRUE;
                }
            }
            break;
        case kUnitLoadedMessage:
        case kUnitModalMessage:
        case kWindowLoadedMessage:
            OnRuntimeMessage(message);
            return 0;
        default:
            if (IsCtlColor(message)) {
                // A child that is not a unit (a spin control, a combo box's edit) or a unit
                // that did not answer: the default background behind it is ours.
                LRESULT r = DefaultProc(message, wParam, lParam);
                if (message == WM_CTLCOLORSTATIC || message == WM_CTLCOLORBTN || message == WM_CTLCOLORDLG) {
                    SetBkColor(reinterpret_cast<HDC>(wParam), BackgroundColour());
                    return reinterpret_cast<LRESULT>(BackgroundBrush());
                }
                return r;
            }
            break;
    }
    return DefaultProc(message, wParam, lParam);
}

bool UnitObject::OnReflected(UINT, WPARAM, LPARAM, LRESULT*) { return false; }

EventOutcome UnitObject::RaiseNumbered(int32_t eventNumber, const ArgValue* args, int count) {
    EventRecord record;
    record.windowId = windowId_;
    record.unitId = unitId_;
    record.eventNumber = eventNumber;
    record.argCount = count < 0 ? 0 : (count > kMaxEventArgs ? kMaxEventArgs : count);
    for (int i = 0; i < record.argCount; ++i) record.args[i] = args[i];
    EventOutcome outcome;
    outcome.ran = RaiseEvent(&record);
    outcome.hasResult = outcome.ran && record.hasResult;
    outcome.result = record.result;
    return outcome;
}

void UnitObject::FocusChanged(bool gained) {
    if (!hwnd_) return;
    if (gained) {
        Raise(CommonEvents::GotFocus);
        return;
    }
    BeforeFocusLost();
    if (hwnd_) Raise(CommonEvents::LostFocus);
}

void UnitObject::ApplyFont(const std::vector<uint8_t>& block, bool redraw) {
    // The old font goes only after the window has taken the new one.
    win::Font old = std::exchange(font_, CreateFontFromBlock(block));
    if (hwnd_) SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font()), redraw ? TRUE : FALSE);
}

COLORREF UnitObject::BackgroundColour() const {
    if (hwnd_) {
        if (UnitObject* parent = FromHandle(GetParent(hwnd_))) return parent->BackgroundColour();
    }
    return GetSysColor(COLOR_BTNFACE);
}

RECT UnitObject::ScreenArea() const {
    RECT r = {};
    if (hwnd_) GetWindowRect(hwnd_, &r);
    return r;
}

HBRUSH UnitObject::SolidBrush(COLORREF colour) { return ownBrush_.Get(colour); }

HBRUSH UnitObject::BackgroundBrush() { return backgroundBrush_.Get(BackgroundColour()); }

void UnitObject::RunOnWindowThread(const std::function<void()>& fn) {
    if (!hwnd_ || GetWindowThreadProcessId(hwnd_, nullptr) == GetCurrentThreadId()) {
        fn();
        return;
    }
    SendMessageW(hwnd_, kRunOnWindowThreadMessage, 0, reinterpret_cast<LPARAM>(&fn));
}
