// CaptureWindowImage: the screen or a window as a 24-bit BMP file image.
#include <cstring>
#include <vector>

#include "runtime/commands/command_args.h"
#include "runtime/commands/core_commands.h"
#include "runtime/heap.h"

namespace {

// Owners of the GDI objects of one capture, released in reverse order.
struct WindowDc {
    HWND window;
    HDC dc;
    explicit WindowDc(HWND w) : window(w), dc(w ? GetWindowDC(w) : GetDC(nullptr)) {}
    ~WindowDc() {
        if (dc) ReleaseDC(window, dc);
    }
};

struct MemoryBitmap {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;
    MemoryBitmap(HDC compatibleWith, int width, int height) {
        dc = CreateCompatibleDC(compatibleWith);
        bitmap = CreateCompatibleBitmap(compatibleWith, width, height);
        if (dc && bitmap) previous = SelectObject(dc, bitmap);
    }
    ~MemoryBitmap() {
        if (previous) SelectObject(dc, previous);
        if (bitmap) DeleteObject(bitmap);
        if (dc) DeleteDC(dc);
    }
    bool ok() const { return dc && bitmap && previous; }
};

// The system palette of a palette display, so that GetDIBits maps its indexes to colours.
HPALETTE SystemPalette(HDC screen) {
    if (!(GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE)) return nullptr;
    int entries = GetDeviceCaps(screen, SIZEPALETTE);
    if (entries <= 0 || entries > 256) return nullptr;
    std::vector<char> storage(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * static_cast<size_t>(entries));
    auto* palette = reinterpret_cast<LOGPALETTE*>(storage.data());
    palette->palVersion = 0x300;
    palette->palNumEntries = static_cast<WORD>(entries);
    GetSystemPaletteEntries(screen, 0, static_cast<UINT>(entries), palette->palPalEntry);
    return CreatePalette(palette);
}

void Put32(char* p, uint32_t v) { std::memcpy(p, &v, 4); }

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
    if (window) {
        RECT r;
        if (!IsWindow(window) || !GetWindowRect(window, &r)) return;
        sourceWidth = r.right - r.left;
        sourceHeight = r.bottom - r.top;
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

    WindowDc source(window);
    if (!source.dc) return;
    MemoryBitmap copy(source.dc, sourceWidth, sourceHeight);
    if (!copy.ok()) return;
    BitBlt(copy.dc, 0, 0, sourceWidth, sourceHeight, source.dc, 0, 0, SRCCOPY | CAPTUREBLT);

    MemoryBitmap scaled(source.dc, targetWidth, targetHeight);
    MemoryBitmap* image = &copy;
    if (targetWidth != sourceWidth || targetHeight != sourceHeight) {
        if (!scaled.ok()) return;
        bool deep = GetDeviceCaps(source.dc, BITSPIXEL) > 16;
        SetStretchBltMode(scaled.dc, deep ? HALFTONE : COLORONCOLOR);
        if (deep) SetBrushOrgEx(scaled.dc, 0, 0, nullptr);  // required after choosing HALFTONE
        StretchBlt(scaled.dc, 0, 0, targetWidth, targetHeight, copy.dc, 0, 0, sourceWidth, sourceHeight, SRCCOPY);
        image = &scaled;
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

    HPALETTE palette = SystemPalette(source.dc);
    HPALETTE previousPalette = nullptr;
    if (palette) {
        previousPalette = SelectPalette(image->dc, palette, FALSE);
        RealizePalette(image->dc);
    }
    // The bitmap may not stay selected in a DC while GetDIBits reads it.
    SelectObject(image->dc, image->previous);
    int rows = GetDIBits(image->dc, image->bitmap, 0, static_cast<UINT>(targetHeight), file + 54, &info,
                         DIB_RGB_COLORS);
    SelectObject(image->dc, image->bitmap);
    if (palette) {
        SelectPalette(image->dc, previousPalette, FALSE);
        DeleteObject(palette);
    }
    if (rows != targetHeight) {
        RtFree(block);
        return;
    }
    cmd::SetByteSet(result, block);
}
