// The main window's form, compiled from toolbox/main_window.toml, held against the form source
// read on its own: every [[unit]] table comes back from the compiled image as the table says
// (id, name, type, parent, page, place, flags, events and each property it sets), and every
// property it leaves out at its type's default; a key the test does not know fails. Then the
// rules that tie the units together (pages, stacking, the default host lines, the lamps).
// Narrow literals are GBK, like the image.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "controls/list_view_data.h"
#include "controls/page_control_data.h"
#include "controls/trans_label_data.h"
#include "controls/unit_types.h"
#include "forms/type_data/button_data.h"
#include "forms/type_data/combo_box_data.h"
#include "forms/type_data/edit_box_data.h"
#include "forms/type_data/label_data.h"
#include "forms/type_data/list_box_data.h"
#include "forms/type_data/status_bar_data.h"
#include "forms/type_data/window_data.h"
#include "tests/host_lists.h"
#include "tests/native/form_source.h"
#include "tools/formc/form_compiler.h"

namespace {

using Kind = SourceValue::Kind;

// Type codes: library number in the high half, type number in the low half.
const std::map<std::string, uint32_t> kTypeCodes = {
    {"EditBox", 0x00010005},   {"GroupBox", 0x00010009},  {"Label", 0x0001000A},    {"Button", 0x0001000B},
    {"ComboBox", 0x0001000E},  {"ListBox", 0x0001000F},   {"Timer", 0x00010020},    {"PageControl", 0x00020002},
    {"StatusBar", 0x00030002}, {"ListView", 0x00030004},  {"TransLabel", 0x00030005},
};
// The types that take the input focus: tab stops unless the source says otherwise.
const std::set<std::string> kFocusTypes = {"EditBox", "Button", "ComboBox", "ListBox", "ListView"};
// Captions, labels and frames: they never take the focus.
const std::set<uint32_t> kCaptionsAndFrames = {0x00030005, 0x0001000A, 0x00010009, 0x00030002, 0x00020002};
constexpr uint32_t kTimer = 0x00010020;

const std::map<std::string, uint32_t> kHorizontal = {{"left", 0}, {"centre", 1}, {"right", 2}};
const std::map<std::string, uint32_t> kVertical = {{"top", 0}, {"centre", 1}, {"bottom", 2}};
const std::map<std::string, uint32_t> kInputModes = {{"normal", 0}, {"integer_text", 3}, {"integer", 7}, {"double", 10}};
const std::map<std::string, uint32_t> kViewTypes = {{"large_icons", 0}, {"report", 3}};
const std::map<std::string, uint32_t> kPositions = {{"as_stored", 0}, {"centred", 1}};

// The keys of one source table, taken as the test checks them; a key left over at the end is
// one the test does not know, and fails rather than going unchecked.
class Keys {
public:
    Keys(const SourceValue& table, std::string where) : table_(table), where_(std::move(where)) {}
    ~Keys() {
        for (const auto& [key, value] : table_.table)
            if (!used_.count(key)) ADD_FAILURE() << where_ << ": key '" << key << "' is not checked";
    }
    const std::string& where() const { return where_; }

    const SourceValue* Take(const std::string& key) {
        used_.insert(key);
        auto it = table_.table.find(key);
        return it == table_.table.end() ? nullptr : &it->second;
    }
    const SourceValue* Take(const std::string& key, Kind kind) {
        const SourceValue* v = Take(key);
        if (v && v->kind != kind) {
            ADD_FAILURE() << where_ << ": key '" << key << "' has an unexpected kind of value";
            return nullptr;
        }
        return v;
    }
    int64_t Int(const std::string& key, int64_t otherwise) {
        const SourceValue* v = Take(key, Kind::kInteger);
        return v ? v->integer : otherwise;
    }
    bool Flag(const std::string& key, bool otherwise) {
        const SourceValue* v = Take(key, Kind::kBoolean);
        return v ? v->boolean : otherwise;
    }
    std::string Text(const std::string& key, const std::string& otherwise) {
        const SourceValue* v = Take(key, Kind::kText);
        return v ? v->text : otherwise;
    }
    uint32_t Choice(const std::string& key, const std::map<std::string, uint32_t>& names, uint32_t otherwise) {
        const SourceValue* v = Take(key, Kind::kText);
        if (!v) return otherwise;
        auto it = names.find(v->text);
        if (it == names.end()) {
            ADD_FAILURE() << where_ << ": '" << key << "' = \"" << v->text << "\" is not a name the test knows";
            return 0xFFFFFFFF;
        }
        return it->second;
    }
    std::vector<int64_t> Integers(const std::string& key) {
        std::vector<int64_t> out;
        if (const SourceValue* v = Take(key, Kind::kArray))
            for (const SourceValue& item : v->items) out.push_back(item.integer);
        return out;
    }
    std::vector<std::string> Texts(const std::string& key) {
        std::vector<std::string> out;
        if (const SourceValue* v = Take(key, Kind::kArray))
            for (const SourceValue& item : v->items) out.push_back(item.text);
        return out;
    }
    // A font table as the stored LOGFONTA it stands for: the fields it names, every other 0.
    std::optional<LogFontBytes> Font(const std::string& key) {
        const SourceValue* v = Take(key, Kind::kTable);
        if (!v) return std::nullopt;
        Keys font(*v, where_ + ", " + key);
        LogFontBytes f;
        f.height = static_cast<int32_t>(font.Int("height", 0));
        f.weight = static_cast<int32_t>(font.Int("weight", 0));
        f.charSet = static_cast<uint8_t>(font.Int("charset", 0));
        f.SetFace(font.Text("face", ""));
        return f;
    }

private:
    const SourceValue& table_;
    std::string where_;
    std::set<std::string> used_;
};

template <class T>
std::vector<T> Widened(const std::vector<int64_t>& values) {
    return std::vector<T>(values.begin(), values.end());
}

uint32_t VersionOf(const UnitRecord& r) {
    TemplateCursor c(r.typeData.data(), r.typeData.size());
    return c.U32();
}

void ExpectFont(const FontBlock& block, const std::optional<LogFontBytes>& expected) {
    if (!expected) {
        EXPECT_TRUE(block.empty()) << "expected the default font";
        return;
    }
    auto stored = DecodeFont(block);
    ASSERT_TRUE(stored) << "expected a 60-byte font";
    EXPECT_EQ(stored->height, expected->height);
    EXPECT_EQ(stored->weight, expected->weight);
    EXPECT_EQ(stored->charSet, expected->charSet);
    EXPECT_EQ(stored->Face(), expected->Face());
    EXPECT_EQ(*stored, *expected) << "every field the source does not name is 0";
}

// The stream of a "MITL" block: image count, size and the RGBA of image k at (x, y).
struct LampList {
    const std::vector<uint8_t>& block;
    uint32_t U16(size_t at) const { return block.at(8 + at) | (block.at(9 + at) << 8); }
    std::vector<int> Pixel(int k, int x, int y) const {
        const size_t gridHeight = 32, gridWidth = 64;  // four 16 x 16 images and a spare slot
        size_t at = 8 + 28 + 54 + ((gridHeight - 1 - y) * gridWidth + k * 16 + x) * 4;
        return {block.at(at + 2), block.at(at + 1), block.at(at), block.at(at + 3)};
    }
};

const FormCompileResult& Compiled() {
    static const FormCompileResult r = CompileFormFile(MG_SOURCE_DIR "/toolbox/main_window.toml");
    return r;
}

const FormSource& Source() {
    static const FormSource s = ReadFormSource(MG_SOURCE_DIR "/toolbox/main_window.toml");
    return s;
}

class MainWindowForm : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Compiled().ok) << Compiled().error;
        ASSERT_EQ(Source().error, "");
        auto image = ReadTemplateImage(Compiled().bytes.data(), Compiled().bytes.size());
        ASSERT_TRUE(image);
        ASSERT_EQ(*image, Compiled().image);  // the bytes are the model
        w = Compiled().image.FindWindow(0x52010001);
        ASSERT_NE(w, nullptr);
        tabs = ByName("茗柜");
        ASSERT_NE(tabs, nullptr);
        pages = SplitPages(tabs->children);
        for (size_t p = 0; p < pages.size(); ++p)
            for (uint32_t id : pages[p]) pageOf[id] = static_cast<int>(p + 1);
    }

    const UnitRecord* ByName(const std::string& name) const {
        for (const UnitRecord& r : w->records)
            if (r.name == name && r.id != kWindowRecordId) return &r;
        return nullptr;
    }
    std::string HandlerName(uint32_t offset) const {
        if (offset == kNoHandler || offset % 16 != 0 || offset / 16 >= Compiled().handlers.size()) return "?";
        return Compiled().handlers[offset / 16];
    }
    int PageOf(uint32_t id) const {
        auto it = pageOf.find(id);
        return it == pageOf.end() ? 0 : it->second;
    }
    std::vector<std::string> Names(const std::vector<uint32_t>& ids) const {
        std::vector<std::string> out;
        for (uint32_t id : ids) out.push_back(w->FindRecord(id) ? w->FindRecord(id)->name : "?");
        return out;
    }

    // The events the source binds: each with its handler, by number where the source gives one.
    void ExpectEvents(Keys& k, const UnitRecord& r) const {
        std::multimap<int32_t, std::string> expected, bound;
        std::multiset<std::string> handlers, boundHandlers;
        bool numbered = true;
        if (const SourceValue* events = k.Take("events", Kind::kTable))
            for (const auto& [event, handler] : events->table) {
                numbered = numbered && event.find_first_not_of("-0123456789") == std::string::npos;
                expected.emplace(std::atoi(event.c_str()), handler.text);
                handlers.insert(handler.text);
            }
        for (const EventEntry& e : r.events) {
            bound.emplace(e.number, HandlerName(e.handlerOffset));
            boundHandlers.insert(HandlerName(e.handlerOffset));
        }
        if (numbered) EXPECT_EQ(bound, expected);
        EXPECT_EQ(boundHandlers, handlers);
    }

    const WindowTemplate* w = nullptr;
    const UnitRecord* tabs = nullptr;
    std::vector<std::vector<uint32_t>> pages;
    std::map<uint32_t, int> pageOf;
};

void ExpectTransLabel(Keys& k, const UnitRecord& r) {
    EXPECT_EQ(VersionOf(r), 1u);
    auto t = TransLabelData::Parse(r.typeData.data(), r.typeData.size());
    ASSERT_TRUE(t);
    EXPECT_EQ(t->caption, k.Text("caption", "透明标签"));
    EXPECT_EQ(t->effect, k.Int("effect", 0));
    EXPECT_EQ(t->textColour, k.Int("text_colour", 0));
    EXPECT_EQ(t->horizontalAlignment, k.Choice("horizontal_alignment", kHorizontal, 0));
    EXPECT_EQ(t->wordWrap, k.Flag("word_wrap", false) ? 1u : 0u);
    EXPECT_EQ(t->verticalAlignment, k.Choice("vertical_alignment", kVertical, 1));
    ExpectFont(t->font, k.Font("font"));
}

void ExpectEditBox(Keys& k, const UnitRecord& r) {
    EXPECT_EQ(VersionOf(r), 2u);
    auto e = EditBoxData::Parse(r.typeData.data(), r.typeData.size());
    ASSERT_TRUE(e);
    EXPECT_EQ(e->content, k.Text("content", ""));
    EXPECT_EQ(e->border, 1u);
    EXPECT_EQ(e->textColour, k.Int("text_colour", 0));
    EXPECT_EQ(e->backgroundColour, 0x00FFFFFFu);
    EXPECT_EQ(e->hideSelection, 1u);
    EXPECT_EQ(e->maxLength, k.Int("max_length", 0));
    EXPECT_EQ(e->multiLine, 0u);
    EXPECT_EQ(e->scrollBars, 0u);
    EXPECT_EQ(e->alignment, k.Choice("alignment", kHorizontal, 0));
    EXPECT_EQ(e->inputMode, k.Choice("input_mode", kInputModes, 0));
    EXPECT_EQ(e->passwordChar, '*');
    EXPECT_EQ(e->caseConversion, 0u);
    EXPECT_EQ(e->spinMode, 0u);
    EXPECT_EQ(e->spinMin, 0);
    EXPECT_EQ(e->spinMax, 100);
    ExpectFont(e->font, k.Font("font"));
}

void ExpectButton(Keys& k, const UnitRecord& r) {
    EXPECT_EQ(VersionOf(r), 1u);
    auto b = ButtonData::Parse(r.typeData.data(), r.typeData.size());
    ASSERT_TRUE(b);
    EXPECT_EQ(b->caption, k.Text("caption", ""));
    EXPECT_EQ(b->buttonType, 0u);
    EXPECT_EQ(b->horizontalAlignment, k.Choice("horizontal_alignment", kHorizontal, 1));
    EXPECT_EQ(b->verticalAlignment, 1u);
    EXPECT_TRUE(b->picture.empty());
    ExpectFont(b->font, k.Font("font"));
}

void ExpectLabel(Keys& k, const UnitRecord& r) {
    EXPECT_EQ(VersionOf(r), 2u);
    auto l = LabelData::Parse(r.typeData.data(), r.typeData.size());
    ASSERT_TRUE(l);
    EXPECT_EQ(l->caption, k.Text("caption", ""));
    EXPECT_EQ(l->textColour, k.Int("text_colour", 0));
    EXPECT_EQ(l->backgroundColour, kColourMarker);  // transparent
    EXPECT_TRUE(l->backgroundPicture.empty());
    ExpectFont(l->font, k.Font("font"));
}

void ExpectComboBox(Keys& k, const UnitRecord& r) {
    EXPECT_EQ(VersionOf(r), 3u);
    auto c = ComboBoxData::Parse(r.typeData.data(), r.typeData.size());
    ASSERT_TRUE(c);
    EXPECT_EQ(c->style, 1u);
    EXPECT_EQ(c->itemSpacing, 1u);
    EXPECT_EQ(c->backgroundColour, 0x00FFFFFFu);
    EXPECT_EQ(c->currentSelection, -1);
    EXPECT_EQ(c->content, "");
    EXPECT_EQ(c->items, k.Texts("items"));
    ExpectFont(c->font, k.Font("font"));
}

void ExpectListBox(Keys& k, const UnitRecord& r) {
    EXPECT_EQ(VersionOf(r), 3u);
    auto l = ListBoxData::Parse(r.typeData.data(), r.typeData.size());
    ASSERT_TRUE(l);
    EXPECT_EQ(l->border, 1u);
    EXPECT_EQ(l->itemSpacing, 1u);
    EXPECT_EQ(l->backgroundColour, 0x00FFFFFFu);
    EXPECT_EQ(l->currentSelection, -1);
    EXPECT_EQ(l->items, k.Texts("items"));
    ExpectFont(l->font, k.Font("font"));
}

void ExpectListView(Keys& k, const UnitRecord& r) {
    EXPECT_EQ(VersionOf(r), 1u);
    auto v = ListViewData::Parse(r.typeData.data(), r.typeData.size());
    ASSERT_TRUE(v);
    EXPECT_EQ(v->border, 1u);
    EXPECT_EQ(v->singleSelection, k.Flag("single_selection", false) ? 1u : 0u);
    EXPECT_EQ(v->gridLines, 0u);
    EXPECT_EQ(v->fullRowSelect, 0u);
    EXPECT_EQ(v->viewType, k.Choice("view_type", kViewTypes, 0));
    EXPECT_TRUE(v->rows.empty());
    EXPECT_FALSE(HasImageList(v->headerImageList));
    EXPECT_FALSE(HasImageList(v->stateImageList));
    std::vector<ListViewColumn> columns;
    if (const SourceValue* list = k.Take("columns", Kind::kArray))
        for (const SourceValue& column : list->items) {
            Keys c(column, k.where() + ", a column");
            columns.push_back({0, -1, static_cast<int32_t>(c.Choice("alignment", kHorizontal, 0)),
                               static_cast<int32_t>(c.Int("width", 50)), c.Text("title", "")});
        }
    EXPECT_EQ(v->columns, columns);
    const SourceValue* images = k.Take("item_image_list", Kind::kTable);
    ASSERT_EQ(HasImageList(v->itemImageList), images != nullptr);
    if (!images) return;
    Keys i(*images, k.where() + ", item_image_list");
    LampList lamps{v->itemImageList};
    EXPECT_EQ(lamps.U16(4), i.Texts("images").size());
    EXPECT_EQ(lamps.U16(10), i.Int("width", 0));
    EXPECT_EQ(lamps.U16(12), i.Int("height", 0));
    EXPECT_EQ(lamps.U16(18), 0x21u);  // 32-bit colour with alpha, and a mask
}

void ExpectStatusBar(Keys& k, const UnitRecord& r) {
    EXPECT_EQ(VersionOf(r), 1u);
    auto s = StatusBarData::Parse(r.typeData.data(), r.typeData.size());
    ASSERT_TRUE(s);
    EXPECT_EQ(s->backgroundColour, k.Int("background_colour", kColourMarker));
    EXPECT_TRUE(s->imageList.empty());
    std::vector<int32_t> widths, stored;
    if (const SourceValue* parts = k.Take("parts", Kind::kArray))
        for (const SourceValue& part : parts->items) widths.push_back(static_cast<int32_t>(Keys(part, k.where() + ", a part").Int("width", -1)));
    for (const StatusBarPart& part : s->parts) stored.push_back(part.width);
    EXPECT_EQ(stored, widths);
    ExpectFont(s->font, k.Font("font"));
}

}  // namespace

TEST_F(MainWindowForm, EveryUnitIsWhatItsSourceTableSays) {
    // The window's record first, then one record per [[unit]] table, in the source's order.
    const std::vector<SourceValue>& units = Source().units;
    ASSERT_EQ(units.size(), 117u);
    ASSERT_EQ(w->records.size(), units.size() + 1);
    for (size_t i = 0; i < units.size(); ++i) {
        const UnitRecord& r = w->records[i + 1];
        Keys k(units[i], "unit " + r.name);
        SCOPED_TRACE(k.where());
        EXPECT_EQ(r.id, static_cast<uint32_t>(k.Int("id", 0)));
        EXPECT_EQ(r.name, k.Text("name", ""));
        const std::string type = k.Text("type", "");
        ASSERT_TRUE(kTypeCodes.count(type)) << type;
        EXPECT_EQ(r.typeCode, kTypeCodes.at(type));
        const UnitRecord* parent = ByName(k.Text("parent", ""));
        EXPECT_EQ(r.parentId, parent ? parent->id : 0u);
        EXPECT_EQ(PageOf(r.id), k.Int("page", 0));
        EXPECT_EQ(r.left, k.Int("left", -1));
        EXPECT_EQ(r.top, k.Int("top", -1));
        EXPECT_EQ(r.width, k.Int("width", -1));
        EXPECT_EQ(r.height, k.Int("height", -1));
        EXPECT_EQ(r.visible(), k.Flag("visible", true));
        EXPECT_EQ(r.disabled(), k.Flag("disabled", false));
        EXPECT_EQ(r.tabStop(), k.Flag("tab_stop", kFocusTypes.count(type) > 0));
        EXPECT_EQ(r.stateFlags & ~7u, 0u);
        EXPECT_EQ(r.tabOrder, 0u);
        EXPECT_EQ(r.eventSourceId, 0u);
        EXPECT_EQ(r.comment, "");
        EXPECT_EQ(r.tag, "");
        EXPECT_EQ(r.cursorData, (std::vector<uint8_t>{0, 0, 0, 0}));
        ExpectEvents(k, r);

        if (type == "TransLabel") ExpectTransLabel(k, r);
        else if (type == "EditBox") ExpectEditBox(k, r);
        else if (type == "Button") ExpectButton(k, r);
        else if (type == "Label") ExpectLabel(k, r);
        else if (type == "ComboBox") ExpectComboBox(k, r);
        else if (type == "ListBox") ExpectListBox(k, r);
        else if (type == "ListView") ExpectListView(k, r);
        else if (type == "StatusBar") ExpectStatusBar(k, r);
        else if (type == "Timer" || type == "GroupBox") EXPECT_TRUE(r.typeData.empty()) << "all properties at their defaults";
        else if (type == "PageControl")  // the next test
            for (const char* key : {"settings_a", "tab_font", "settings_b", "colours", "settings_34", "pages"}) k.Take(key);
    }
}

TEST_F(MainWindowForm, ThePageControlHoldsThePagesOfItsSource) {
    const SourceValue* source = nullptr;
    for (const SourceValue& u : Source().units)
        if (u.table.at("name").text == "茗柜") source = &u;
    ASSERT_NE(source, nullptr);
    Keys k(*source, "unit 茗柜");
    for (const char* common : {"id", "name", "type", "left", "top", "width", "height"}) k.Take(common);
    EXPECT_EQ(VersionOf(*tabs), 7u);
    auto p = PageControlData::Parse(tabs->typeData.data(), tabs->typeData.size());
    ASSERT_TRUE(p);
    ExpectFont(EncodeFont(p->tabFont), k.Font("tab_font"));
    EXPECT_EQ(std::vector<uint32_t>(p->settingsA.begin(), p->settingsA.end()), Widened<uint32_t>(k.Integers("settings_a")));
    EXPECT_EQ(std::vector<uint32_t>(p->settingsB.begin(), p->settingsB.end()), Widened<uint32_t>(k.Integers("settings_b")));
    EXPECT_EQ(std::vector<uint32_t>(p->colours.begin(), p->colours.end()), Widened<uint32_t>(k.Integers("colours")));
    EXPECT_EQ(std::vector<uint32_t>(p->settings34.begin(), p->settings34.end()), Widened<uint32_t>(k.Integers("settings_34")));
    for (const auto& block : p->imageBlocks) EXPECT_TRUE(block.empty());
    TemplateCursor list(tabs->typeData.data(), tabs->typeData.size());  // the page list block stores page-list version 3
    list.Skip(4 + 16 + 60);
    auto pageList = list.CountedBlock();
    ASSERT_GE(pageList.size(), 4u);
    EXPECT_EQ(pageList[0], 3);

    const SourceValue* sourcePages = k.Take("pages", Kind::kArray);
    ASSERT_NE(sourcePages, nullptr);
    ASSERT_EQ(p->pages.size(), sourcePages->items.size());
    ASSERT_EQ(pages.size(), p->pages.size());
    for (size_t i = 0; i < p->pages.size(); ++i) {
        Keys page(sourcePages->items[i], "page " + std::to_string(i + 1));
        SCOPED_TRACE(page.where());
        EXPECT_EQ(p->pages[i].caption, page.Text("caption", ""));
        EXPECT_EQ(p->pages[i].secondText, page.Text("second_text", ""));
        EXPECT_EQ(std::vector<int32_t>(p->pages[i].tabSettings.begin(), p->pages[i].tabSettings.end()),
                  Widened<int32_t>(page.Integers("tab_settings")));
        EXPECT_EQ(p->pages[i].hidden, 0u);
        EXPECT_TRUE(p->pages[i].subEntries.empty());
        // The page's units: in the order the source gives, else in table order.
        std::vector<std::string> expected = page.Texts("child_order");
        if (expected.empty())
            for (const SourceValue& u : Source().units)
                if (u.table.count("page") && u.table.at("page").integer == static_cast<int64_t>(i + 1) &&
                    u.table.at("parent").text == "茗柜")
                    expected.push_back(u.table.at("name").text);
        EXPECT_EQ(Names(pages[i]), expected);
    }
}

TEST_F(MainWindowForm, TheWindowRecordIsWhatTheWindowTableSays) {
    Keys k(Source().window, "window");
    EXPECT_EQ(w->id, static_cast<uint32_t>(k.Int("id", 0)));
    k.Take("symbol");  // the name tool code uses, not stored
    EXPECT_EQ(w->attributeA, static_cast<uint32_t>(k.Int("attribute_a", 0)));
    EXPECT_EQ(w->attributeB, static_cast<uint32_t>(k.Int("attribute_b", 0)));
    const UnitRecord& self = w->records.at(0);
    EXPECT_EQ(self.id, static_cast<uint32_t>(k.Int("record_id", 0x06010000)));
    EXPECT_EQ(self.id, kWindowRecordId);
    EXPECT_EQ(self.typeCode, 0x00010001u);
    EXPECT_EQ(self.name, "");
    EXPECT_EQ(self.parentId, 0u);
    EXPECT_EQ(self.left, k.Int("left", -1));
    EXPECT_EQ(self.top, k.Int("top", -1));
    EXPECT_EQ(self.width, k.Int("width", -1));
    EXPECT_EQ(self.height, k.Int("height", -1));
    EXPECT_TRUE(self.visible());
    ExpectEvents(k, self);
    EXPECT_EQ(VersionOf(self), 6u);
    auto wd = WindowData::Parse(self.typeData.data(), self.typeData.size());
    ASSERT_TRUE(wd);
    EXPECT_EQ(wd->caption, k.Text("caption", ""));
    EXPECT_EQ(wd->caption, "\xDC\xF8\xB9\xF1");  // "茗柜"
    EXPECT_EQ(wd->borderStyle, k.Int("border_style", -1));
    EXPECT_EQ(wd->position, k.Choice("position", kPositions, 0));
    EXPECT_EQ(wd->controlBox, k.Flag("control_box", false) ? 1u : 0u);
    EXPECT_EQ(wd->maximiseBox, k.Flag("maximise_box", true) ? 1u : 0u);
    EXPECT_EQ(wd->minimiseBox, k.Flag("minimise_box", true) ? 1u : 0u);
    EXPECT_EQ(wd->movable, k.Flag("movable", false) ? 1u : 0u);
    EXPECT_EQ(wd->showInTaskbar, k.Flag("show_in_taskbar", false) ? 1u : 0u);
    EXPECT_EQ(wd->backgroundColour, k.Int("background_colour", -1));
    EXPECT_EQ(wd->pictureSetting, k.Int("picture_setting", -1));
    EXPECT_EQ(wd->switch22, k.Int("switch_22", -1));
    EXPECT_EQ(wd->className, "");

    // The key handler of 盘香烟4 stands at the event-code base itself.
    ASSERT_FALSE(Compiled().handlers.empty());
    EXPECT_EQ(Compiled().handlers[0], "AdvanceOnEnter");
    EXPECT_EQ(ByName("盘香烟4")->HandlerOffset(-9), 0u);
    // One table entry per handler, and every entry is used.
    std::set<std::string> used;
    for (const UnitRecord& r : w->records)
        for (const EventEntry& e : r.events) used.insert(HandlerName(e.handlerOffset));
    EXPECT_EQ(used.size(), Compiled().handlers.size());
    EXPECT_EQ(used.count("?"), 0u);
}

TEST_F(MainWindowForm, PagesAndGroupBoxesHoldTheirUnits) {
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(pages[0].size(), 77u);
    EXPECT_EQ(pages[1].size(), 17u);
    EXPECT_EQ(pages[2].size(), 12u);
    for (const auto& page : pages)
        for (uint32_t id : page) {
            const UnitRecord* r = w->FindRecord(id);
            ASSERT_NE(r, nullptr);
            EXPECT_EQ(r->parentId, tabs->id) << std::hex << id;
        }
    EXPECT_EQ(Names(ByName("分组框1")->children),
              (std::vector<std::string>{"标签1", "饮料标签", "小吃标签", "香烟标签", "其它标签", "总额", "时间显示"}));
    EXPECT_EQ(Names(ByName("疆内分组框")->children), std::vector<std::string>{"疆内超级列表框"});
    EXPECT_EQ(Names(ByName("疆外分组框")->children), std::vector<std::string>{"疆外超级列表框"});
    // Every unit that names a container is listed by it, and only those.
    for (const UnitRecord& r : w->records) {
        if (r.parentId == 0) continue;
        const UnitRecord* p = w->FindRecord(r.parentId);
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(std::count(p->children.begin(), p->children.end(), r.id), 1) << std::hex << r.id;
    }
    EXPECT_EQ(ByName("状态条1")->parentId, 0u);
    EXPECT_GE(ByName("状态条1")->top, tabs->top + tabs->height);  // below the page control
}

TEST_F(MainWindowForm, NoCaptionOrFrameCoversAUnitThatTakesTheFocus) {
    // Units of one parent are stacked in table order, position 1 on top.
    auto overlap = [](const UnitRecord& a, const UnitRecord& b) {
        return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height && b.top < a.top + a.height;
    };
    int pairs = 0;
    for (size_t i = 1; i < w->records.size(); ++i) {
        for (size_t j = 1; j < w->records.size(); ++j) {
            const UnitRecord& a = w->records[i];  // takes the focus
            const UnitRecord& b = w->records[j];  // caption, label or frame
            if (!a.visible() || !b.visible() || a.parentId != b.parentId || PageOf(a.id) != PageOf(b.id)) continue;
            if (kCaptionsAndFrames.count(a.typeCode) || a.typeCode == kTimer || !kCaptionsAndFrames.count(b.typeCode) ||
                !overlap(a, b))
                continue;
            ++pairs;
            EXPECT_LT(i, j) << a.name << " lies below " << b.name;
        }
    }
    EXPECT_GT(pairs, 5);  // 其它钱数 and 透明标签42, the three top-up boxes and their captions, ...
    EXPECT_LT(w->FindPosition(ByName("状态条1")->id), w->FindPosition(tabs->id));  // the status bar above the page control
}

namespace {

// An IPv4 address in dotted form, or nothing.
std::optional<std::array<int, 4>> Ipv4(const std::string& text) {
    std::array<int, 4> a{};
    char dot[3];
    std::istringstream in(text);
    if (!(in >> a[0] >> dot[0] >> a[1] >> dot[1] >> a[2] >> dot[2] >> a[3]) || !in.eof()) return std::nullopt;
    for (int i = 0; i < 4; ++i)
        if (a[i] < 0 || a[i] > 255 || (i < 3 && dot[i] != '.')) return std::nullopt;
    return a;
}
bool IsPrivateOrLocal(const std::array<int, 4>& a) {
    return a[0] == 10 || a[0] == 127 || a[0] == 0 || (a[0] == 172 && a[1] >= 16 && a[1] <= 31) ||
           (a[0] == 192 && a[1] == 168) || (a[0] == 169 && a[1] == 254) || a[0] >= 224;
}

// Label and address of each item "label，address，".
std::vector<std::pair<std::string, std::string>> HostLines(const std::vector<std::string>& items) {
    const std::string separator = "，";
    std::vector<std::pair<std::string, std::string>> out;
    for (const std::string& item : items) {
        size_t first = item.find(separator);
        size_t second = first == std::string::npos ? first : item.find(separator, first + separator.size());
        EXPECT_NE(second, std::string::npos) << item;
        EXPECT_EQ(second + separator.size(), item.size()) << "an item ends with its second separator";
        if (second == std::string::npos) continue;
        out.emplace_back(item.substr(0, first), item.substr(first + separator.size(), second - first - separator.size()));
    }
    return out;
}

}  // namespace

TEST_F(MainWindowForm, DefaultHostLines) {
    auto items = [&](const char* name) {
        const UnitRecord* r = ByName(name);
        auto d = ListBoxData::Parse(r->typeData.data(), r->typeData.size());
        return d ? d->items : std::vector<std::string>{};
    };
    auto separatorBox = ByName("分割符编辑框");
    EXPECT_EQ(EditBoxData::Parse(separatorBox->typeData.data(), separatorBox->typeData.size())->content, "\xA3\xAC");

    auto inside = HostLines(items("列表框1"));
    EXPECT_EQ(inside, kDefaultInsideHosts);
    ASSERT_EQ(inside.size(), 6u);
    std::vector<std::array<int, 4>> lan;
    for (size_t i = 0; i < inside.size(); ++i) {
        auto a = Ipv4(inside[i].second);
        ASSERT_TRUE(a) << inside[i].second;
        if (i < 5) lan.push_back(*a);
        else EXPECT_FALSE(IsPrivateOrLocal(*a)) << "the DNS server is a public address";
    }
    for (const auto& a : lan) {  // one private /24: the router at 1, four servers in a row near the top
        EXPECT_TRUE(IsPrivateOrLocal(a) && a[0] != 127);
        EXPECT_EQ((std::array<int, 3>{a[0], a[1], a[2]}), (std::array<int, 3>{lan[0][0], lan[0][1], lan[0][2]}));
    }
    EXPECT_EQ(lan[0][3], 1);
    EXPECT_GE(lan[1][3], 240);
    for (size_t i = 2; i < 5; ++i) EXPECT_EQ(lan[i][3], lan[1][3] + static_cast<int>(i) - 1);
    EXPECT_LE(lan[4][3], 254);

    auto outside = HostLines(items("列表框2"));
    ASSERT_EQ(outside.size(), kDefaultOutsideLabels.size());
    for (size_t i = 0; i < outside.size(); ++i) EXPECT_EQ(outside[i].first, kDefaultOutsideLabels[i]);
    EXPECT_NE(outside[0].second.find("baidu.com"), std::string::npos);
    EXPECT_NE(outside[1].second.find("qq.com"), std::string::npos);
    std::set<std::string> distinct;
    for (size_t i = 2; i < outside.size(); ++i) {
        auto a = Ipv4(outside[i].second);
        ASSERT_TRUE(a) << outside[i].second;
        EXPECT_FALSE(IsPrivateOrLocal(*a)) << outside[i].second;
        distinct.insert(outside[i].second);
    }
    EXPECT_EQ(distinct.size(), 19u);
}

TEST_F(MainWindowForm, LampsAreRoundAndInStatusOrder) {
    for (const char* name : {"疆内超级列表框", "疆外超级列表框"}) {
        const UnitRecord* r = ByName(name);
        auto v = ListViewData::Parse(r->typeData.data(), r->typeData.size());
        ASSERT_TRUE(v);
        LampList lamps{v->itemImageList};
        for (int k = 0; k < 4; ++k) {
            for (auto [x, y] : std::initializer_list<std::pair<int, int>>{{0, 0}, {15, 0}, {0, 15}, {15, 15}})
                EXPECT_EQ(lamps.Pixel(k, x, y)[3], 0) << "lamp " << k << ": corners are transparent";
            for (auto [x, y] : std::initializer_list<std::pair<int, int>>{{8, 8}, {8, 1}, {1, 8}, {8, 14}, {14, 8}})
                EXPECT_EQ(lamps.Pixel(k, x, y)[3], 255) << "lamp " << k << " at " << x << "," << y;
        }
        // The lit disc below the highlight: grey, green, yellow, red.
        auto c = [&](int k) { return lamps.Pixel(k, 9, 10); };
        EXPECT_LE(std::abs(c(0)[0] - c(0)[1]) + std::abs(c(0)[1] - c(0)[2]), 6);
        EXPECT_GT(c(1)[1], c(1)[0] + 60);
        EXPECT_GT(c(1)[1], c(1)[2] + 60);
        EXPECT_GT(c(2)[0], c(2)[2] + 60);
        EXPECT_GT(c(2)[1], c(2)[2] + 60);
        EXPECT_GT(c(3)[0], c(3)[1] + 60);
        EXPECT_GT(c(3)[0], c(3)[2] + 60);
    }
}
