// Type data of the super list box (type code 0x00030004), maximum version 1.
//
//   version u32; 24 u32 fields in the order of the members below (property 8, 9-11,
//   13, 14, 15, 16, 18, 20, 21, 22, 23, 26-36); then six counted blocks: font (12),
//   columns (17), header image list (19), item image list (24), state image list (25),
//   rows (37).
//
// Column block: column records back to back until the end of the block, each
//   u8 image on the right, i32 image index (-1 none), i32 alignment (0 left, 1 centre,
//   2 right), i32 width, zero-terminated title.
// Row block (this system's own layout; empty means no rows):
//   u32 row count; per row a u32 cell count and that many cells; per cell
//   u8 flag, i32 image (-1 none), i32 check state, i32 indent, i32 data,
//   zero-terminated text, zero-terminated tip text. Cell 0 is the row's item.
// Both blocks must hold exactly their records.
// Image lists are kept as stored: "MITL", 4 unread bytes, then an ImageList_Write stream;
// 8 bytes or fewer, or no "MITL" mark, mean no image list.
#pragma once

#include "forms/type_data/type_data_io.h"

struct ListViewColumn {
    uint8_t imageOnRight = 0;
    int32_t image = -1;
    int32_t alignment = 0;
    int32_t width = 50;
    std::string title;
    bool operator==(const ListViewColumn&) const = default;
};

struct ListViewCell {
    uint8_t flag = 0;
    int32_t image = -1;
    int32_t checkState = 0;
    int32_t indent = 0;
    int32_t data = 0;
    std::string text;
    std::string tip;
    bool operator==(const ListViewCell&) const = default;
};

using ListViewRow = std::vector<ListViewCell>;

// True when an image list block carries an image list at all.
bool HasImageList(const std::vector<uint8_t>& block);

struct ListViewData {
    static constexpr uint32_t kMaxVersion = 1;

    uint32_t border = 1;                        // [8] 0-5
    uint32_t textColour = 0x00000000;           // [9]
    uint32_t textBackgroundColour = 0x00FFFFFF; // [10]
    uint32_t backgroundColour = 0x00FFFFFF;     // [11]
    uint32_t viewType = 0;                      // [13] 0 large icons, 1 small, 2 list, 3 report
    uint32_t iconArrangement = 0;               // [14] 0 top, 1 left
    uint32_t autoArrange = 0;                   // [15]
    uint32_t labelWrap = 1;                     // [16]
    uint32_t noColumnHeader = 0;                // [18]
    uint32_t clickableHeader = 1;               // [20]
    uint32_t fullRowSelect = 0;                 // [21]
    uint32_t gridLines = 0;                     // [22]
    uint32_t headerDragDrop = 0;                // [23]
    uint32_t hotTracking = 0;                   // [26]
    uint32_t handCursor = 0;                    // [27]
    uint32_t underlineCold = 0;                 // [28]
    uint32_t underlineHot = 0;                  // [29]
    uint32_t editableLabels = 0;                // [30]
    uint32_t sortOrder = 0;                     // [31] 0 none, 1 ascending, 2 descending
    uint32_t checkBoxes = 0;                    // [32]
    uint32_t flatScrollBars = 0;                // [33]
    uint32_t singleSelection = 0;               // [34]
    int32_t currentSelection = -1;              // [35] -1 none
    uint32_t alwaysShowSelection = 0;           // [36]
    FontBlock font;                             // [12]
    std::vector<ListViewColumn> columns;        // [17]
    std::vector<uint8_t> headerImageList;       // [19]
    std::vector<uint8_t> itemImageList;         // [24]
    std::vector<uint8_t> stateImageList;        // [25]
    std::vector<ListViewRow> rows;              // [37]

    static std::optional<std::vector<ListViewColumn>> ParseColumns(const uint8_t* data, size_t size);
    static std::vector<uint8_t> WriteColumns(const std::vector<ListViewColumn>& columns);
    static std::optional<std::vector<ListViewRow>> ParseRows(const uint8_t* data, size_t size);
    static std::vector<uint8_t> WriteRows(const std::vector<ListViewRow>& rows);

    static std::optional<ListViewData> Parse(const uint8_t* data, size_t size);
    static std::vector<uint8_t> Write(const ListViewData& d);
    bool operator==(const ListViewData&) const = default;
};
