#include "forms/type_data/status_bar_data.h"

std::optional<std::vector<StatusBarPart>> StatusBarData::ParseParts(const uint8_t* data, size_t size) {
    std::vector<StatusBarPart> parts;
    if (size == 0) return parts;
    TemplateCursor c(data, size);
    uint32_t count = c.U32();
    if (!c.CountFits(count, 14)) return std::nullopt;  // 12 bytes of numbers and two NULs
    parts.resize(count);
    for (auto& p : parts) {
        p.width = c.I32();
        p.flags = c.U32();
        p.image = c.I32();
        p.text = c.ZText();
        p.tip = c.ZText();
    }
    if (!c.ok() || !c.AtEnd()) return std::nullopt;
    return parts;
}

std::vector<uint8_t> StatusBarData::WriteParts(const std::vector<StatusBarPart>& parts) {
    TemplateWriter w;
    if (parts.empty()) return {};
    w.Length(parts.size());
    for (const auto& p : parts) {
        w.I32(p.width);
        w.U32(p.flags);
        w.I32(p.image);
        WriteZText(w, p.text);
        WriteZText(w, p.tip);
    }
    return w.Take();
}

std::optional<StatusBarData> StatusBarData::Parse(const uint8_t* data, size_t size) {
    StatusBarData d;
    if (size == 0) return d;
    TemplateCursor c(data, size);
    uint32_t version;
    if (!ReadTypeDataVersion(c, kMaxVersion, &version)) return std::nullopt;
    d.backgroundColour = c.U32();
    d.style = c.U32();
    d.switch10 = c.U32();
    d.font = c.CountedBlock();
    d.imageList = c.CountedBlock();
    TemplateCursor partsBlock = c.CountedCursor();
    if (!c.ok()) return std::nullopt;
    auto parts = ParseParts(partsBlock.here(), partsBlock.size());
    if (!parts) return std::nullopt;
    d.parts = std::move(*parts);
    return d;
}

std::vector<uint8_t> StatusBarData::Write(const StatusBarData& d) {
    TemplateWriter w;
    w.U32(kMaxVersion);
    w.U32(d.backgroundColour);
    w.U32(d.style);
    w.U32(d.switch10);
    w.CountedBlock(d.font);
    w.CountedBlock(d.imageList);
    w.CountedBlock(WriteParts(d.parts));
    return w.Take();
}
