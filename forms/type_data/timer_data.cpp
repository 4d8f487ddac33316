#include "forms/type_data/timer_data.h"

std::optional<TimerData> TimerData::Parse(const uint8_t* data, size_t size) {
    TimerData d;
    if (size == 0) return d;
    TemplateCursor c(data, size);
    uint32_t version;
    if (!ReadTypeDataVersion(c, kMaxVersion, &version)) return std::nullopt;
    d.interval = c.U32();
    if (!c.ok()) return std::nullopt;
    return d;
}

std::vector<uint8_t> TimerData::Write(const TimerData& d) {
    TemplateWriter w;
    w.U32(kMaxVersion);
    w.U32(d.interval);
    return w.Take();
}
