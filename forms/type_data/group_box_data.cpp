#include "forms/type_data/group_box_data.h"

std::optional<GroupBoxData> GroupBoxData::Parse(const uint8_t* data, size_t size) {
    GroupBoxData d;
    if (size == 0) return d;
    TemplateCursor c(data, size);
    uint32_t version;
    if (!ReadTypeDataVersion(c, kMaxVersion, &version)) return std::nullopt;
    d.frameStyle = c.U32();
    d.textColour = c.U32();
    d.backgroundColour = c.U32();
    d.font = c.CountedBlock();
    d.caption = c.CountedText();
    if (!c.ok()) return std::nullopt;
    return d;
}

std::vector<uint8_t> GroupBoxData::Write(const GroupBoxData& d) {
    TemplateWriter w;
    w.U32(kMaxVersion);
    w.U32(d.frameStyle);
    w.U32(d.textColour);
    w.U32(d.backgroundColour);
    w.CountedBlock(d.font);
    w.CountedText(d.caption);
    return w.Take();
}
