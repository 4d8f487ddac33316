#include "forms/type_data/label_data.h"

namespace {

// The 16 words in their stored order.
template <typename D>
auto Words(D& d) {
    return std::array<decltype(&d.choice9), 16>{&d.choice9, &d.integer11, &d.border, &d.colour12, &d.colour13, &d.colour14,
                                                &d.textColour, &d.backgroundColour, &d.choice19, &d.choice20, &d.colour21,
                                                &d.colour22, &d.colour23, &d.choice24, &d.choice26, &d.switch25};
}

}  // namespace

std::optional<LabelData> LabelData::Parse(const uint8_t* data, size_t size) {
    LabelData d;
    if (size == 0) return d;
    TemplateCursor c(data, size);
    uint32_t version;
    if (!ReadTypeDataVersion(c, kMaxVersion, &version)) return std::nullopt;
    for (uint32_t* word : Words(d)) *word = c.U32();
    d.font = c.CountedBlock();
    d.backgroundPicture = c.CountedBlock();
    d.caption = c.CountedText();
    if (version >= 2) {
        d.dataSource = c.CountedText();
        d.dataColumn = c.CountedText();
    }
    if (!c.ok()) return std::nullopt;
    return d;
}

std::vector<uint8_t> LabelData::Write(const LabelData& d) {
    TemplateWriter w;
    w.U32(kMaxVersion);
    for (const uint32_t* word : Words(d)) w.U32(*word);
    w.CountedBlock(d.font);
    w.CountedBlock(d.backgroundPicture);
    w.CountedText(d.caption);
    w.CountedText(d.dataSource);
    w.CountedText(d.dataColumn);
    return w.Take();
}
