#include "controls/page_control_data.h"

LogFontBytes DefaultPageControlFont() {
    LogFontBytes f;
    f.height = -12;
    f.weight = 400;
    f.charSet = 134;
    f.SetFace("SimSun");
    return f;
}

std::optional<std::vector<PageControlPage>> BlockCodec<std::vector<PageControlPage>>::Parse(const uint8_t* data,
                                                                                          size_t size) {
    std::vector<PageControlPage> pages;
    if (size == 0) return pages;
    TemplateCursor c(data, size);
    uint32_t version = c.U32();
    if (!c.ok() || version > PageControlPage::kMaxListVersion) return std::nullopt;
    uint32_t count = c.U32();
    if (!c.CountFits(count, 4 + 80 + 4)) return std::nullopt;
    pages.resize(count);
    for (PageControlPage& page : pages) ReadFields(c, version, page);
    if (!c.ok() || !c.AtEnd()) return std::nullopt;
    return pages;
}

std::vector<uint8_t> BlockCodec<std::vector<PageControlPage>>::Write(const std::vector<PageControlPage>& pages) {
    if (pages.empty()) return {};
    TemplateWriter w;
    w.U32(PageControlPage::kMaxListVersion);
    w.Length(pages.size());
    for (const PageControlPage& page : pages) WriteFields(w, page);
    return w.Take();
}
