#include "forms/units/unit_helpers.h"

#include "forms/type_data/type_data_io.h"
#include "runtime/gbk_text.h"

std::string WindowTextGbk(HWND hwnd) {
    int n = GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    n = GetWindowTextW(hwnd, text.data(), n + 1);
    return GbkFromWide(text.c_str(), static_cast<size_t>(n > 0 ? n : 0));
}

void SetWindowTextGbk(HWND hwnd, const std::string& text) {
    SetWindowTextW(hwnd, WideFromGbk(text.c_str(), text.size()).c_str());
}

int32_t GbkOffsetOf(const std::wstring& text, int wideIndex) {
    if (wideIndex <= 0) return 0;
    size_t n = static_cast<size_t>(wideIndex) < text.size() ? static_cast<size_t>(wideIndex) : text.size();
    return static_cast<int32_t>(GbkFromWide(text.c_str(), n).size());
}

int WideIndexOf(const std::wstring& text, int32_t gbkOffset) {
    if (gbkOffset <= 0) return 0;
    int32_t bytes = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (bytes >= gbkOffset) return static_cast<int>(i);
        bytes += static_cast<int32_t>(GbkFromWide(&text[i], 1).size());
    }
    return static_cast<int>(text.size());
}

void BorderStyles(uint32_t border, DWORD* style, DWORD* exStyle) {
    switch (border) {
        case 1: *exStyle |= WS_EX_CLIENTEDGE; break;
        case 2: *exStyle |= WS_EX_DLGMODALFRAME; break;
        case 3: *exStyle |= WS_EX_STATICEDGE; break;
        case 4: *exStyle |= WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME; break;
        case 5: *style |= WS_BORDER; break;
        default: break;
    }
}

int32_t Clamp(int64_t v, int32_t low, int32_t high) {
    return static_cast<int32_t>(v < low ? low : (v > high ? high : v));
}

void EnumerateFontFace(TextCallback callback, void* context, const std::vector<uint8_t>& font) {
    if (std::optional<LogFontBytes> f = DecodeFont(font)) EnumerateText(callback, context, f->Face());
}
