#include "controls/list_view_data.h"

bool HasImageList(const std::vector<uint8_t>& block) {
    return block.size() > 8 && block[0] == 'M' && block[1] == 'I' && block[2] == 'T' && block[3] == 'L';
}

std::optional<std::vector<ListViewColumn>> BlockCodec<std::vector<ListViewColumn>>::Parse(const uint8_t* data,
                                                                                        size_t size) {
    std::vector<ListViewColumn> columns;
    TemplateCursor c(data, size);
    while (!c.AtEnd()) {
        ListViewColumn column;
        ReadFields(c, 0, column);
        if (!c.ok()) return std::nullopt;
        columns.push_back(std::move(column));
    }
    return columns;
}

std::vector<uint8_t> BlockCodec<std::vector<ListViewColumn>>::Write(const std::vector<ListViewColumn>& columns) {
    TemplateWriter w;
    for (const ListViewColumn& column : columns) WriteFields(w, column);
    return w.Take();
}

std::optional<std::vector<ListViewRow>> BlockCodec<std::vector<ListViewRow>>::Parse(const uint8_t* data, size_t size) {
    std::vector<ListViewRow> rows;
    if (size == 0) return rows;
    TemplateCursor c(data, size);
    uint32_t rowCount = c.U32();
    if (!c.CountFits(rowCount, 4)) return std::nullopt;
    rows.resize(rowCount);
    for (ListViewRow& row : rows) {
        uint32_t cellCount = c.U32();
        if (!c.CountFits(cellCount, 19)) return std::nullopt;  // 17 bytes of numbers and two NULs
        row.resize(cellCount);
        for (ListViewCell& cell : row) ReadFields(c, 0, cell);
    }
    if (!c.ok() || !c.AtEnd()) return std::nullopt;
    return rows;
}

std::vector<uint8_t> BlockCodec<std::vector<ListViewRow>>::Write(const std::vector<ListViewRow>& rows) {
    if (rows.empty()) return {};
    TemplateWriter w;
    w.Length(rows.size());
    for (const ListViewRow& row : rows) {
        w.Length(row.size());
        for (const ListViewCell& cell : row) WriteFields(w, cell);
    }
    return w.Take();
}
