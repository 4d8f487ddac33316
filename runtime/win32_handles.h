// Owners of Win32 handles. An owner releases its handle once, when it goes; it moves and never
// copies, so no handle can be released twice. A raw handle (HFONT, HDC, HMODULE...) is always
// borrowed: whoever holds one releases nothing. Each object is released by the layer that
// made it.
//
//   win::Font font(CreateFontIndirectW(&lf));      // owned: deleted with `font`
//   win::Selection selected(dc, font.get());       // selected now, the previous font back at the end
//   HFONT shown = font.get();                      // borrowed
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <utility>

namespace win {

// One owned handle; Traits says what "none" is and how the handle is released.
template <class Traits>
class Owner {
public:
    using Handle = typename Traits::Handle;

    Owner() = default;
    explicit Owner(Handle handle) : handle_(handle) {}
    ~Owner() { reset(); }
    Owner(Owner&& other) noexcept : handle_(other.release()) {}
    Owner& operator=(Owner&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    Owner(const Owner&) = delete;
    Owner& operator=(const Owner&) = delete;

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != Traits::None(); }
    // Gives the handle up without releasing it: the caller owns it now.
    [[nodiscard]] Handle release() { return std::exchange(handle_, Traits::None()); }
    void reset(Handle handle = Traits::None()) {
        Handle old = std::exchange(handle_, handle);
        if (old != Traits::None()) Traits::Release(old);
    }

private:
    Handle handle_ = Traits::None();
};

template <class H, auto ReleaseFn>
struct NullIsNone {
    using Handle = H;
    static Handle None() { return nullptr; }
    static void Release(Handle h) { ReleaseFn(h); }
};

// Kernel handles whose "none" is INVALID_HANDLE_VALUE (files, searches).
template <auto ReleaseFn>
struct InvalidIsNone {
    using Handle = HANDLE;
    static Handle None() { return INVALID_HANDLE_VALUE; }
    static void Release(Handle h) { ReleaseFn(h); }
};

template <class H>
struct GdiObjectTraits {
    using Handle = H;
    static Handle None() { return nullptr; }
    static void Release(Handle h) { DeleteObject(h); }
};

struct ImageListTraits {
    using Handle = HIMAGELIST;
    static Handle None() { return nullptr; }
    static void Release(Handle h) { ImageList_Destroy(h); }
};

using Font = Owner<GdiObjectTraits<HFONT>>;
using Brush = Owner<GdiObjectTraits<HBRUSH>>;
using Pen = Owner<GdiObjectTraits<HPEN>>;
using Bitmap = Owner<GdiObjectTraits<HBITMAP>>;
using Palette = Owner<GdiObjectTraits<HPALETTE>>;
using Region = Owner<GdiObjectTraits<HRGN>>;
using MemoryDc = Owner<NullIsNone<HDC, &DeleteDC>>;  // CreateCompatibleDC
using Cursor = Owner<NullIsNone<HCURSOR, &DestroyCursor>>;
using Icon = Owner<NullIsNone<HICON, &DestroyIcon>>;
using Module = Owner<NullIsNone<HMODULE, &FreeLibrary>>;
using ImageList = Owner<ImageListTraits>;
using File = Owner<InvalidIsNone<&CloseHandle>>;       // CreateFile
using FindHandle = Owner<InvalidIsNone<&FindClose>>;  // FindFirstFile
using Thread = Owner<NullIsNone<HANDLE, &CloseHandle>>;
using GlobalMemory = Owner<NullIsNone<HGLOBAL, &GlobalFree>>;

// A window the code creates and destroys itself (a unit's window belongs to its unit object
// instead). A child window goes with its parent, so one already gone is left alone.
struct WindowTraits {
    using Handle = HWND;
    static Handle None() { return nullptr; }
    static void Release(Handle h) {
        if (IsWindow(h)) DestroyWindow(h);
    }
};
using Window = Owner<WindowTraits>;

// The DC of a window's client area (or of the screen, for a null window), or of the whole
// window with its frame; given back with ReleaseDC.
class WindowDc {
public:
    enum Area { kClient, kWholeWindow };
    explicit WindowDc(HWND window, Area area = kClient)
        : window_(window), dc_(area == kWholeWindow ? GetWindowDC(window) : GetDC(window)) {}
    ~WindowDc() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

// The paint DC of WM_PAINT: BeginPaint now, EndPaint at the end.
class PaintDc {
public:
    explicit PaintDc(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
    ~PaintDc() { EndPaint(window_, &paint_); }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    HDC get() const { return dc_; }
    const RECT& area() const { return paint_.rcPaint; }

private:
    HWND window_;
    PAINTSTRUCT paint_ = {};
    HDC dc_;
};

// An object selected into a DC for a while: the object it replaced goes back at the end, so
// the DC never holds an object past that object's owner.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(dc && object ? SelectObject(dc, object) : nullptr) {}
    ~Selection() {
        if (previous_) SelectObject(dc_, previous_);
    }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;
    explicit operator bool() const { return previous_ != nullptr; }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// A palette selected into a DC for a while (and realised), the previous one back at the end.
class PaletteSelection {
public:
    PaletteSelection(HDC dc, HPALETTE palette) : dc_(dc), previous_(dc && palette ? SelectPalette(dc, palette, FALSE) : nullptr) {
        if (previous_) RealizePalette(dc);
    }
    ~PaletteSelection() {
        if (previous_) SelectPalette(dc_, previous_, FALSE);
    }
    PaletteSelection(const PaletteSelection&) = delete;
    PaletteSelection& operator=(const PaletteSelection&) = delete;

private:
    HDC dc_;
    HPALETTE previous_;
};

// A bitmap to draw into off screen: a memory DC compatible with `like`, with a compatible
// bitmap of the given size selected. Check it before use: either part may fail.
class OffscreenBitmap {
public:
    OffscreenBitmap(HDC like, int width, int height)
        : dc_(CreateCompatibleDC(like)), bitmap_(CreateCompatibleBitmap(like, width, height)),
          selected_(dc_ && bitmap_ ? dc_.get() : nullptr, bitmap_.get()) {}
    explicit operator bool() const { return static_cast<bool>(selected_); }
    HDC dc() const { return dc_.get(); }
    HBITMAP bitmap() const { return bitmap_.get(); }

private:
    // In this order: the selection goes first, then the bitmap, then the DC.
    MemoryDc dc_;
    Bitmap bitmap_;
    Selection selected_;
};

}  // namespace win
