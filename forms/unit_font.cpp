#include "forms/unit_font.h"

#include <cstring>

#include "runtime/gbk_text.h"
#include "runtime/win32_handles.h"

win::Font CreateFontFromBlock(const std::vector<uint8_t>& block) {
    std::optional<LogFontBytes> stored = DecodeFont(block);
    if (!stored) return {};
    LogFontBytes f = FontForCreation(*stored);
    LOGFONTW lf = {};
    lf.lfHeight = f.height;
    lf.lfWidth = f.width;
    lf.lfEscapement = f.escapement;
    lf.lfOrientation = f.orientation;
    lf.lfWeight = f.weight;
    lf.lfItalic = f.italic;
    lf.lfUnderline = f.underline;
    lf.lfStrikeOut = f.strikeOut;
    lf.lfCharSet = f.charSet;
    lf.lfOutPrecision = f.outPrecision;
    lf.lfClipPrecision = f.clipPrecision;
    lf.lfQuality = f.quality;
    lf.lfPitchAndFamily = f.pitchAndFamily;
    std::wstring face = WideFromGbk(f.Face().c_str());
    wcsncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    return win::Font(CreateFontIndirectW(&lf));
}

LogFontBytes FontBytesOf(HFONT font) {
    LOGFONTW lf = {};
    GetObjectW(font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)), sizeof lf, &lf);
    LogFontBytes f;
    f.height = lf.lfHeight;
    f.width = lf.lfWidth;
    f.escapement = lf.lfEscapement;
    f.orientation = lf.lfOrientation;
    f.weight = lf.lfWeight;
    f.italic = lf.lfItalic;
    f.underline = lf.lfUnderline;
    f.strikeOut = lf.lfStrikeOut;
    f.charSet = lf.lfCharSet;
    f.outPrecision = lf.lfOutPrecision;
    f.clipPrecision = lf.lfClipPrecision;
    f.quality = lf.lfQuality;
    f.pitchAndFamily = lf.lfPitchAndFamily;
    f.SetFace(GbkFromWide(lf.lfFaceName));
    return f;
}

int ScreenDpi() {
    win::WindowDc screen(nullptr);
    int dpi = screen ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 96;
    return dpi > 0 ? dpi : 96;
}
