#include "forms/events.h"

#include <windowsx.h>

#include <algorithm>
#include <cwctype>
#include <string>
#include <vector>

#include "forms/event_handler.h"
#include "forms/event_keys.h"
#include "forms/forms_runtime.h"
#include "forms/type_data/button_data.h"
#include "forms/type_data/window_data.h"
#include "forms/unit_object.h"
#include "forms/window_list.h"
#include "runtime/fatal.h"
#include "runtime/gbk_text.h"
#include "runtime/message_loop.h"
#include "runtime/runtime_errors.h"

namespace {

// Trivially destructible state: it must outlive the runtime's shutdown.
int g_suspended = 0;
EventSource g_source;
// Windows that declined idle time in the current idle period; never freed.
std::vector<uint32_t>* g_declinedIdle = nullptr;
#if MG_TEST_HOOKS
EventObserver g_observer = nullptr;
#endif

struct HandlerLookup {
    uintptr_t address = 0;
};

// Steps 2 to 6 of raising an event: the window, the unit, the event source chain, the
// unit's type and the handler.
HandlerLookup LookUpHandler(uint32_t windowId, uint32_t unitId, int32_t eventNumber) {
    WindowEntry* entry = FindLoadedWindow(windowId);
    if (!entry) FatalReport(fatal_text::kEventWindowUnknown, 0);
    int position = entry->FindPosition(unitId);
    if (position < 0) FatalReport(fatal_text::kEventUnitUnknown, 0);
    const std::vector<UnitRecord>& records = entry->working;
    const UnitRecord& own = records[static_cast<size_t>(position)];

    // Follow the event source ids while they name a record of the same type; the chain is
    // bounded by the table size so that a cycle cannot hang the program.
    int source = position;
    for (size_t steps = 0; steps < records.size(); ++steps) {
        uint32_t next = records[static_cast<size_t>(source)].eventSourceId;
        if (next == 0) break;
        int p = entry->FindPosition(next);
        if (p < 0 || p == 0 || records[static_cast<size_t>(p)].typeCode != own.typeCode) break;
        source = p;
    }

    HandlerLookup found;
    if (own.isMenuItem) {
        found.address = entry->menuItemHandler;
        return found;
    }
    const UnitTypeInfo* type = FindUnitType(own.typeCode);
    if (!type || !type->Has(kTypeWindowUnit | kTypeRaisesEvents)) FatalReport(fatal_text::kEventUnitInvalid, 0);
    const UnitRecord& table = records[static_cast<size_t>(source)];
    for (size_t k = 0; k < table.events.size(); ++k) {
        if (table.events[k].number == eventNumber) {
            found.address = entry->handlers[static_cast<size_t>(source)][k];
            break;
        }
    }
    return found;
}

int32_t ModifierState(uint32_t vk) {
    return KeyModifierState(GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_MENU) < 0, vk);
}

// A character of a W message as the tools see it: ASCII as it is, other characters as
// their GBK code (lead byte in the high byte).
int32_t CharCodeFromWide(WPARAM wide) {
    if (wide < 0x80) return static_cast<int32_t>(wide);
    wchar_t w = static_cast<wchar_t>(wide);
    std::string gbk = GbkFromWide(&w, 1);
    if (gbk.size() == 1) return static_cast<uint8_t>(gbk[0]);
    if (gbk.size() == 2) return (static_cast<uint8_t>(gbk[0]) << 8) | static_cast<uint8_t>(gbk[1]);
    return static_cast<int32_t>(wide);
}

WPARAM WideFromCharCode(int64_t code) {
    if (code >= 0 && code < 0x80) return static_cast<WPARAM>(code);
    char bytes[3] = {};
    if (code > 0xFF) {
        bytes[0] = static_cast<char>((code >> 8) & 0xFF);
        bytes[1] = static_cast<char>(code & 0xFF);
    } else {
        bytes[0] = static_cast<char>(code & 0xFF);
    }
    std::wstring w = WideFromGbk(bytes);
    return w.empty() ? static_cast<WPARAM>(code & 0xFFFF) : static_cast<WPARAM>(w[0]);
}

// The mnemonic character of a caption: the character after a single '&', lower-cased; 0
// when there is none.
wchar_t MnemonicOf(const std::wstring& caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != L'&') continue;
        if (caption[i + 1] == L'&') {
            ++i;
            continue;
        }
        return static_cast<wchar_t>(std::towlower(caption[i + 1]));
    }
    return 0;
}

std::wstring WindowText(HWND hwnd) {
    int n = GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    n = GetWindowTextW(hwnd, text.data(), n + 1);
    text.resize(static_cast<size_t>(n > 0 ? n : 0));
    return text;
}

bool IsButtonClass(HWND hwnd) {
    wchar_t cls[16] = {};
    GetClassNameW(hwnd, cls, 16);
    return _wcsicmp(cls, L"Button") == 0;
}

// Step 5: a key whose character is the mnemonic of a visible, enabled button, check box or
// radio button of the window clicks that unit instead.
bool ClickMnemonic(WindowEntry& entry, wchar_t ch) {
    ch = static_cast<wchar_t>(std::towlower(ch));
    for (size_t k = 1; k < entry.live.size(); ++k) {
        UnitObject* unit = entry.live[k].object;
        if (!unit || !unit->alive()) continue;
        HWND h = unit->hwnd();
        if (!IsButtonClass(h) || !IsWindowVisible(h) || !IsWindowEnabled(h)) continue;
        LONG kind = GetWindowLongW(h, GWL_STYLE) & BS_TYPEMASK;
        bool push = kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON;
        bool check = kind == BS_CHECKBOX || kind == BS_AUTOCHECKBOX || kind == BS_3STATE || kind == BS_AUTO3STATE;
        bool radio = kind == BS_RADIOBUTTON || kind == BS_AUTORADIOBUTTON;
        if (!push && !check && !radio) continue;
        if (MnemonicOf(WindowText(h)) != ch) continue;
        if (check) {
            LRESULT state = SendMessageW(h, BM_GETCHECK, 0, 0);
            SendMessageW(h, BM_SETCHECK, state == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED, 0);
        } else if (radio) {
            HWND parent = GetParent(h);
            for (HWND sibling = GetWindow(parent, GW_CHILD); sibling; sibling = GetWindow(sibling, GW_HWNDNEXT)) {
                if (sibling == h || !IsButtonClass(sibling)) continue;
                LONG sk = GetWindowLongW(sibling, GWL_STYLE) & BS_TYPEMASK;
                if (sk == BS_RADIOBUTTON || sk == BS_AUTORADIOBUTTON) SendMessageW(sibling, BM_SETCHECK, BST_UNCHECKED, 0);
            }
            SendMessageW(h, BM_SETCHECK, BST_CHECKED, 0);
        }
        unit->Raise(ButtonData::Click);
        return true;
    }
    return false;
}

bool FocusWantsChars() {
    HWND focus = GetFocus();
    return focus && (SendMessageW(focus, WM_GETDLGCODE, 0, 0) & DLGC_WANTCHARS);
}

// Raises the common event an input message stands for; nothing for other messages.
EventOutcome RaiseInputEvent(UnitObject* unit, const MSG& msg) {
    using E = CommonEvents;
    const int32_t x = GET_X_LPARAM(msg.lParam), y = GET_Y_LPARAM(msg.lParam);
    const auto key = static_cast<uint32_t>(msg.wParam);
    switch (msg.message) {
        case WM_LBUTTONDOWN: return unit->Raise(E::MouseDown, x, y, ModifierState(0));
        case WM_LBUTTONUP: return unit->Raise(E::MouseUp, x, y, ModifierState(0));
        case WM_LBUTTONDBLCLK: return unit->Raise(E::DoubleClick, x, y, ModifierState(0));
        case WM_RBUTTONDOWN: return unit->Raise(E::RightMouseDown, x, y, ModifierState(0));
        case WM_RBUTTONUP: return unit->Raise(E::RightMouseUp, x, y, ModifierState(0));
        case WM_MOUSEMOVE: return unit->Raise(E::MouseMove, x, y, ModifierState(0));
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN: return unit->Raise(E::KeyDown, static_cast<int32_t>(FoldKeypadKey(key)), ModifierState(key));
        case WM_KEYUP:
        case WM_SYSKEYUP: return unit->Raise(E::KeyUp, static_cast<int32_t>(FoldKeypadKey(key)), ModifierState(key));
        case WM_CHAR: return unit->Raise(E::Char, CharCodeFromWide(msg.wParam));
        case WM_MOUSEWHEEL:
            return unit->Raise(E::MouseWheel, WheelSteps(static_cast<int16_t>(HIWORD(msg.wParam))), ModifierState(0));
        default: return {};
    }
}

// The loaded window whose window (or one of whose descendants) the message is for.
WindowEntry* WindowOfMessage(HWND hwnd) {
    HWND root = GetAncestor(hwnd, GA_ROOT);
    UnitObject* object = UnitObject::FromHandle(root);
    if (!object) return nullptr;
    WindowEntry* entry = FindLoadedWindow(object->windowId());
    if (!entry || entry->WindowObject() != object) return nullptr;
    return entry;
}

}  // namespace

void SuspendEvents() { ++g_suspended; }
void ResumeEvents() {
    if (g_suspended > 0) --g_suspended;
}
bool EventsSuspended() { return g_suspended > 0; }

EventSource CurrentEventSource() { return g_source; }

uintptr_t FindEventHandler(uint32_t windowId, uint32_t unitId, int32_t eventNumber) {
    return LookUpHandler(windowId, unitId, eventNumber).address;
}

#if MG_TEST_HOOKS
void ObserveEvents(EventObserver observer) { g_observer = observer; }
#endif

bool RaiseEvent(EventRecord* record) {
    if (!record || EventsSuspended()) return false;
#if MG_TEST_HOOKS
    if (g_observer) g_observer(*record);
#endif
    record->hasResult = 0;
    // While a window is being destroyed its units are going one by one; handlers could
    // only find them half gone.
    if (WindowEntry* entry = FindLoadedWindow(record->windowId); entry && entry->destroying) return false;
    HandlerLookup handler = LookUpHandler(record->windowId, record->unitId, record->eventNumber);
    if (!handler.address) return false;

    EventSource saved = g_source;
    g_source = {true, record->windowId, record->unitId, record->eventNumber};
    int count = std::clamp(record->argCount, 0, kMaxEventArgs);
    int64_t result = 0;
    bool hasResult = reinterpret_cast<const EventHandlerEntry*>(handler.address)->invoke(record->args, count, &result);
    g_source = saved;
    record->result = hasResult ? result : 0;
    record->hasResult = hasResult ? 1 : 0;
    return true;
}

bool PreTranslateFormsMessage(MSG* msg) {
    if (!msg || !msg->hwnd) return false;
    const UINT m = msg->message;
    if (!IsKeyboardOrMouseMessage(m)) return false;
    WindowEntry* entry = WindowOfMessage(msg->hwnd);
    if (!entry) return false;
    const uint32_t windowId = entry->id;

    if (m == WM_SYSCHAR || (m == WM_CHAR && msg->wParam >= 0x20 && !FocusWantsChars())) {
        if (ClickMnemonic(*entry, static_cast<wchar_t>(msg->wParam))) return true;
        if (!FindLoadedWindow(windowId)) return true;
    }

    // The unit the message is for: the window itself or a unit's own window; a child
    // window inside a unit does not count.
    UnitObject* unit = nullptr;
    if (msg->hwnd == entry->WindowObject()->hwnd()) {
        unit = entry->WindowObject();
    } else {
        UnitObject* candidate = UnitObject::FromHandle(msg->hwnd);
        if (candidate && candidate->windowId() == windowId && candidate->position() > 0 &&
            entry->ObjectAt(static_cast<size_t>(candidate->position())) == candidate)
            unit = candidate;
    }

    if (unit) {
        HWND target = msg->hwnd;
        EventOutcome outcome = RaiseInputEvent(unit, *msg);
        // A handler that closed the window or destroyed the unit leaves nothing to deliver to.
        if (outcome.ran && (!IsWindow(target) || !FindLoadedWindow(windowId))) return true;
        // A result of 0 swallows the message; a character handler's other results replace
        // the character.
        if (outcome.Refused()) return true;
        if (outcome.ran && outcome.hasResult && m == WM_CHAR) msg->wParam = WideFromCharCode(outcome.result);
    }
    return HandleDialogKeys(msg);
}

bool HandleDialogKeys(MSG* msg) {
    if (msg->message != WM_KEYDOWN || msg->wParam != VK_TAB) return false;
    if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0) return false;
    WindowEntry* entry = WindowOfMessage(msg->hwnd);
    if (!entry) return false;
    HWND form = entry->WindowObject()->hwnd();
    HWND focus = GetFocus();
    if (focus && focus != form) {
        int position = FindUnitByHandle(*entry, focus, true);
        UnitObject* unit = position > 0 ? entry->ObjectAt(static_cast<size_t>(position)) : nullptr;
        if (unit) {
            if (auto filter = UnitOperation<KeyFilterFn>(unit->type(), kInterfaceKeyFilter)) {
                if (filter(unit, *msg)) return false;
            } else if (SendMessageW(focus, WM_GETDLGCODE, msg->wParam, reinterpret_cast<LPARAM>(msg)) &
                       (DLGC_WANTTAB | DLGC_WANTALLKEYS)) {
                return false;
            }
        }
    }
    bool backwards = GetKeyState(VK_SHIFT) < 0;
    HWND from = focus && IsChild(form, focus) ? focus : nullptr;
    // Units whose type never takes the focus (labels and the like) may carry the tab-stop
    // bit of their record; they are passed over.
    HWND next = from;
    for (int guard = 0; guard < 1024; ++guard) {
        next = GetNextDlgTabItem(form, next, backwards ? TRUE : FALSE);
        if (!next || next == from) break;
        UnitObject* unit = UnitObject::FromHandle(next);
        if (!unit || !unit->type() || !unit->type()->Has(kTypeNoFocus | kTypeInvisible)) break;
    }
    if (!next) return false;
    SetFocus(next);
    if (SendMessageW(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessageW(next, EM_SETSEL, 0, -1);
    return true;
}

bool AnyWindowHandlesIdle() {
    for (const WindowEntry* entry : TheWindowList().windows)
        if (entry->loaded && LookUpHandler(entry->id, 0, WindowData::Idle.number).address) return true;
    return false;
}

bool FireWindowIdleEvents(uint32_t elapsedMs, bool startIdlePeriod) {
    if (!g_declinedIdle) g_declinedIdle = new std::vector<uint32_t>;
    if (startIdlePeriod) {
        g_declinedIdle->clear();
        return false;
    }
    bool wantsMore = false;
    // Ids first: a handler may load or close windows.
    std::vector<uint32_t> ids;
    for (WindowEntry* entry : TheWindowList().windows)
        if (entry->loaded && entry->WindowObject()) ids.push_back(entry->id);
    for (uint32_t id : ids) {
        if (std::find(g_declinedIdle->begin(), g_declinedIdle->end(), id) != g_declinedIdle->end()) continue;
        WindowEntry* entry = FindLoadedWindow(id);
        if (!entry || !entry->WindowObject()) continue;
        EventOutcome idle = entry->WindowObject()->Raise(WindowData::Idle, static_cast<int32_t>(elapsedMs));
        if (idle.ran && idle.hasResult && idle.result != 0)
            wantsMore = true;
        else
            g_declinedIdle->push_back(id);
    }
    return wantsMore;
}
