// CaptureWindowImage: the screen or a window as a 24-bit BMP file image.
#include <cstring>
#include <vector>

#include "runtime/commands/command_args.h"
#include "runtime/commands/core_commands.h"
#include "runtime/heap.h"
#include "runtime/win32_handles.h"

namespace {

// The system palette of a palette display, so that GetDIBits maps its indexes to colours.
win::Palette SystemPalette(HDC screen) {
    if (!(GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE)) return {};
    int entries = GetDeviceCaps(screen, SIZEPALETTE);
    if (entries <= 0 || entries > 256) return {};
    std::vector<char> storage(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * static_cast<size_t>(entries));
    auto* palette = reinterpret_cast<LOGPALETTE*>(storage.data());
    palette->palVersion = 0x300;
    palette->palNumEntries = static_cast<WORD>(entries);
    GetSystemPaletteEntries(screen, 0, static_cast<UINT>(entries), palette->palPalEntry);
    return win::Palette(CreatePalette(palette));
}

void Put32(char* p, uint32_t v) { std::memcpy(p, &v, 4); }

bool Contains(const RECT& outer, const RECT& inner) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right && inner.bottom <= outer.bottom;
}

bool Overlaps(const RECT& a, const RECT& b) {
    RECT common;
    return IntersectRect(&common, &a, &b) != FALSE;
}

// The compositor's answers, from dwmapi when the system has it (Vista on); a system without
// it composes nothing.
struct Compositor {
    using IsEnabledFn = HRESULT(WINAPI*)(BOOL*);
    using AttributeFn = HRESULT(WINAPI*)(HWND, DWORD, void*, DWORD);
    win::Module dwm;
    IsEnabledFn isEnabled = nullptr;
    AttributeFn attribute = nullptr;
    Compositor() : dwm(LoadLibraryW(L"dwmapi.dll")) {
        if (dwm) {
            isEnabled = reinterpret_cast<IsEnabledFn>(reinterpret_cast<void*>(GetProcAddress(dwm.get(), "DwmIsCompositionEnabled")));
            attribute = reinterpret_cast<AttributeFn>(reinterpret_cast<void*>(GetProcAddress(dwm.get(), "DwmGetWindowAttribute")));
        }
    }
    bool Composing() const {
        BOOL on = FALSE;
        return isEnabled && SUCCEEDED(isEnabled(&on)) && on;
    }
    // A cloaked window (a suspended app, another virtual desktop) is visible to the window
    // manager but not on the screen.
    bool Cloaked(HWND hwnd) const {
        constexpr DWORD kCloaked = 14;  // DWMWA_CLOAKED
        DWORD cloaked = 0;
        return attribute && SUCCEEDED(attribute(hwnd, kCloaked, &cloaked, sizeof cloaked)) && cloaked != 0;
    }
    // The part of the window rectangle that shows: a composed frame leaves out the invisible
    // resizing border around it.
    bool ShownBounds(HWND hwnd, RECT* bounds) const {
        constexpr DWORD kExtendedFrameBounds = 9;  // DWMWA_EXTENDED_FRAME_BOUNDS
        if (attribute && SUCCEEDED(attribute(hwnd, kExtendedFrameBounds, bounds, sizeof *bounds))) return true;
        return GetWindowRect(hwnd, bounds) != FALSE;
    }
};

const Compositor& TheCompositor() {
    static const Compositor compositor;
    return compositor;
}

// True when the screen shows every pixel of the window's rectangle as the window's own: the
// window is shown, lies wholly on the screen and inside each of its parents, and no other
// window above it (at any level) reaches into its rectangle.
bool ScreenShowsWholeWindow(HWND window, const RECT& rect) {
    const RECT screen = {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                         GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                         GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    if (!IsWindowVisible(window) || IsIconic(window) || !Contains(screen, rect)) return false;
    const Compositor& compositor = TheCompositor();
    HWND desktop = GetDesktopWindow();
    for (HWND level = window; level && level != desktop;) {
        // Bounded: a z-order that changes while it is walked cannot keep the walk going.
        int guard = 0;
        for (HWND above = GetWindow(level, GW_HWNDPREV); above && guard < 4096; above = GetWindow(above, GW_HWNDPREV), ++guard) {
            RECT r;
            if (!IsWindowVisible(above) || IsIconic(above) || !compositor.ShownBounds(above, &r) || !Overlaps(r, rect)) continue;
            if (compositor.Cloaked(above)) continue;
            return false;
        }
        if (guard >= 4096) return false;
        HWND parent = GetAncestor(level, GA_PARENT);
        if (!parent || parent == desktop) break;
        RECT client;
        GetClientRect(parent, &client);
        MapWindowPoints(parent, nullptr, reinterpret_cast<POINT*>(&client), 2);
        if (!Contains(client, rect)) return false;
        level = parent;
    }
    return true;
}

// The window's pixels, frame included, into `target` (a bitmap of the window's size).
// What the screen shows is the truth: a composing desktop draws the frames itself, and a
// window's own DC may then hold no frame, or an unthemed one. Only when the screen does not
// show the whole window (covered, partly off the screen, hidden) does the window render
// itself: through the compositor when there is one, else from its window DC, whose frame
// is the one the system draws for it.
void CopyWindowPixels(HWND window, const RECT& rect, HDC screen, HDC target) {
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (ScreenShowsWholeWindow(window, rect)) {
        BitBlt(target, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY | CAPTUREBLT);
        return;
    }
    constexpr UINT kRenderFullContent = 2;  // PW_RENDERFULLCONTENT
    if (TheCompositor().Composing() && PrintWindow(window, target, kRenderFullContent)) return;
    win::WindowDc own(window, win::WindowDc::kWholeWindow);
    if (own) BitBlt(target, 0, 0, width, height, own.get(), 0, 0, SRCCOPY);
}

// A target side from the argument: 0 keeps the source's, a negative value is that percentage
// of it (-1 to -9 count as -10), any other value is taken as it is.
int32_t CaptureTargetSide(int32_t requested, int32_t source) {
    if (requested == 0) return source;
    if (requested > 0) return requested;
    int64_t percent = requested > -10 ? 10 : -static_cast<int64_t>(requested);
    return static_cast<int32_t>(static_cast<int64_t>(source) * percent / 100);
}

}  // namespace

void CaptureWindowImage(ArgValue* result, int32_t count, ArgValue* args) {
    cmd::SetByteSet(result, nullptr);
    auto window = static_cast<HWND>(cmd::PointerOr(count, args, 0, nullptr));
    int32_t width = cmd::IntOr(count, args, 1, 0);
    int32_t height = cmd::IntOr(count, args, 2, 0);

    int sourceWidth, sourceHeight;
    RECT windowRect = {};
    if (window) {
        if (!IsWindow(window) || !GetWindowRect(window, &windowRect)) return;
        sourceWidth = windowRect.right - windowRect.left;
        sourceHeight = windowRect.bottom - windowRect.top;
    } else {
        sourceWidth = GetSystemMetrics(SM_CXSCREEN);
        sourceHeight = GetSystemMetrics(SM_CYSCREEN);
    }
    int32_t targetWidth = CaptureTargetSide(width, sourceWidth);
    int32_t targetHeight = CaptureTargetSide(height, sourceHeight);
    if (sourceWidth <= 0 || sourceHeight <= 0 || targetWidth <= 0 || targetHeight <= 0) return;
    const uint64_t rowBytes = (uint64_t{static_cast<uint32_t>(targetWidth)} * 3 + 3) & ~uint64_t{3};
    const uint64_t pixelBytes = rowBytes * static_cast<uint32_t>(targetHeight);
    const uint64_t fileBytes = 54 + pixelBytes;
    if (fileBytes > 0x7FFFFFF0u) return;  // a byte set's length is 32-bit

    win::WindowDc source(nullptr);
    if (!source) return;
    // The pixels go into `copy`, scaled into `scaled` when the size changes; each bitmap is
    // selected only while it is drawn into, since GetDIBits reads only a bitmap no DC holds.
    win::MemoryDc dc(CreateCompatibleDC(source.get()));
    win::Bitmap copy(CreateCompatibleBitmap(source.get(), sourceWidth, sourceHeight));
    if (!dc || !copy) return;
    {
        win::Selection drawing(dc.get(), copy.get());
        if (!drawing) return;
        if (window)
            CopyWindowPixels(window, windowRect, source.get(), dc.get());
        else
            BitBlt(dc.get(), 0, 0, sourceWidth, sourceHeight, source.get(), 0, 0, SRCCOPY | CAPTUREBLT);
    }
    win::Bitmap scaled;
    HBITMAP image = copy.get();
    if (targetWidth != sourceWidth || targetHeight != sourceHeight) {
        scaled.reset(CreateCompatibleBitmap(source.get(), targetWidth, targetHeight));
        win::MemoryDc from(CreateCompatibleDC(source.get()));
        if (!scaled || !from) return;
        win::Selection reading(from.get(), copy.get());
        win::Selection drawing(dc.get(), scaled.get());
        if (!reading || !drawing) return;
        bool deep = GetDeviceCaps(source.get(), BITSPIXEL) > 16;
        SetStretchBltMode(dc.get(), deep ? HALFTONE : COLORONCOLOR);
        if (deep) SetBrushOrgEx(dc.get(), 0, 0, nullptr);  // required after choosing HALFTONE
        StretchBlt(dc.get(), 0, 0, targetWidth, targetHeight, from.get(), 0, 0, sourceWidth, sourceHeight, SRCCOPY);
        image = scaled.get();
    }

    auto block = static_cast<char*>(NewByteSet(nullptr, static_cast<size_t>(fileBytes)));
    char* file = block + 8;
    std::memset(file, 0, 54);
    file[0] = 'B';
    file[1] = 'M';
    Put32(file + 2, static_cast<uint32_t>(fileBytes));
    Put32(file + 10, 54);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = targetWidth;
    info.bmiHeader.biHeight = targetHeight;  // positive: rows bottom-up
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    info.bmiHeader.biSizeImage = static_cast<DWORD>(pixelBytes);
    std::memcpy(file + 14, &info.bmiHeader, sizeof(BITMAPINFOHEADER));

    int rows;
    {
        win::Palette palette = SystemPalette(source.get());
        win::PaletteSelection mapping(dc.get(), palette.get());
        rows = GetDIBits(dc.get(), image, 0, static_cast<UINT>(targetHeight), file + 54, &info, DIB_RGB_COLORS);
    }
    if (rows != targetHeight) {
        RtFree(block);
        return;
    }
    cmd::SetByteSet(result, block);
}
