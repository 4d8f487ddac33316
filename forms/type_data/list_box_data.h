// Type data of the list box (type code 0x0001000F), maximum version 3.
#pragma once

#include "forms/type_data/type_data_io.h"

struct ListBoxData {
    static constexpr uint32_t kMaxVersion = 3;

    uint32_t border = 1;                       // [8] 0-5
    uint32_t switch9 = 0;                      // [9]
    uint32_t switch10 = 0;                     // [10]
    uint32_t itemSpacing = 1;                  // [11] extra pixels per item
    uint32_t textColour = 0x00000000;          // [12]
    uint32_t backgroundColour = 0x00FFFFFF;    // [13]
    uint32_t switch15 = 0;                     // [15]
    int32_t currentSelection = -1;             // [16] -1 none
    FontBlock font;                            // [14]
    std::vector<uint8_t> itemValues;           // [18]
    std::vector<std::string> items;            // [17] at most 65535 are stored
    std::string dataSource;                    // [19] from version 2
    std::string dataColumn;                    // [20] from version 2
    uint32_t switch21 = 0;                     // [21] from version 3

    static std::optional<ListBoxData> Parse(const uint8_t* data, size_t size);
    static std::vector<uint8_t> Write(const ListBoxData& d);
    bool operator==(const ListBoxData&) const = default;
};
