// Type data of the edit box (type code 0x00010005), maximum version 2.
#pragma once

#include "forms/type_data/type_data_io.h"

struct EditBoxData {
    static constexpr uint32_t kMaxVersion = 2;

    // Input modes of property 18.
    enum InputMode : uint32_t {
        kNormal = 0, kReadOnly = 1, kPassword = 2, kIntegerText = 3, kDecimalText = 4, kByte = 5,
        kShort = 6, kInteger = 7, kLong = 8, kFloat = 9, kDouble = 10, kDateTime = 11,
    };

    uint32_t border = 1;                  // [9] 0-3
    uint32_t textColour = 0x00000000;     // [10]
    uint32_t backgroundColour = 0x00FFFFFF;  // [11] below 0x80000000 an RGB
    uint32_t hideSelection = 1;           // [13]
    uint32_t maxLength = 0;               // [14] characters, 0 = no limit
    uint32_t multiLine = 0;               // [15]
    uint32_t scrollBars = 0;              // [16] 0 none, 1 horizontal, 2 vertical, 3 both
    uint32_t alignment = 0;               // [17] 0 left, 1 centre, 2 right
    uint32_t inputMode = kNormal;         // [18]
    uint16_t passwordChar = '*';          // [19] one-byte character in the low byte
    uint32_t caseConversion = 0;          // [20] 0 none, 1 lower, 2 upper
    uint32_t spinMode = 0;                // [21] non-zero adds spin buttons
    int32_t spinMin = 0;                  // [22]
    int32_t spinMax = 100;                // [23]
    uint32_t selectionStart = 0;          // [24]
    uint32_t selectionLength = 0;         // [25]
    FontBlock font;                       // [12]
    std::string content;                  // [8]
    std::string dataSource;               // [27] from version 2
    std::string dataColumn;               // [28] from version 2

    static std::optional<EditBoxData> Parse(const uint8_t* data, size_t size);
    static std::vector<uint8_t> Write(const EditBoxData& d);
    bool operator==(const EditBoxData&) const = default;
};
