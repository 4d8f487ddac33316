// Type data of the label (type code 0x0001000A), maximum version 2. Choices and colours
// without a name in this system are passed through as stored.
#pragma once

#include "forms/type_data/type_data_io.h"

struct LabelData {
    static constexpr uint32_t kMaxVersion = 2;

    // The 16 words follow the stored order, not the property order.
    uint32_t choice9 = 0;                       // [9] 0-3
    uint32_t integer11 = 5;                     // [11] at least 5
    uint32_t border = 0;                        // [10] 0-6
    uint32_t colour12 = kColourMarker;          // [12]
    uint32_t colour13 = kColourMarker;          // [13]
    uint32_t colour14 = kColourMarker;          // [14]
    uint32_t textColour = 0x00000000;           // [16]
    uint32_t backgroundColour = kColourMarker;  // [17] 0xFF000000 = transparent
    uint32_t choice19 = 0;                      // [19] 0-2
    uint32_t choice20 = 0;                      // [20] 0-8
    uint32_t colour21 = kColourMarker;          // [21]
    uint32_t colour22 = kColourMarker;          // [22]
    uint32_t colour23 = kColourMarker;          // [23]
    uint32_t choice24 = 0;                      // [24] 0-2
    uint32_t choice26 = 0;                      // [26] 0-2
    uint32_t switch25 = 0;                      // [25]
    FontBlock font;                             // [15]
    std::vector<uint8_t> backgroundPicture;     // [18]
    std::string caption;                        // [8]
    std::string dataSource;                     // [27] from version 2
    std::string dataColumn;                     // [28] from version 2

    static std::optional<LabelData> Parse(const uint8_t* data, size_t size);
    static std::vector<uint8_t> Write(const LabelData& d);
    bool operator==(const LabelData&) const = default;
};
