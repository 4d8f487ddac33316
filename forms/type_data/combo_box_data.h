// Type data of the combo box (type code 0x0001000E), maximum version 3.
#pragma once

#include "forms/type_data/type_data_io.h"

struct ComboBoxData {
    static constexpr uint32_t kMaxVersion = 3;

    uint32_t style = 1;                        // [8] 0-2
    uint32_t maxLength = 0;                    // [10] 0-32767
    uint32_t selectionStart = 0;               // [11]
    uint32_t selectionLength = 0;              // [12]
    uint32_t switch14 = 0;                     // [14]
    uint32_t itemSpacing = 1;                  // [15] extra pixels per item
    uint32_t textColour = 0x00000000;          // [16]
    uint32_t backgroundColour = 0x00FFFFFF;    // [17]
    int32_t currentSelection = -1;             // [19] -1 none
    FontBlock font;                            // [18]
    std::vector<uint8_t> itemValues;           // [21]
    std::string content;                       // [9]
    std::vector<std::string> items;            // [20] at most 65535 are stored
    std::string dataSource;                    // [22] from version 2
    std::string dataColumn;                    // [23] from version 2
    uint32_t switch24 = 0;                     // [24] from version 3

    static std::optional<ComboBoxData> Parse(const uint8_t* data, size_t size);
    static std::vector<uint8_t> Write(const ComboBoxData& d);
    bool operator==(const ComboBoxData&) const = default;
};
