// Font properties: the font description a whole-font write carries, and the seven parts
// (0 angle, 1 bold, 2 italic, 3 underline, 4 strike-out, 5 size in points, 6 face name)
// that a part write replaces in the unit's current font. Portable: the screen resolution
// is a parameter.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "forms/type_data/type_data_io.h"

// What a font property write with part -1 points at (value low/high hold its address).
struct FontDescription {
    int32_t angle;       // tenths of a degree
    int32_t bold;        // switches
    int32_t italic;
    int32_t underline;
    int32_t strikeOut;
    int32_t sizePoints;
    const char* faceName;  // GBK; null or empty: the default face
};

// "宋体": the face used when none, or none that fits, is given.
extern const char kDefaultFontFace[];

enum FontPart : int32_t {
    kFontPartAngle = 0,
    kFontPartBold = 1,
    kFontPartItalic = 2,
    kFontPartUnderline = 3,
    kFontPartStrikeOut = 4,
    kFontPartSize = 5,
    kFontPartFace = 6,
};

// Points to a LOGFONT height at `dpi` (negative: character height) and back.
int32_t FontHeightFromPoints(int32_t points, int dpi);
int32_t FontPointsFromHeight(int32_t height, int dpi);

LogFontBytes FontFromDescription(const FontDescription& d, int dpi);

// Replaces one part of `font`; `number` carries parts 0-5, `text` part 6. False for a
// part outside 0-6 (the font is left as it was).
bool ReplaceFontPart(LogFontBytes& font, int32_t part, int32_t number, const char* text, int dpi);

// One part of a font: parts 0-5 as a number, part 6 in *text.
int32_t ReadFontPart(const LogFontBytes& font, int32_t part, std::string* text, int dpi);

// The GDI form of a stored font: charset DEFAULT_CHARSET, precisions 0, PROOF_QUALITY and
// pitch-and-family 0 whatever the block says.
LogFontBytes FontForCreation(const LogFontBytes& stored);
