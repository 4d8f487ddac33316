#include "forms/type_data/status_bar_data.h"

std::optional<std::vector<StatusBarPart>> BlockCodec<std::vector<StatusBarPart>>::Parse(const uint8_t* data,
                                                                                       size_t size) {
    std::vector<StatusBarPart> parts;
    if (size == 0) return parts;
    TemplateCursor c(data, size);
    uint32_t count = c.U32();
    if (!c.CountFits(count, 14)) return std::nullopt;  // 12 bytes of numbers and two NULs
    parts.resize(count);
    for (StatusBarPart& p : parts) ReadFields(c, 0, p);
    if (!c.ok() || !c.AtEnd()) return std::nullopt;
    return parts;
}

std::vector<uint8_t> BlockCodec<std::vector<StatusBarPart>>::Write(const std::vector<StatusBarPart>& parts) {
    if (parts.empty()) return {};
    TemplateWriter w;
    w.Length(parts.size());
    for (const StatusBarPart& p : parts) WriteFields(w, p);
    return w.Take();
}
