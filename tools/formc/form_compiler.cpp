// Form compiler. Built natively without the GBK execution charset (toml++ pulls in
// headers whose literals have no GBK form); every text of the source is converted to
// GBK with iconv before it reaches the image.
//
// Keys of [window]:
//   id, record_id (default 0x06010000), attribute_a, attribute_b, name, comment,
//   left, top, width, height, visible (true), disabled, tab_order, tag, cursor, events,
//   and the window properties: caption, border_style, picture_setting, background_colour,
//   maximise_box, minimise_box, control_box, position ("as_stored", "centred",
//   "minimised", "maximised" or 0-3), movable, sound_setting, switch_21, switch_22,
//   switch_23, integer_25, show_in_taskbar, switch_27, choice_28, always_on_top,
//   switch_30, class_name, background_picture, icon, background_music, file_name.
// Keys of every [[unit]]:
//   id, name, type (a unit type's English name from the list of unit types,
//   controls/unit_types.h: EditBox, Label, GroupBox, Button, Timer, ComboBox, ListBox,
//   StatusBar, PageControl, ListView, TransLabel) are required; left, top, width, height
//   too. Optional: comment, parent (a unit name; a unit that holds units or shows pages),
//   page (1-based, required on the units of one that shows pages), visible (true), disabled
//   (false), tab_stop (true for the types that take the focus), tab_order, tag, cursor
//   (bytes, default 4 zero bytes), event_source (a unit name of the same type), events.
//   Then the type's properties, named after them in snake case (tools/formc/unit_binding.h).
// Value forms:
//   events      { Click = "OnClick", KeyDown = "OnKeyDown" }: event name = handler name; ""
//               stores "no handler". The names are the type's own events and the common
//               events of every unit (forms/unit_events.h); a number names an event only
//               where the framework names none. Handlers get offsets in order of first
//               use, after those that [event_code] orders. A handler bound to events with
//               other arguments is refused here; the event-code source checks as it is
//               compiled that each handler declares exactly the parameters of its events.
//   colours     integers, written as hex: 0x00BBGGRR; 0xFF000000 is the marker colour.
//   switches    true / false (or an integer, stored as is).
//   fonts       { height = -12, weight = 400, charset = 134, face = "楷体" } plus width,
//               escapement, orientation, italic, underline, strike_out, out_precision,
//               clip_precision, quality, pitch_and_family; absent = the default font.
//   bytes       a path relative to the source file (e.g. a prepared "MITL" image list)
//               or an array of byte values.
//   child_order explicit order of a group box's (or a page's) child list when it is not
//               the table order; it must name exactly the units placed there.
//   image lists the image-list keys (a list view's header_image_list, item_image_list and
//               state_image_list, a status bar's image_list) take bytes as above or
//               { width = 16, height = 16, images = ["form_data/a.pam", ...] }: PAM files
//               (8-bit RGB_ALPHA or RGB) of that size, encoded as a "MITL" block.
// An optional [event_code] table after the units gives `order`, a list of handler names
// that take the first places of the event-code table (offset 0, 16, ...); each must be
// bound to some event.
#include "tools/formc/form_compiler.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <limits>
#include <map>
#include <optional>
#include <set>
#include <sstream>

#include "forms/unit_type_flags.h"
#include "tools/formc/form_error.h"
#include "tools/formc/gbk_conversion.h"
#include "tools/formc/toml_keys.h"
#include "tools/formc/unit_binding.h"

namespace {

// The event an `events` key names for a unit of the type: a name of the type's own events
// or of the common ones, or a number that names no event of them.
const EventDescription* EventOfKey(Keys& k, const SourceUnitType& type, const std::string& key, int32_t* number) {
    const bool common = type.Has(kTypeWindowUnit);
    if (const EventDescription* e = FindEvent(type.events, common, key.c_str())) {
        *number = e->number;
        return e;
    }
    int64_t n = 0;
    std::istringstream in(key);
    if (!(in >> n) || !in.eof() || n < std::numeric_limits<int32_t>::min() || n > std::numeric_limits<int32_t>::max())
        k.Fail("events", "\"" + key + "\" is no event of a " + type.name);
    *number = static_cast<int32_t>(n);
    auto named = [&](std::span<const EventDescription> events) -> const EventDescription* {
        for (const EventDescription& e : events)
            if (e.number == *number) return &e;
        return nullptr;
    };
    const EventDescription* e = named(type.events);
    if (!e && common) e = named(OwnEvents<CommonEvents>());
    if (e) k.Fail("events", "event " + key + " of a " + type.name + " is named " + e->name);
    return nullptr;
}

// Common record keys shared by the window and the units.
void BindCommon(Keys& k, UnitRecord& r, const SourceUnitType& type, std::map<int32_t, BoundEvent>& events,
                bool tabStopDefault) {
    k.I32("left", r.left);
    k.I32("top", r.top);
    k.I32("width", r.width);
    k.I32("height", r.height);
    k.Text("tag", r.tag);
    k.U32("tab_order", r.tabOrder);
    r.cursorData = {0, 0, 0, 0};  // the standard cursor
    k.Bytes("cursor", r.cursorData);
    r.stateFlags = (k.Bool("visible", true) ? UnitRecord::kStateVisible : 0) |
                   (k.Bool("disabled", false) ? UnitRecord::kStateDisabled : 0) |
                   (k.Bool("tab_stop", tabStopDefault) ? UnitRecord::kStateTabStop : 0);
    if (const toml::table* t = k.Table("events")) {
        for (const auto& [key, value] : *t) {
            std::string text(key.str());
            int32_t number = 0;
            const EventDescription* event = EventOfKey(k, type, text, &number);
            if (!value.is_string()) k.Fail("events", "event " + text + ": expected a handler name");
            std::string handler = value.as_string()->get();
            if (!handler.empty() && !IsIdentifier(handler)) k.Fail("events", "event " + text + ": \"" + handler + "\" is not a C++ name");
            if (!events.emplace(number, BoundEvent{handler, event, text}).second) k.Fail("events", "event " + text + " given twice");
        }
    }
}

void RequireKey(Keys& k, std::string_view key) {
    if (!k.Has(key)) k.Fail(key, "is required");
}

uint32_t RequiredId(Keys& k) {
    RequireKey(k, "id");
    uint32_t id = 0;
    k.U32("id", id);
    return id;
}

// Events in table order: own events upward, then the common events -1, -2, ...
std::vector<std::pair<int32_t, BoundEvent>> OrderedEvents(const std::map<int32_t, BoundEvent>& events) {
    std::vector<std::pair<int32_t, BoundEvent>> out(events.begin(), events.end());
    std::stable_partition(out.begin(), out.end(), [](const auto& e) { return e.first >= 0; });
    std::reverse(std::find_if(out.begin(), out.end(), [](const auto& e) { return e.first < 0; }), out.end());
    return out;
}

FormCompileResult Compile(std::string_view text, const std::string& sourcePath) {
    FormCompileResult result;
    toml::table root;
    try {
        root = toml::parse(text, sourcePath);
    } catch (const toml::parse_error& e) {
        Throw("line " + std::to_string(e.source().begin.line) + ": " + std::string(e.description()));
    }
    std::filesystem::path baseDir = std::filesystem::path(sourcePath).parent_path();
    Keys top(root, "form", &baseDir);

    // The window and its own record.
    const toml::table* windowTable = top.Table("window");
    if (!windowTable) Throw("form: the [window] table is missing");
    Keys wk(*windowTable, "[window]", &baseDir);
    WindowTemplate window;
    window.id = RequiredId(wk);
    if (window.id == 0) wk.Fail("id", "a window id is not 0");
    wk.U32("attribute_a", window.attributeA);
    wk.U32("attribute_b", window.attributeB);
    wk.Text("name", window.name);
    wk.Text("comment", window.comment);
    wk.Utf8("symbol", result.window.name);  // the window's name in tool code; not in the image
    UnitRecord self;
    self.id = kWindowRecordId;
    wk.U32("record_id", self.id);
    if (!IsValidUnitId(self.id) || KindOfUnitId(self.id) != 0) wk.Fail("record_id", "not a window record id (kind 0)");
    self.typeCode = kWindowTypeCode;
    std::map<int32_t, BoundEvent> windowEvents;
    BindCommon(wk, self, WindowSourceType(), windowEvents, false);
    self.typeData = BindWindowData(wk);
    wk.Finish();

    // The units, in table order.
    std::vector<SourceUnit> units;
    const toml::array* unitArray = top.Array("unit");
    const toml::table* eventCodeTable = top.Table("event_code");
    top.Finish();
    if (unitArray) {
        for (size_t i = 0; i < unitArray->size(); ++i) {
            const toml::table* t = unitArray->get(i)->as_table();
            if (!t) Throw("form: 'unit' must be an array of tables ([[unit]])");
            SourceUnit u;
            std::string ctx = "unit #" + std::to_string(i + 1) + " (line " + std::to_string(t->source().begin.line) + ")";
            Keys uk(*t, ctx, &baseDir);
            RequireKey(uk, "name");
            uk.Utf8("name", u.name);
            if (u.name.empty()) uk.Fail("name", "a unit needs a name");
            ctx = "unit '" + u.name + "' (line " + std::to_string(t->source().begin.line) + ")";
            uk.SetContext(ctx);
            u.context = ctx;
            u.record.name = Utf8ToGbk(u.name, ctx + ", key 'name'");
            u.record.id = RequiredId(uk);
            if (!IsValidUnitId(u.record.id) || KindOfUnitId(u.record.id) != static_cast<uint32_t>(UnitIdKind::Unit))
                uk.Fail("id", HexId(u.record.id) + " is not a unit id (kind 1, non-zero running number and bits 24-27)");
            RequireKey(uk, "type");
            uk.Utf8("type", u.type);
            const SourceUnitType* type = FindSourceUnitType(u.type);
            if (!type || type == &WindowSourceType()) uk.Fail("type", "unknown unit type \"" + u.type + "\"");
            u.kind = type;
            u.record.typeCode = type->code;
            for (const char* key : {"left", "top", "width", "height"}) RequireKey(uk, key);
            uk.Text("comment", u.record.comment);
            uk.Utf8("parent", u.parent);
            uk.Int("page", 1, std::numeric_limits<int32_t>::max(), u.page);
            uk.Utf8("event_source", u.eventSource);
            BindCommon(uk, u.record, *type, u.events, TakesFocus(type->flags));
            u.record.typeData = type->bind(uk, u, type->flags);
            uk.Finish();
            units.push_back(std::move(u));
        }
    }

    // Names and ids.
    std::map<std::string, size_t> byName;
    std::map<uint32_t, std::string> byId{{self.id, "[window]"}};
    for (size_t i = 0; i < units.size(); ++i) {
        const SourceUnit& u = units[i];
        if (!byName.emplace(u.name, i).second) Throw(u.context + ", key 'name': the name is used by another unit");
        auto [it, fresh] = byId.emplace(u.record.id, u.name);
        if (!fresh) Throw(u.context + ", key 'id': " + HexId(u.record.id) + " is already the id of " + it->second);
    }
    auto lookup = [&](const SourceUnit& u, const std::string& key, const std::string& name) -> SourceUnit& {
        auto it = byName.find(name);
        if (it == byName.end())
            Throw(u.context + ", key '" + key + "': no unit is named '" + name + "'");
        return units[it->second];
    };

    // Parents and pages.
    for (SourceUnit& u : units) {
        if (u.parent.empty()) {
            if (u.page) Throw(u.context + ", key 'page': only units on pages have a page");
            continue;
        }
        SourceUnit& p = lookup(u, "parent", u.parent);
        if (&p == &u) Throw(u.context + ", key 'parent': a unit cannot hold itself");
        if (p.kind->Has(kTypeShowsPages)) {
            if (!u.page) Throw(u.context + ", key 'page': required on a unit of the " + p.type + " '" + p.name + "'");
            if (static_cast<size_t>(u.page) > p.pageChildOrder.size())
                Throw(u.context + ", key 'page': '" + p.name + "' has " + std::to_string(p.pageChildOrder.size()) + " pages");
        } else if (p.kind->Has(kTypeHoldsUnits)) {
            if (u.page) Throw(u.context + ", key 'page': only units on pages have a page");
        } else {
            Throw(u.context + ", key 'parent': '" + p.name + "' is a " + p.type + ", which holds no units");
        }
        u.record.parentId = p.record.id;
    }
    for (const SourceUnit& u : units) {  // a chain of parents must end at the window
        const SourceUnit* p = &u;
        for (size_t steps = 0; !p->parent.empty(); ++steps) {
            if (steps > units.size()) Throw(u.context + ", key 'parent': the parents form a cycle");
            p = &units[byName[p->parent]];
        }
    }

    // Child lists: table order unless the container gives child_order.
    auto ordered = [&](const SourceUnit& c, std::vector<std::string> inTableOrder, const std::optional<std::vector<std::string>>& order,
                       const std::string& what) {
        std::vector<uint32_t> ids;
        if (!order) {
            for (const auto& n : inTableOrder) ids.push_back(units[byName[n]].record.id);
            return ids;
        }
        std::vector<std::string> a = *order, b = inTableOrder;
        std::sort(a.begin(), a.end());
        std::sort(b.begin(), b.end());
        if (a != b || std::adjacent_find(a.begin(), a.end()) != a.end())
            Throw(c.context + ", key 'child_order'" + what + ": must list each unit placed there exactly once");
        for (const auto& n : *order) ids.push_back(units[byName[n]].record.id);
        return ids;
    };
    for (SourceUnit& c : units) {
        if (c.kind->Has(kTypeHoldsUnits)) {
            std::vector<std::string> names;
            for (const SourceUnit& u : units)
                if (u.parent == c.name) names.push_back(u.name);
            c.record.children = ordered(c, names, c.childOrder, "");
        } else if (c.kind->Has(kTypeShowsPages)) {
            std::vector<std::vector<uint32_t>> pages;
            for (size_t p = 0; p < c.pageChildOrder.size(); ++p) {
                std::vector<std::string> names;
                for (const SourceUnit& u : units)
                    if (u.parent == c.name && static_cast<size_t>(u.page) == p + 1) names.push_back(u.name);
                pages.push_back(ordered(c, names, c.pageChildOrder[p], " of page " + std::to_string(p + 1)));
            }
            c.record.children = JoinPages(pages);
        }
    }

    // Event sources and handlers.
    for (SourceUnit& u : units) {
        if (u.eventSource.empty()) continue;
        SourceUnit& s = lookup(u, "event_source", u.eventSource);
        if (&s == &u || s.record.typeCode != u.record.typeCode)
            Throw(u.context + ", key 'event_source': '" + s.name + "' is not another unit of the same type");
        u.record.eventSourceId = s.record.id;
    }
    // Handlers named by [event_code] order come first, in that order; the others follow
    // in order of first use.
    std::map<std::string, uint32_t> handlerIndex;
    std::optional<Keys> eventCode;
    if (eventCodeTable) {
        eventCode.emplace(*eventCodeTable, "[event_code]", &baseDir);
        for (const std::string& name : eventCode->Utf8List("order")) {
            if (!IsIdentifier(name)) eventCode->Fail("order", "\"" + name + "\" is not a C++ name");
            if (!handlerIndex.emplace(name, static_cast<uint32_t>(result.handlers.size())).second)
                eventCode->Fail("order", "\"" + name + "\" is listed twice");
            result.handlers.push_back(name);
        }
        eventCode->Finish();
    }
    // Each handler is bound to events of one set of arguments: the first that names them
    // stands for all, and one bound to events of other arguments is refused.
    std::map<std::string, const EventDescription*> handlerEvent;
    std::map<std::string, std::string> handlerFirstUse;
    auto assign = [&](UnitRecord& r, const std::map<int32_t, BoundEvent>& events, const std::string& context) {
        for (const auto& [number, bound] : OrderedEvents(events)) {
            const std::string& handler = bound.handler;
            uint32_t offset = kNoHandler;
            if (!handler.empty()) {
                auto [it, fresh] = handlerIndex.emplace(handler, static_cast<uint32_t>(result.handlers.size()));
                if (fresh) result.handlers.push_back(handler);
                offset = it->second * 16;  // sizeof(EventHandlerEntry) in every build
                const std::string use = context + ", event " + bound.key;
                auto [first, isFirst] = handlerEvent.emplace(handler, bound.event);
                if (isFirst || !first->second) {
                    first->second = bound.event;
                    handlerFirstUse[handler] = use;
                } else if (bound.event && first->second->argCount != bound.event->argCount) {
                    Throw(use + ": the handler \"" + handler + "\" takes " + first->second->parameters + " as bound at " +
                          handlerFirstUse[handler] + ", and " + bound.event->name + " passes " + bound.event->parameters);
                }
            }
            r.events.push_back({number, offset});
        }
    };
    assign(self, windowEvents, "[window]");
    window.records.push_back(self);
    for (SourceUnit& u : units) {
        assign(u.record, u.events, u.context);
        window.records.push_back(u.record);
    }
    for (const std::string& name : result.handlers) {
        auto it = handlerEvent.find(name);
        if (it == handlerEvent.end()) {
            if (eventCode) eventCode->Fail("order", "\"" + name + "\" is bound to no event");
            continue;
        }
        // A handler of events the framework does not describe is not checked.
        if (const EventDescription* e = it->second) result.handlerChecks.push_back({name, e->name, e->parameters});
    }

    result.windowId = window.id;
    result.window.id = self.id;
    result.window.typeName = "Window";
    for (const SourceUnit& u : units) result.units.push_back({u.name, u.record.id, u.type});

    result.image.windows.push_back(window);
    std::string why;
    auto bytes = WriteTemplateImage(result.image, &why);
    if (!bytes) Throw("the form cannot be written as a template image: " + why);
    auto back = ReadTemplateImage(bytes->data(), bytes->size(), &why);
    if (!back || !(*back == result.image)) Throw("internal error: the written image does not read back: " + why);
    result.bytes = std::move(*bytes);
    result.ok = true;
    return result;
}

}  // namespace

FormCompileResult CompileForm(std::string_view tomlText, const std::string& sourcePath) {
    try {
        return Compile(tomlText, sourcePath);
    } catch (const FormError& e) {
        FormCompileResult r;
        r.error = sourcePath + ": " + e.message;
        return r;
    }
}

FormCompileResult CompileFormFile(const std::string& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    if (!in) {
        FormCompileResult r;
        r.error = path + ": cannot read the form source";
        return r;
    }
    std::stringstream text;
    text << in.rdbuf();
    return CompileForm(text.str(), path);
}

