#include "controls/list_view_data.h"

#include <type_traits>

namespace {

// Visits the 24 words in their stored order.
template <typename D, typename F>
void ForEachWord(D& d, F f) {
    f(d.border); f(d.textColour); f(d.textBackgroundColour); f(d.backgroundColour);
    f(d.viewType); f(d.iconArrangement); f(d.autoArrange); f(d.labelWrap); f(d.noColumnHeader);
    f(d.clickableHeader); f(d.fullRowSelect); f(d.gridLines); f(d.headerDragDrop);
    f(d.hotTracking); f(d.handCursor); f(d.underlineCold); f(d.underlineHot); f(d.editableLabels);
    f(d.sortOrder); f(d.checkBoxes); f(d.flatScrollBars); f(d.singleSelection); f(d.currentSelection);
    f(d.alwaysShowSelection);
}

}  // namespace

bool HasImageList(const std::vector<uint8_t>& block) {
    return block.size() > 8 && block[0] == 'M' && block[1] == 'I' && block[2] == 'T' && block[3] == 'L';
}

std::optional<std::vector<ListViewColumn>> ListViewData::ParseColumns(const uint8_t* data, size_t size) {
    std::vector<ListViewColumn> columns;
    TemplateCursor c(data, size);
    while (!c.AtEnd()) {
        ListViewColumn col;
        col.imageOnRight = c.U8();
        col.image = c.I32();
        col.alignment = c.I32();
        col.width = c.I32();
        col.title = c.ZText();
        if (!c.ok()) return std::nullopt;
        columns.push_back(std::move(col));
    }
    return columns;
}

std::vector<uint8_t> ListViewData::WriteColumns(const std::vector<ListViewColumn>& columns) {
    TemplateWriter w;
    for (const auto& col : columns) {
        w.U8(col.imageOnRight);
        w.I32(col.image);
        w.I32(col.alignment);
        w.I32(col.width);
        WriteZText(w, col.title);
    }
    return w.Take();
}

std::optional<std::vector<ListViewRow>> ListViewData::ParseRows(const uint8_t* data, size_t size) {
    std::vector<ListViewRow> rows;
    if (size == 0) return rows;
    TemplateCursor c(data, size);
    uint32_t rowCount = c.U32();
    if (!c.CountFits(rowCount, 4)) return std::nullopt;
    rows.resize(rowCount);
    for (auto& row : rows) {
        uint32_t cellCount = c.U32();
        if (!c.CountFits(cellCount, 19)) return std::nullopt;  // 17 bytes of numbers and two NULs
        row.resize(cellCount);
        for (auto& cell : row) {
            cell.flag = c.U8();
            cell.image = c.I32();
            cell.checkState = c.I32();
            cell.indent = c.I32();
            cell.data = c.I32();
            cell.text = c.ZText();
            cell.tip = c.ZText();
        }
    }
    if (!c.ok() || !c.AtEnd()) return std::nullopt;
    return rows;
}

std::vector<uint8_t> ListViewData::WriteRows(const std::vector<ListViewRow>& rows) {
    if (rows.empty()) return {};
    TemplateWriter w;
    w.Length(rows.size());
    for (const auto& row : rows) {
        w.Length(row.size());
        for (const auto& cell : row) {
            w.U8(cell.flag);
            w.I32(cell.image);
            w.I32(cell.checkState);
            w.I32(cell.indent);
            w.I32(cell.data);
            WriteZText(w, cell.text);
            WriteZText(w, cell.tip);
        }
    }
    return w.Take();
}

std::optional<ListViewData> ListViewData::Parse(const uint8_t* data, size_t size) {
    ListViewData d;
    if (size == 0) return d;
    TemplateCursor c(data, size);
    uint32_t version;
    if (!ReadTypeDataVersion(c, kMaxVersion, &version)) return std::nullopt;
    ForEachWord(d, [&](auto& word) { word = static_cast<std::remove_reference_t<decltype(word)>>(c.U32()); });
    d.font = c.CountedBlock();
    TemplateCursor columns = c.CountedCursor();
    d.headerImageList = c.CountedBlock();
    d.itemImageList = c.CountedBlock();
    d.stateImageList = c.CountedBlock();
    TemplateCursor rows = c.CountedCursor();
    if (!c.ok()) return std::nullopt;
    auto parsedColumns = ParseColumns(columns.here(), columns.size());
    auto parsedRows = ParseRows(rows.here(), rows.size());
    if (!parsedColumns || !parsedRows) return std::nullopt;
    d.columns = std::move(*parsedColumns);
    d.rows = std::move(*parsedRows);
    return d;
}

std::vector<uint8_t> ListViewData::Write(const ListViewData& d) {
    TemplateWriter w;
    w.U32(kMaxVersion);
    ForEachWord(d, [&](const auto& word) { w.U32(static_cast<uint32_t>(word)); });
    w.CountedBlock(d.font);
    w.CountedBlock(WriteColumns(d.columns));
    w.CountedBlock(d.headerImageList);
    w.CountedBlock(d.itemImageList);
    w.CountedBlock(d.stateImageList);
    w.CountedBlock(WriteRows(d.rows));
    return w.Take();
}
