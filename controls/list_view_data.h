// Type data of the super list box, maximum version 1, and its
// properties: one line per field, in the order of the type data (24 words, then six counted
// blocks: font, columns, three image lists, rows).
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

#include "forms/type_data/described_properties.h"

#define MG_LIST_VIEW_COLUMN_FIELDS(F, V, U)                                      \
    F(uint8_t, imageOnRight, 0, Stored("image_on_right").OfType(P::kSwitch))    \
    F(int32_t, image, -1, Stored("image"))                                      \
    F(int32_t, alignment, 0, Stored("alignment").Names(kHorizontalChoices))     \
    F(int32_t, width, 50, Stored("width"))                                      \
    F(std::string, title, {}, Stored("title").ZeroEnded())

struct ListViewColumn {
    MG_DESCRIBED_FIELDS(MG_LIST_VIEW_COLUMN_FIELDS)
    bool operator==(const ListViewColumn&) const = default;
};

#define MG_LIST_VIEW_CELL_FIELDS(F, V, U)                  \
    F(uint8_t, flag, 0, Stored("flag"))                   \
    F(int32_t, image, -1, Stored("image"))                \
    F(int32_t, checkState, 0, Stored("check_state"))      \
    F(int32_t, indent, 0, Stored("indent"))               \
    F(int32_t, data, 0, Stored("data"))                   \
    F(std::string, text, {}, Stored("text").ZeroEnded())  \
    F(std::string, tip, {}, Stored("tip").ZeroEnded())

struct ListViewCell {
    MG_DESCRIBED_FIELDS(MG_LIST_VIEW_CELL_FIELDS)
    bool operator==(const ListViewCell&) const = default;
};

using ListViewRow = std::vector<ListViewCell>;

template <>
struct BlockCodec<std::vector<ListViewColumn>> {
    static std::optional<std::vector<ListViewColumn>> Parse(const uint8_t* data, size_t size);
    static std::vector<uint8_t> Write(const std::vector<ListViewColumn>& columns);
};

template <>
struct BlockCodec<std::vector<ListViewRow>> {
    static std::optional<std::vector<ListViewRow>> Parse(const uint8_t* data, size_t size);
    static std::vector<uint8_t> Write(const std::vector<ListViewRow>& rows);
};

// True when an image list block carries an image list at all.
bool HasImageList(const std::vector<uint8_t>& block);

inline constexpr std::array<Choice, 4> kViewTypeChoices = {
    {{"large_icons", 0}, {"small_icons", 1}, {"list", 2}, {"report", 3}}};
inline constexpr std::array<Choice, 2> kIconArrangementChoices = {{{"top", 0}, {"left", 1}}};
inline constexpr std::array<Choice, 3> kSortOrderChoices = {{{"none", 0}, {"ascending", 1}, {"descending", 2}}};

#define MG_LIST_VIEW_FIELDS(F, V, U)                                                                           \
    F(uint32_t, border, 1, Prop(8, "Border", P::kPick).Range(0, 5))                                           \
    F(uint32_t, textColour, 0x00000000, Prop(9, "TextColour", P::kColour))                                    \
    F(uint32_t, textBackgroundColour, 0x00FFFFFF, Prop(10, "TextBackgroundColour", P::kColour))               \
    F(uint32_t, backgroundColour, 0x00FFFFFF, Prop(11, "BackgroundColour", P::kBackgroundColour))             \
    F(uint32_t, viewType, 0, Prop(13, "ViewType", P::kPick).Range(0, 3).Names(kViewTypeChoices))              \
    F(uint32_t, iconArrangement, 0, Prop(14, "IconArrangement", P::kPick).Range(0, 1).Names(kIconArrangementChoices)) \
    F(uint32_t, autoArrange, 0, Prop(15, "AutoArrange", P::kSwitch))                                          \
    F(uint32_t, labelWrap, 1, Prop(16, "LabelWrap", P::kSwitch))                                              \
    F(uint32_t, noColumnHeader, 0, Prop(18, "NoColumnHeader", P::kSwitch))                                    \
    F(uint32_t, clickableHeader, 1, Prop(20, "ClickableHeader", P::kSwitch))                                  \
    F(uint32_t, fullRowSelect, 0, Prop(21, "FullRowSelect", P::kSwitch))                                      \
    F(uint32_t, gridLines, 0, Prop(22, "GridLines", P::kSwitch))                                              \
    F(uint32_t, headerDragDrop, 0, Prop(23, "HeaderDragDrop", P::kSwitch))                                    \
    F(uint32_t, hotTracking, 0, Prop(26, "HotTracking", P::kSwitch))                                          \
    F(uint32_t, handCursor, 0, Prop(27, "HandCursor", P::kSwitch))                                            \
    F(uint32_t, underlineCold, 0, Prop(28, "UnderlineCold", P::kSwitch))                                      \
    F(uint32_t, underlineHot, 0, Prop(29, "UnderlineHot", P::kSwitch))                                        \
    F(uint32_t, editableLabels, 0, Prop(30, "EditableLabels", P::kSwitch))                                    \
    F(uint32_t, sortOrder, 0, Prop(31, "SortOrder", P::kPick).Range(0, 2).Names(kSortOrderChoices))           \
    F(uint32_t, checkBoxes, 0, Prop(32, "CheckBoxes", P::kSwitch))                                            \
    F(uint32_t, flatScrollBars, 0, Prop(33, "FlatScrollBars", P::kSwitch))                                    \
    F(uint32_t, singleSelection, 0, Prop(34, "SingleSelection", P::kSwitch))                                  \
    F(int32_t, currentSelection, -1, Prop(35, "CurrentSelection", P::kInteger).Range(-1, INT32_MAX))          \
    F(uint32_t, alwaysShowSelection, 0, Prop(36, "AlwaysShowSelection", P::kSwitch))                          \
    F(FontBlock, font, {}, Prop(12, "Font", P::kFont))                                                        \
    F(std::vector<ListViewColumn>, columns, {}, Prop(17, "Columns", P::kCustomData))                          \
    F(std::vector<uint8_t>, headerImageList, {}, Prop(19, "HeaderImageList", P::kImageList))                  \
    F(std::vector<uint8_t>, itemImageList, {}, Prop(24, "ItemImageList", P::kImageList))                      \
    F(std::vector<uint8_t>, stateImageList, {}, Prop(25, "StateImageList", P::kImageList))                    \
    F(std::vector<ListViewRow>, rows, {}, Prop(37, "Rows", P::kCustomData))                                   \
    U(Prop(38, "Text38", P::kText).ReadOnlyAtRunTime())
// View types: 0 large icons, 1 small icons, 2 list, 3 report; icon arrangement 0 top,
// 1 left; sort order 0 none, 1 ascending, 2 descending; current selection -1 for none.

struct ListViewData {
    static constexpr const char* kTypeName = "超级列表框";
    static constexpr const char* kEnglishName = "ListView";
    static constexpr uint32_t kMaxVersion = 1;
    MG_DESCRIBED_FIELDS(MG_LIST_VIEW_FIELDS)

    static std::optional<std::vector<ListViewColumn>> ParseColumns(const uint8_t* data, size_t size) {
        return BlockCodec<std::vector<ListViewColumn>>::Parse(data, size);
    }
    static std::vector<uint8_t> WriteColumns(const std::vector<ListViewColumn>& columns) {
        return BlockCodec<std::vector<ListViewColumn>>::Write(columns);
    }
    static std::optional<std::vector<ListViewRow>> ParseRows(const uint8_t* data, size_t size) {
        return BlockCodec<std::vector<ListViewRow>>::Parse(data, size);
    }
    static std::vector<uint8_t> WriteRows(const std::vector<ListViewRow>& rows) {
        return BlockCodec<std::vector<ListViewRow>>::Write(rows);
    }
    static std::optional<ListViewData> Parse(const uint8_t* data, size_t size) {
        return ParseTypeData<ListViewData>(data, size);
    }
    static std::vector<uint8_t> Write(const ListViewData& d) { return WriteTypeData(d); }
    bool operator==(const ListViewData&) const = default;
};
