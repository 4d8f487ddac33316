#include "controls/page_control_data.h"

LogFontBytes DefaultPageControlFont() {
    LogFontBytes f;
    f.height = -12;
    f.weight = 400;
    f.charSet = 134;
    f.SetFace("SimSun");
    return f;
}

std::optional<std::vector<PageControlPage>> PageControlData::ParsePageList(const uint8_t* data, size_t size) {
    std::vector<PageControlPage> pages;
    if (size == 0) return pages;
    TemplateCursor c(data, size);
    uint32_t version = c.U32();
    if (!c.ok() || version > PageControlPage::kMaxListVersion) return std::nullopt;
    uint32_t count = c.U32();
    if (!c.CountFits(count, 4 + 80 + 4)) return std::nullopt;
    pages.resize(count);
    for (auto& p : pages) {
        p.caption = c.CountedText();
        for (auto& v : p.tabSettings) v = c.I32();
        if (version >= 2) p.secondText = c.CountedText();
        if (version >= 3) p.hidden = c.U32();
        uint32_t subCount = c.U32();
        if (!c.CountFits(subCount, 16)) return std::nullopt;
        p.subEntries.resize(subCount);
        for (auto& e : p.subEntries)
            for (auto& v : e) v = c.U32();
    }
    if (!c.ok() || !c.AtEnd()) return std::nullopt;
    return pages;
}

std::vector<uint8_t> PageControlData::WritePageList(const std::vector<PageControlPage>& pages) {
    if (pages.empty()) return {};
    TemplateWriter w;
    w.U32(PageControlPage::kMaxListVersion);
    w.Length(pages.size());
    for (const auto& p : pages) {
        w.CountedText(p.caption);
        for (int32_t v : p.tabSettings) w.I32(v);
        w.CountedText(p.secondText);
        w.U32(p.hidden);
        w.Length(p.subEntries.size());
        for (const auto& e : p.subEntries)
            for (uint32_t v : e) w.U32(v);
    }
    return w.Take();
}

std::optional<PageControlData> PageControlData::Parse(const uint8_t* data, size_t size) {
    PageControlData d;
    if (size == 0) return d;
    TemplateCursor c(data, size);
    uint32_t version;
    if (!ReadTypeDataVersion(c, kMaxVersion, &version)) return std::nullopt;
    for (auto& v : d.settingsA) v = c.U32();
    if (const uint8_t* font = c.Take(sizeof(LogFontBytes))) d.tabFont = LogFontFromBytes(font);
    TemplateCursor list = c.CountedCursor();
    for (auto& v : d.settingsB) v = c.U32();
    for (auto& b : d.imageBlocks) b = c.CountedBlock();
    d.setting16 = c.U32();
    for (auto& v : d.colours) v = c.U32();
    for (auto& v : d.settings29) v = c.U32();
    for (auto& v : d.ignored31) v = c.U32();
    if (version >= 2)
        for (auto& v : d.settings34) v = c.U32();
    if (version >= 3) d.setting38 = c.U32();
    if (version >= 5) d.setting39 = c.U32();
    if (version >= 6) d.setting40 = c.U32();
    if (version >= 7) d.setting41 = c.U32();
    if (!c.ok()) return std::nullopt;
    auto pages = ParsePageList(list.here(), list.size());
    if (!pages) return std::nullopt;
    d.pages = std::move(*pages);
    return d;
}

std::vector<uint8_t> PageControlData::Write(const PageControlData& d) {
    TemplateWriter w;
    w.U32(kMaxVersion);
    for (uint32_t v : d.settingsA) w.U32(v);
    w.Bytes(&d.tabFont, sizeof d.tabFont);
    w.CountedBlock(WritePageList(d.pages));
    for (uint32_t v : d.settingsB) w.U32(v);
    for (const auto& b : d.imageBlocks) w.CountedBlock(b);
    w.U32(d.setting16);
    for (uint32_t v : d.colours) w.U32(v);
    for (uint32_t v : d.settings29) w.U32(v);
    for (uint32_t v : d.ignored31) w.U32(v);
    for (uint32_t v : d.settings34) w.U32(v);
    w.U32(d.setting38);
    w.U32(d.setting39);
    w.U32(d.setting40);
    w.U32(d.setting41);
    return w.Take();
}
