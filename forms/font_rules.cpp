#include "forms/font_rules.h"

#include <cstring>

const char kDefaultFontFace[] = "宋体";

namespace {

// MulDiv's rounding: half away from zero.
int32_t ScaleRounded(int64_t value, int64_t numerator, int64_t denominator) {
    if (denominator == 0) return 0;
    int64_t product = value * numerator;
    int64_t half = denominator / 2;
    int64_t q = product >= 0 ? (product + half) / denominator : -((-product + half) / denominator);
    return static_cast<int32_t>(q);
}

int32_t Switch(int32_t v) { return v != 0 ? 1 : 0; }

// Whole-font writes give the default face for a face of 31 bytes or more, part writes only
// beyond 31 bytes; both fit the 32-byte face field.
void SetFaceOrDefault(LogFontBytes& font, const char* face, size_t longestAccepted) {
    size_t n = face ? std::strlen(face) : 0;
    font.SetFace(n >= 1 && n <= longestAccepted ? face : kDefaultFontFace);
}

}  // namespace

int32_t FontHeightFromPoints(int32_t points, int dpi) { return -ScaleRounded(points, dpi, 72); }

int32_t FontPointsFromHeight(int32_t height, int dpi) {
    int64_t h = height < 0 ? -int64_t{height} : int64_t{height};
    return ScaleRounded(h, 72, dpi);
}

LogFontBytes FontFromDescription(const FontDescription& d, int dpi) {
    LogFontBytes f;
    f.height = FontHeightFromPoints(d.sizePoints, dpi);
    f.escapement = f.orientation = d.angle % 3600;
    f.weight = d.bold ? 700 : 0;
    f.italic = static_cast<uint8_t>(Switch(d.italic));
    f.underline = static_cast<uint8_t>(Switch(d.underline));
    f.strikeOut = static_cast<uint8_t>(Switch(d.strikeOut));
    f.charSet = 1;  // DEFAULT_CHARSET
    SetFaceOrDefault(f, d.faceName, 30);
    return f;
}

bool ReplaceFontPart(LogFontBytes& font, int32_t part, int32_t number, const char* text, int dpi) {
    switch (part) {
        case kFontPartAngle: font.escapement = font.orientation = number % 3600; return true;
        case kFontPartBold: font.weight = number ? 700 : 0; return true;
        case kFontPartItalic: font.italic = static_cast<uint8_t>(Switch(number)); return true;
        case kFontPartUnderline: font.underline = static_cast<uint8_t>(Switch(number)); return true;
        case kFontPartStrikeOut: font.strikeOut = static_cast<uint8_t>(Switch(number)); return true;
        case kFontPartSize: font.height = FontHeightFromPoints(number, dpi); return true;
        case kFontPartFace: SetFaceOrDefault(font, text, 31); return true;
        default: return false;
    }
}

int32_t ReadFontPart(const LogFontBytes& font, int32_t part, std::string* text, int dpi) {
    switch (part) {
        case kFontPartAngle: return font.escapement;
        case kFontPartBold: return font.weight >= 700 ? 1 : 0;
        case kFontPartItalic: return font.italic ? 1 : 0;
        case kFontPartUnderline: return font.underline ? 1 : 0;
        case kFontPartStrikeOut: return font.strikeOut ? 1 : 0;
        case kFontPartSize: return FontPointsFromHeight(font.height, dpi);
        case kFontPartFace:
            if (text) *text = font.Face();
            return 0;
        default: return 0;
    }
}

LogFontBytes FontForCreation(const LogFontBytes& stored) {
    LogFontBytes f = stored;
    f.charSet = 1;         // DEFAULT_CHARSET
    f.outPrecision = 0;
    f.clipPrecision = 0;
    f.quality = 2;         // PROOF_QUALITY
    f.pitchAndFamily = 0;
    return f;
}
