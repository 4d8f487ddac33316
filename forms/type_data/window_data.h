// Type data of the window (type code 0x00010001), maximum version 6. The bracketed
// numbers are property indexes. Switches and choices without a name in this system are
// passed through as stored.
#pragma once

#include "forms/type_data/type_data_io.h"

struct WindowData {
    static constexpr uint32_t kMaxVersion = 6;

    uint32_t borderStyle = 2;                   // [9] 0 none .. 6; 2 fixed with caption
    uint32_t pictureSetting = 0;                // [12] 0-3
    uint32_t backgroundColour = kColourMarker;  // [10] marker: the system's window colour
    uint32_t maximiseBox = 0;                   // [16]
    uint32_t minimiseBox = 1;                   // [17]
    uint32_t controlBox = 1;                    // [15]
    uint32_t position = 0;                      // [18] 0 as stored, 1 centred, 2 min, 3 max
    uint32_t movable = 1;                       // [19]
    uint32_t soundSetting = 0;                  // [14] 0-2
    uint32_t switch21 = 0;                      // [21]
    uint32_t switch22 = 0;                      // [22]
    uint32_t switch23 = 0;                      // [23]
    uint32_t integer25 = 0;                     // [25]
    uint32_t showInTaskbar = 1;                 // [26] from version 2
    uint32_t switch27 = 0;                      // [27] from version 3
    uint32_t choice28 = 0;                      // [28] from version 3, 0-29
    uint32_t alwaysOnTop = 0;                   // [29] from version 4
    uint32_t switch30 = 0;                      // [30] from version 5
    std::string className;                      // [31] version 6; empty: the runtime's class
    std::vector<uint8_t> backgroundPicture;     // [11]
    std::vector<uint8_t> icon;                  // [20]
    std::vector<uint8_t> backgroundMusic;       // [13]
    std::string caption;                        // [8]
    std::string fileName;                       // [24]

    static std::optional<WindowData> Parse(const uint8_t* data, size_t size);
    static std::vector<uint8_t> Write(const WindowData& d);
    bool operator==(const WindowData&) const = default;
};
