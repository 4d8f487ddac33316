// Type data of the group box (type code 0x00010009), maximum version 1.
#pragma once

#include "forms/type_data/type_data_io.h"

struct GroupBoxData {
    static constexpr uint32_t kMaxVersion = 1;

    uint32_t frameStyle = 0;                    // [9]
    uint32_t textColour = 0x00000000;           // [10]
    uint32_t backgroundColour = kColourMarker;  // [11] marker: the parent's colour
    FontBlock font;                             // [12]
    std::string caption;                        // [8]

    static std::optional<GroupBoxData> Parse(const uint8_t* data, size_t size);
    static std::vector<uint8_t> Write(const GroupBoxData& d);
    bool operator==(const GroupBoxData&) const = default;
};
