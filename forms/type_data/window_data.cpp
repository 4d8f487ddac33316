#include "forms/type_data/window_data.h"

std::optional<WindowData> WindowData::Parse(const uint8_t* data, size_t size) {
    WindowData d;
    if (size == 0) return d;
    TemplateCursor c(data, size);
    uint32_t version;
    if (!ReadTypeDataVersion(c, kMaxVersion, &version)) return std::nullopt;
    d.borderStyle = c.U32();
    d.pictureSetting = c.U32();
    d.backgroundColour = c.U32();
    d.maximiseBox = c.U32();
    d.minimiseBox = c.U32();
    d.controlBox = c.U32();
    d.position = c.U32();
    d.movable = c.U32();
    d.soundSetting = c.U32();
    d.switch21 = c.U32();
    d.switch22 = c.U32();
    d.switch23 = c.U32();
    d.integer25 = c.U32();
    if (version >= 2) d.showInTaskbar = c.U32();
    if (version >= 3) {
        d.switch27 = c.U32();
        d.choice28 = c.U32();
    }
    if (version >= 4) d.alwaysOnTop = c.U32();
    if (version >= 5) d.switch30 = c.U32();
    if (version >= 6) d.className = c.CountedText();
    d.backgroundPicture = c.CountedBlock();
    d.icon = c.CountedBlock();
    d.backgroundMusic = c.CountedBlock();
    d.caption = c.CountedText();
    d.fileName = c.CountedText();
    if (!c.ok()) return std::nullopt;
    return d;
}

std::vector<uint8_t> WindowData::Write(const WindowData& d) {
    TemplateWriter w;
    w.U32(kMaxVersion);
    w.U32(d.borderStyle);
    w.U32(d.pictureSetting);
    w.U32(d.backgroundColour);
    w.U32(d.maximiseBox);
    w.U32(d.minimiseBox);
    w.U32(d.controlBox);
    w.U32(d.position);
    w.U32(d.movable);
    w.U32(d.soundSetting);
    w.U32(d.switch21);
    w.U32(d.switch22);
    w.U32(d.switch23);
    w.U32(d.integer25);
    w.U32(d.showInTaskbar);
    w.U32(d.switch27);
    w.U32(d.choice28);
    w.U32(d.alwaysOnTop);
    w.U32(d.switch30);
    w.CountedText(d.className);
    w.CountedBlock(d.backgroundPicture);
    w.CountedBlock(d.icon);
    w.CountedBlock(d.backgroundMusic);
    w.CountedText(d.caption);
    w.CountedText(d.fileName);
    return w.Take();
}
