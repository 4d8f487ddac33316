// Type data of the transparent label (type code 0x00030005), maximum version 1:
// version, effect, text colour, horizontal alignment, vertical alignment, word wrap
// (u32 each), font (counted block), caption (counted text).
#pragma once

#include "forms/type_data/type_data_io.h"

struct TransLabelData {
    static constexpr uint32_t kMaxVersion = 1;

    std::string caption = "\xCD\xB8\xC3\xF7\xB1\xEA\xC7\xA9";  // [8] "透明标签"
    uint32_t effect = 0;               // [9] 0 none, 1-3 raised and shadowed drawings
    FontBlock font;                    // [10] empty: the default GUI font
    uint32_t textColour = 0x00000000;  // [11]
    uint32_t horizontalAlignment = 0;  // [12] 0 left, 1 centre, 2 right
    uint32_t wordWrap = 0;             // [13]
    uint32_t verticalAlignment = 1;    // [14] 0 top, 1 centre, 2 bottom

    static std::optional<TransLabelData> Parse(const uint8_t* data, size_t size);
    static std::vector<uint8_t> Write(const TransLabelData& d);
    bool operator==(const TransLabelData&) const = default;
};
