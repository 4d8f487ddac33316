// The unit object: the window object behind every unit (and behind the window itself).
//
// A unit object owns its native window for the window's whole life and deletes itself when
// the window is finally destroyed (after WM_NCDESTROY, once no call of its window procedure
// is still running), after telling the window list that the unit is gone. Create objects
// with new; never delete them yourself, destroy their window instead.
//
// For a new type, derive from UnitObject, create the window in the type's CreateUnit with
// CreateOwnWindow or CreateSubclassedWindow, and override:
//   WindowProc       the unit's own messages; pass everything else to UnitObject::WindowProc
//                    (the focus events, cursor, reflected notifications, defaults);
//   OnReflected      notifications from the unit's window (WM_COMMAND, WM_NOTIFY,
//                    WM_CTLCOLOR*, WM_DRAWITEM, WM_HSCROLL/WM_VSCROLL from a control) that
//                    a window of the same loaded window receives (its container, or the
//                    window it was created on) and hands back to the unit, once;
//   BeforeFocusLost  work that must happen before LostFocus (edit box normalisation);
//   OnRuntimeMessage the runtime's messages 0x806F (loaded), 0x8076 (modal load),
//                    0x8004 (window loaded / a child was rebuilt).
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <type_traits>
#include <vector>

#include "forms/unit_events.h"
#include "forms/unit_type.h"
#include "runtime/value.h"
#include "runtime/win32_handles.h"

// Messages the runtime sends to units.
constexpr UINT kUnitLoadedMessage = 0x806F;   // after loading and after a rebuild
constexpr UINT kUnitModalMessage = 0x8076;    // after a modal load and after a rebuild
constexpr UINT kWindowLoadedMessage = 0x8004; // to the window after loading; to a parent after a rebuild
// Carries a call from another thread onto the thread that owns the window (SendMessage).
constexpr UINT kRunOnWindowThreadMessage = 0x83F8;

// What came of raising an event.
struct EventOutcome {
    bool ran = false;        // a handler ran
    bool hasResult = false;  // ... and declared a result
    int64_t result = 0;
    // The handler declared a result and returned 0 (false): the event's action is refused.
    bool Refused() const { return ran && hasResult && result == 0; }
};

class UnitObject {
public:
    UnitObject(const UnitTypeInfo* type, uint32_t windowId, uint32_t unitId);
    virtual ~UnitObject();
    UnitObject(const UnitObject&) = delete;
    UnitObject& operator=(const UnitObject&) = delete;

    HWND hwnd() const { return hwnd_; }
    const UnitTypeInfo* type() const { return type_; }
    uint32_t windowId() const { return windowId_; }
    uint32_t unitId() const { return unitId_; }
    bool alive() const { return hwnd_ != nullptr && IsWindow(hwnd_); }

    // The object behind a unit's window; null for any other window. Any thread.
    static UnitObject* FromHandle(HWND hwnd);

    // Registers a window class whose windows are unit objects (CreateOwnWindow). No
    // background brush: units paint their own background.
    static bool RegisterUnitClass(const wchar_t* className, UINT classStyle);

    // Creates the unit's window from a class registered with RegisterUnitClass.
    HWND CreateOwnWindow(DWORD exStyle, const wchar_t* className, const wchar_t* text, DWORD style,
                         const UnitCreateArgs& a);
    // Creates a window of a system or common-control class and subclasses it.
    HWND CreateSubclassedWindow(DWORD exStyle, const wchar_t* className, const wchar_t* text, DWORD style,
                                const UnitCreateArgs& a);
    // Both with explicit geometry and parent (the window type uses these).
    HWND CreateOwnWindowAt(DWORD exStyle, const wchar_t* className, const wchar_t* text, DWORD style, int x, int y,
                           int w, int h, HWND parent, HMENU menuOrId);
    HWND CreateSubclassedWindowAt(DWORD exStyle, const wchar_t* className, const wchar_t* text, DWORD style, int x,
                                  int y, int w, int h, HWND parent, HMENU menuOrId);

    // Raises one of this unit's events, named by its description's constant
    // (ButtonData::Click, CommonEvents::KeyDown), with the arguments the event takes.
    template <class... Args>
    EventOutcome Raise(const UnitEvent<void(Args...)>& event, std::type_identity_t<Args>... args) {
        const ArgValue values[sizeof...(Args) + 1] = {ArgValue::OfInt(args)...};
        return RaiseNumbered(event.number, values, static_cast<int>(sizeof...(Args)));
    }

    // The unit's font from a stored font block (60 bytes; any other length means the default
    // GUI font), sent to the window with WM_SETFONT. The object owns the font it made.
    void ApplyFont(const std::vector<uint8_t>& block, bool redraw);
    HFONT font() const { return font_ ? font_.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

    // The colour that children with a default background paint behind themselves.
    virtual COLORREF BackgroundColour() const;
    // A solid brush of BackgroundColour(), owned by the object.
    HBRUSH BackgroundBrush();
    // Its erase fills its whole client area, so nothing beneath it shows through: a
    // see-through child's repaint need go no deeper than this window.
    virtual bool ErasesWholeClient() const { return false; }
    // Draws its client area onto `dc`, in its client coordinates, as its erase and paint
    // would, and leaves the DC's state as it found it; false for a unit that cannot. A
    // see-through child with nothing else beneath it but this window draws that on its own DC,
    // with no trip to the window server.
    virtual bool PaintClientInto(HDC /*dc*/) { return false; }
    // The screen rectangle the unit covers: its window's, and that of any window it keeps
    // beside it (an edit box's spin buttons).
    virtual RECT ScreenArea() const;

    // Calls fn on the thread that owns the window, synchronously (SendMessage when the
    // caller is another thread).
    void RunOnWindowThread(const std::function<void()>& fn);

    // Record position of the unit in its window's unit table, set by the loader.
    int position() const { return position_; }
    void setPosition(int position) { position_ = position; }

protected:
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual bool OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual void BeforeFocusLost() {}
    virtual void OnRuntimeMessage(UINT /*message*/) {}
    // The window is finally going (WM_NCDESTROY), before the window list forgets the unit.
    virtual void OnFinalDestroy() {}
    // The one place the focus events are raised: GotFocus, or BeforeFocusLost then LostFocus.
    // UnitObject::WindowProc calls it on WM_SETFOCUS / WM_KILLFOCUS of the unit's own window;
    // a type whose focus lies elsewhere (a combo box's edit field) or that must do more on
    // the message (the window) switches that off and calls it itself.
    void FocusChanged(bool gained);
    bool ownFocusEvents_ = true;

    // A brush of the unit's own colour for WM_CTLCOLOR* answers, owned by the object.
    HBRUSH SolidBrush(COLORREF colour);

private:
    static LRESULT CALLBACK OwnClassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    EventOutcome RaiseNumbered(int32_t eventNumber, const ArgValue* args, int count);
    void Attach(HWND hwnd, bool subclassed);
    void Detach();

    const UnitTypeInfo* type_;
    uint32_t windowId_;
    uint32_t unitId_;
    HWND hwnd_ = nullptr;
    bool subclassed_ = false;
    WNDPROC originalProc_ = nullptr;  // a subclassed control's own procedure
    int position_ = -1;
    int depth_ = 0;          // calls of the window procedure in progress
    bool finished_ = false;  // WM_NCDESTROY seen: delete once depth_ is back to 0
    bool creating_ = false;  // inside CreateWindowEx: a failed creation leaves the object to its creator
    win::Font font_;
    // A solid brush of the colour last asked for, made again when the colour changes.
    struct BrushCache {
        win::Brush brush;
        COLORREF colour = 0;
        HBRUSH Get(COLORREF c);
    };
    BrushCache ownBrush_, backgroundBrush_;
};

// While one is alive on a thread, a see-through unit window of that thread (one with
// WS_EX_TRANSPARENT) does not paint when WM_PAINT comes: its update region is kept here and
// the window validated, so that it can be painted after the windows beneath it. A redraw
// that the window server drives visits windows from the top of the z-order down.
class HeldTransparentPaints {
public:
    struct Held {
        HWND hwnd;
        win::Region area;  // the update region it had, in its client coordinates
    };
    HeldTransparentPaints();
    ~HeldTransparentPaints();
    HeldTransparentPaints(const HeldTransparentPaints&) = delete;
    HeldTransparentPaints& operator=(const HeldTransparentPaints&) = delete;
    // The held windows in the order their paints came.
    std::vector<Held> Take() { return std::move(held_); }
    // Called for a see-through window's WM_PAINT; false when nothing is being held.
    static bool Hold(HWND hwnd);

private:
    HeldTransparentPaints* saved_;
    std::vector<Held> held_;
};

// A COLORREF or the system colour that a marker (top byte set) stands for.
COLORREF ResolveColour(uint32_t colour, int systemColourIndex);
