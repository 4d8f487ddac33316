// Type data of the button (type code 0x0001000B), maximum version 1.
#pragma once

#include "forms/type_data/type_data_io.h"

struct ButtonData {
    static constexpr uint32_t kMaxVersion = 1;

    uint32_t buttonType = 0;           // [9]
    uint32_t horizontalAlignment = 1;  // [11] 1 = centre
    uint32_t verticalAlignment = 1;    // [12] 1 = centre
    std::vector<uint8_t> picture;      // [8]
    FontBlock font;                    // [13]
    std::string caption;               // [10]

    static std::optional<ButtonData> Parse(const uint8_t* data, size_t size);
    static std::vector<uint8_t> Write(const ButtonData& d);
    bool operator==(const ButtonData&) const = default;
};
