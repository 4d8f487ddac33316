// Type data of the status bar (type code 0x00030002), maximum version 1.
//
// The parts block (property 13) is a u32 part count, then per part: i32 width, u32 flags,
// i32 image index (-1 none), the text and the tip text (zero-terminated). An empty block
// means no parts; Write stores an empty part list as an empty block. The block must hold
// exactly its parts: a short or overlong parts block makes Parse fail, since the property
// is rebuilt from the parsed parts and anything else in it would be lost silently.
#pragma once

#include "forms/type_data/type_data_io.h"

struct StatusBarPart {
    int32_t width = -1;   // pixels; -1 reaches the right edge
    uint32_t flags = 0;
    int32_t image = -1;   // image list index, -1 none
    std::string text;
    std::string tip;
    bool operator==(const StatusBarPart&) const = default;
};

struct StatusBarData {
    static constexpr uint32_t kMaxVersion = 1;

    uint32_t backgroundColour = kColourMarker;  // [8] marker: the system colour
    uint32_t style = 0;                         // [9]
    uint32_t switch10 = 0;                      // [10]
    FontBlock font;                             // [11]
    std::vector<uint8_t> imageList;             // [12] "MITL" image list block, empty = none
    std::vector<StatusBarPart> parts;           // [13]

    static std::optional<std::vector<StatusBarPart>> ParseParts(const uint8_t* data, size_t size);
    static std::vector<uint8_t> WriteParts(const std::vector<StatusBarPart>& parts);

    static std::optional<StatusBarData> Parse(const uint8_t* data, size_t size);
    static std::vector<uint8_t> Write(const StatusBarData& d);
    bool operator==(const StatusBarData&) const = default;
};
