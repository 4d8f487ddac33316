#include "forms/type_data/combo_box_data.h"

std::optional<ComboBoxData> ComboBoxData::Parse(const uint8_t* data, size_t size) {
    ComboBoxData d;
    if (size == 0) return d;
    TemplateCursor c(data, size);
    uint32_t version;
    if (!ReadTypeDataVersion(c, kMaxVersion, &version)) return std::nullopt;
    d.style = c.U32();
    d.maxLength = c.U32();
    d.selectionStart = c.U32();
    d.selectionLength = c.U32();
    d.switch14 = c.U32();
    d.itemSpacing = c.U32();
    d.textColour = c.U32();
    d.backgroundColour = c.U32();
    d.currentSelection = c.I32();
    d.font = c.CountedBlock();
    d.itemValues = c.CountedBlock();
    d.content = c.CountedText();
    d.items = ReadItemList(c);
    if (version >= 2) {
        d.dataSource = c.CountedText();
        d.dataColumn = c.CountedText();
    }
    if (version >= 3) d.switch24 = c.U32();
    if (!c.ok()) return std::nullopt;
    return d;
}

std::vector<uint8_t> ComboBoxData::Write(const ComboBoxData& d) {
    TemplateWriter w;
    w.U32(kMaxVersion);
    w.U32(d.style);
    w.U32(d.maxLength);
    w.U32(d.selectionStart);
    w.U32(d.selectionLength);
    w.U32(d.switch14);
    w.U32(d.itemSpacing);
    w.U32(d.textColour);
    w.U32(d.backgroundColour);
    w.I32(d.currentSelection);
    w.CountedBlock(d.font);
    w.CountedBlock(d.itemValues);
    w.CountedText(d.content);
    WriteItemList(w, d.items);
    w.CountedText(d.dataSource);
    w.CountedText(d.dataColumn);
    w.U32(d.switch24);
    return w.Take();
}
