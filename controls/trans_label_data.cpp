#include "controls/trans_label_data.h"

std::optional<TransLabelData> TransLabelData::Parse(const uint8_t* data, size_t size) {
    TransLabelData d;
    if (size == 0) return d;
    TemplateCursor c(data, size);
    uint32_t version;
    if (!ReadTypeDataVersion(c, kMaxVersion, &version)) return std::nullopt;
    d.effect = c.U32();
    d.textColour = c.U32();
    d.horizontalAlignment = c.U32();
    d.verticalAlignment = c.U32();
    d.wordWrap = c.U32();
    d.font = c.CountedBlock();
    d.caption = c.CountedText();
    if (!c.ok()) return std::nullopt;
    return d;
}

std::vector<uint8_t> TransLabelData::Write(const TransLabelData& d) {
    TemplateWriter w;
    w.U32(kMaxVersion);
    w.U32(d.effect);
    w.U32(d.textColour);
    w.U32(d.horizontalAlignment);
    w.U32(d.verticalAlignment);
    w.U32(d.wordWrap);
    w.CountedBlock(d.font);
    w.CountedText(d.caption);
    return w.Take();
}
