#include "forms/type_data/list_box_data.h"

std::optional<ListBoxData> ListBoxData::Parse(const uint8_t* data, size_t size) {
    ListBoxData d;
    if (size == 0) return d;
    TemplateCursor c(data, size);
    uint32_t version;
    if (!ReadTypeDataVersion(c, kMaxVersion, &version)) return std::nullopt;
    d.border = c.U32();
    d.switch9 = c.U32();
    d.switch10 = c.U32();
    d.itemSpacing = c.U32();
    d.textColour = c.U32();
    d.backgroundColour = c.U32();
    d.switch15 = c.U32();
    d.currentSelection = c.I32();
    d.font = c.CountedBlock();
    d.itemValues = c.CountedBlock();
    d.items = ReadItemList(c);
    if (version >= 2) {
        d.dataSource = c.CountedText();
        d.dataColumn = c.CountedText();
    }
    if (version >= 3) d.switch21 = c.U32();
    if (!c.ok()) return std::nullopt;
    return d;
}

std::vector<uint8_t> ListBoxData::Write(const ListBoxData& d) {
    TemplateWriter w;
    w.U32(kMaxVersion);
    w.U32(d.border);
    w.U32(d.switch9);
    w.U32(d.switch10);
    w.U32(d.itemSpacing);
    w.U32(d.textColour);
    w.U32(d.backgroundColour);
    w.U32(d.switch15);
    w.I32(d.currentSelection);
    w.CountedBlock(d.font);
    w.CountedBlock(d.itemValues);
    WriteItemList(w, d.items);
    w.CountedText(d.dataSource);
    w.CountedText(d.dataColumn);
    w.U32(d.switch21);
    return w.Take();
}
