#include "forms/type_data/edit_box_data.h"

std::optional<EditBoxData> EditBoxData::Parse(const uint8_t* data, size_t size) {
    EditBoxData d;
    if (size == 0) return d;
    TemplateCursor c(data, size);
    uint32_t version;
    if (!ReadTypeDataVersion(c, kMaxVersion, &version)) return std::nullopt;
    d.border = c.U32();
    d.textColour = c.U32();
    d.backgroundColour = c.U32();
    d.hideSelection = c.U32();
    d.maxLength = c.U32();
    d.multiLine = c.U32();
    d.scrollBars = c.U32();
    d.alignment = c.U32();
    d.inputMode = c.U32();
    d.passwordChar = c.U16();
    d.caseConversion = c.U32();
    d.spinMode = c.U32();
    d.spinMin = c.I32();
    d.spinMax = c.I32();
    d.selectionStart = c.U32();
    d.selectionLength = c.U32();
    d.font = c.CountedBlock();
    d.content = c.CountedText();
    if (version >= 2) {
        d.dataSource = c.CountedText();
        d.dataColumn = c.CountedText();
    }
    if (!c.ok()) return std::nullopt;
    return d;
}

std::vector<uint8_t> EditBoxData::Write(const EditBoxData& d) {
    TemplateWriter w;
    w.U32(kMaxVersion);
    w.U32(d.border);
    w.U32(d.textColour);
    w.U32(d.backgroundColour);
    w.U32(d.hideSelection);
    w.U32(d.maxLength);
    w.U32(d.multiLine);
    w.U32(d.scrollBars);
    w.U32(d.alignment);
    w.U32(d.inputMode);
    w.U16(d.passwordChar);
    w.U32(d.caseConversion);
    w.U32(d.spinMode);
    w.I32(d.spinMin);
    w.I32(d.spinMax);
    w.U32(d.selectionStart);
    w.U32(d.selectionLength);
    w.CountedBlock(d.font);
    w.CountedText(d.content);
    w.CountedText(d.dataSource);
    w.CountedText(d.dataColumn);
    return w.Take();
}
