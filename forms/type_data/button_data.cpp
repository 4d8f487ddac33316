#include "forms/type_data/button_data.h"

std::optional<ButtonData> ButtonData::Parse(const uint8_t* data, size_t size) {
    ButtonData d;
    if (size == 0) return d;
    TemplateCursor c(data, size);
    uint32_t version;
    if (!ReadTypeDataVersion(c, kMaxVersion, &version)) return std::nullopt;
    d.buttonType = c.U32();
    d.horizontalAlignment = c.U32();
    d.verticalAlignment = c.U32();
    d.picture = c.CountedBlock();
    d.font = c.CountedBlock();
    d.caption = c.CountedText();
    if (!c.ok()) return std::nullopt;
    return d;
}

std::vector<uint8_t> ButtonData::Write(const ButtonData& d) {
    TemplateWriter w;
    w.U32(kMaxVersion);
    w.U32(d.buttonType);
    w.U32(d.horizontalAlignment);
    w.U32(d.verticalAlignment);
    w.CountedBlock(d.picture);
    w.CountedBlock(d.font);
    w.CountedText(d.caption);
    return w.Take();
}
