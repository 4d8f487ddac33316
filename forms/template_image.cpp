#include "forms/template_image.h"

#include <algorithm>

#include "forms/template_cursor.h"
#include "forms/template_writer.h"

namespace {

bool Bad(std::string* why, std::string message) {
    if (why) *why = std::move(message);
    return false;
}

std::string Hex(uint32_t v) {
    static const char digits[] = "0123456789ABCDEF";
    std::string s = "0x00000000";
    for (int i = 0; i < 8; ++i) s[9 - i] = digits[(v >> (4 * i)) & 0xF];
    return s;
}

std::string Where(uint32_t windowId, size_t position) {
    return "window " + Hex(windowId) + " record " + std::to_string(position);
}

// Fields 1-23 of a record (or the raw bytes of a menu item) from the record's own bytes.
bool ReadRecord(TemplateCursor rc, UnitRecord& r) {
    TemplateCursor peek = rc;
    if (peek.U32() == kMenuItemTypeCode && peek.ok()) {
        r.typeCode = kMenuItemTypeCode;
        r.isMenuItem = true;
        r.menuItemBytes = rc.Fixed(rc.remaining());
        return rc.ok();
    }
    r.typeCode = rc.U32();
    r.eventSourceId = rc.U32();
    for (auto& v : r.reserved1) v = rc.U32();
    r.name = rc.ZText();
    r.comment = rc.ZText();
    r.objectSlot = rc.U32();
    r.left = rc.I32();
    r.top = rc.I32();
    r.width = rc.I32();
    r.height = rc.I32();
    r.cursorSlot = rc.U32();
    r.parentId = rc.U32();
    uint32_t childCount = rc.U32();
    if (rc.CountFits(childCount, 4)) {
        r.children.resize(childCount);
        for (auto& id : r.children) id = rc.U32();
    }
    r.cursorData = rc.CountedBlock();
    r.tag = rc.ZText();
    r.reserved2 = rc.U32();
    r.stateFlags = rc.U32();
    r.tabOrder = rc.U32();
    uint32_t eventCount = rc.U32();
    if (rc.CountFits(eventCount, 8)) {
        r.events.resize(eventCount);
        for (auto& e : r.events) {
            e.number = rc.I32();
            e.handlerOffset = rc.U32();
        }
    }
    for (auto& v : r.reserved3) v = rc.U32();
    r.typeData = rc.Fixed(rc.remaining());
    return rc.ok();
}

// The rules on ids and record kinds that keep lookups unambiguous (see the header).
bool ValidateWindow(const WindowTemplate& w, std::string* why) {
    if (w.records.empty()) return Bad(why, "window " + Hex(w.id) + " has no records");
    std::vector<uint32_t> ids;
    ids.reserve(w.records.size());
    for (size_t k = 0; k < w.records.size(); ++k) {
        const UnitRecord& r = w.records[k];
        if (!IsValidUnitId(r.id)) return Bad(why, Where(w.id, k) + ": invalid unit id " + Hex(r.id));
        uint32_t kind = KindOfUnitId(r.id);
        if (k == 0) {
            if (kind != static_cast<uint32_t>(UnitIdKind::WindowRecord) || r.typeCode != kWindowTypeCode)
                return Bad(why, Where(w.id, k) + ": record 0 is not the window's own record");
        } else if (kind != static_cast<uint32_t>(UnitIdKind::Unit) && kind != static_cast<uint32_t>(UnitIdKind::MenuItem)) {
            return Bad(why, Where(w.id, k) + ": unit id " + Hex(r.id) + " has kind " + std::to_string(kind));
        }
        bool menuId = kind == static_cast<uint32_t>(UnitIdKind::MenuItem);
        bool menuType = r.typeCode == kMenuItemTypeCode;
        if (menuId != menuType || r.isMenuItem != menuType)
            return Bad(why, Where(w.id, k) + ": menu item id and type code disagree");
        if (r.isMenuItem) {
            UnitRecord plain;
            plain.id = r.id;
            plain.typeCode = r.typeCode;
            plain.isMenuItem = true;
            plain.menuItemBytes = r.menuItemBytes;
            TemplateCursor head(r.menuItemBytes.data(), r.menuItemBytes.size());
            if (head.U32() != kMenuItemTypeCode || !head.ok() || !(r == plain))
                return Bad(why, Where(w.id, k) + ": menu item fields outside its raw bytes");
        } else if (!r.menuItemBytes.empty()) {
            return Bad(why, Where(w.id, k) + ": raw bytes on a unit that is not a menu item");
        }
        ids.push_back(r.id);
    }
    std::sort(ids.begin(), ids.end());
    auto dup = std::adjacent_find(ids.begin(), ids.end());
    if (dup != ids.end()) return Bad(why, "window " + Hex(w.id) + ": unit id " + Hex(*dup) + " used twice");
    return true;
}

bool ValidateWindowIds(const TemplateImage& image, std::string* why) {
    std::vector<uint32_t> ids;
    for (const auto& w : image.windows) {
        if (w.id == 0) return Bad(why, "window id 0");
        ids.push_back(w.id);
    }
    std::sort(ids.begin(), ids.end());
    auto dup = std::adjacent_find(ids.begin(), ids.end());
    if (dup != ids.end()) return Bad(why, "window id " + Hex(*dup) + " used twice");
    return true;
}

bool ReadWindow(TemplateCursor& c, WindowTemplate& w, std::string* why) {
    w.attributeA = c.U32();
    w.attributeB = c.U32();
    w.name = c.CountedText();
    w.comment = c.CountedText();
    uint32_t count = c.U32();
    TemplateCursor table = c.CountedCursor();
    if (!c.ok()) return Bad(why, "window " + Hex(w.id) + ": header runs past the end of the image");
    if (count == 0 || !table.CountFits(count, 8)) return Bad(why, "window " + Hex(w.id) + ": unit count does not fit its table");
    std::vector<uint32_t> ids(count), offsets(count);
    for (auto& id : ids) id = table.U32();
    for (auto& offset : offsets) offset = table.U32();
    const size_t base = table.position();
    w.records.resize(count);
    for (size_t k = 0; k < count; ++k) {
        // Records lie back to back, so each offset must name where the previous one ended.
        if (offsets[k] != table.position() - base)
            return Bad(why, Where(w.id, k) + ": offset " + std::to_string(offsets[k]) + " is not where the record lies");
        uint32_t length = table.U32();
        TemplateCursor record = table.Sub(length);
        if (!table.ok()) return Bad(why, Where(w.id, k) + ": record length runs past the unit table");
        w.records[k].id = ids[k];
        if (!ReadRecord(record, w.records[k])) return Bad(why, Where(w.id, k) + ": fields run past the record length");
    }
    if (!table.AtEnd()) return Bad(why, "window " + Hex(w.id) + ": bytes after the last record");
    return ValidateWindow(w, why);
}

void WriteRecord(TemplateWriter& out, const UnitRecord& r) {
    TemplateWriter w;
    if (r.isMenuItem) {
        w.Bytes(r.menuItemBytes);
    } else {
        w.U32(r.typeCode);
        w.U32(r.eventSourceId);
        for (uint32_t v : r.reserved1) w.U32(v);
        w.ZText(r.name);
        w.ZText(r.comment);
        w.U32(r.objectSlot);
        w.I32(r.left);
        w.I32(r.top);
        w.I32(r.width);
        w.I32(r.height);
        w.U32(r.cursorSlot);
        w.U32(r.parentId);
        w.Length(r.children.size());
        for (uint32_t id : r.children) w.U32(id);
        w.CountedBlock(r.cursorData);
        w.ZText(r.tag);
        w.U32(r.reserved2);
        w.U32(r.stateFlags);
        w.U32(r.tabOrder);
        w.Length(r.events.size());
        for (const auto& e : r.events) {
            w.I32(e.number);
            w.U32(e.handlerOffset);
        }
        for (uint32_t v : r.reserved3) w.U32(v);
        w.Bytes(r.typeData);
    }
    if (!w.ok()) out.Fail();
    out.CountedBlock(w.bytes());
}

}  // namespace

uint32_t UnitRecord::HandlerOffset(int32_t eventNumber) const {
    for (const auto& e : events)
        if (e.number == eventNumber) return e.handlerOffset;
    return kNoHandler;
}

const UnitRecord* WindowTemplate::FindRecord(uint32_t unitId) const {
    int k = FindPosition(unitId);
    return k < 0 ? nullptr : &records[static_cast<size_t>(k)];
}

int WindowTemplate::FindPosition(uint32_t unitId) const {
    if (unitId == 0) return records.empty() ? -1 : 0;
    for (size_t k = 0; k < records.size(); ++k)
        if (records[k].id == unitId) return static_cast<int>(k);
    return -1;
}

const WindowTemplate* TemplateImage::FindWindow(uint32_t windowId) const {
    for (const auto& w : windows)
        if (w.id == windowId) return &w;
    return nullptr;
}

std::optional<TemplateImage> ReadTemplateImage(const uint8_t* data, size_t size, std::string* why) {
    TemplateCursor c(data, size);
    TemplateCursor table = c.CountedCursor();
    if (!c.ok()) {
        Bad(why, "window table runs past the end of the image");
        return std::nullopt;
    }
    if (table.size() % 8 != 0) {
        Bad(why, "window table length is not a multiple of 8");
        return std::nullopt;
    }
    const size_t n = table.size() / 8;
    TemplateImage image;
    image.windows.resize(n);
    for (auto& w : image.windows) w.id = table.U32();
    for (auto& w : image.windows) w.slot = table.U32();
    if (!ValidateWindowIds(image, why)) return std::nullopt;
    for (auto& w : image.windows)
        if (!ReadWindow(c, w, why)) return std::nullopt;
    if (!c.AtEnd()) {
        Bad(why, "bytes after the last window");
        return std::nullopt;
    }
    return image;
}

std::optional<std::vector<uint8_t>> WriteTemplateImage(const TemplateImage& image, std::string* why) {
    if (!ValidateWindowIds(image, why)) return std::nullopt;
    for (const auto& w : image.windows)
        if (!ValidateWindow(w, why)) return std::nullopt;

    TemplateWriter out;
    out.Length(8 * image.windows.size());
    for (const auto& w : image.windows) out.U32(w.id);
    for (const auto& w : image.windows) out.U32(w.slot);
    for (const auto& w : image.windows) {
        out.U32(w.attributeA);
        out.U32(w.attributeB);
        out.CountedText(w.name);
        out.CountedText(w.comment);
        out.Length(w.records.size());
        TemplateWriter records;
        std::vector<size_t> offsets;
        for (const auto& r : w.records) {
            offsets.push_back(records.size());
            WriteRecord(records, r);
        }
        TemplateWriter table;
        for (const auto& r : w.records) table.U32(r.id);
        for (size_t offset : offsets) table.Length(offset);
        table.Bytes(records.bytes());
        if (!records.ok() || !table.ok()) out.Fail();
        out.CountedBlock(table.bytes());
    }
    if (!out.ok()) {
        Bad(why, "a text holds a NUL or a size exceeds 32 bits");
        return std::nullopt;
    }
    return out.Take();
}

std::vector<std::vector<uint32_t>> SplitPages(const std::vector<uint32_t>& children) {
    std::vector<std::vector<uint32_t>> pages(1);
    for (uint32_t id : children) {
        if (id == 0)
            pages.emplace_back();
        else
            pages.back().push_back(id);
    }
    return pages;
}

std::vector<uint32_t> JoinPages(const std::vector<std::vector<uint32_t>>& pages) {
    std::vector<uint32_t> children;
    for (size_t p = 0; p < pages.size(); ++p) {
        if (p) children.push_back(0);
        children.insert(children.end(), pages[p].begin(), pages[p].end());
    }
    return children;
}
