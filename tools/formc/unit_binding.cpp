#include "tools/formc/unit_binding.h"

#include <cctype>
#include <set>
#include <type_traits>

#include "controls/list_view_data.h"
#include "controls/page_control_data.h"
#include "controls/trans_label_data.h"
#include "forms/type_data/button_data.h"
#include "forms/type_data/combo_box_data.h"
#include "forms/type_data/edit_box_data.h"
#include "forms/type_data/group_box_data.h"
#include "forms/type_data/label_data.h"
#include "forms/type_data/list_box_data.h"
#include "forms/type_data/status_bar_data.h"
#include "forms/type_data/timer_data.h"
#include "forms/type_data/window_data.h"


namespace {

template <class Record>
concept HasFields = requires(Record& r, Keys& k) { Record::Fields(k, r); };

void CheckItemCount(Keys& k, const std::string& key, const std::vector<std::string>& items) {
    if (items.size() > 0xFFFF) k.Fail(key, "at most 65535 items can be stored");
}

// Walks a type's field list and binds each field that has a form key, by the field's C++
// type and the property's data type. Keys in `own` are bound by the type's own binder.
class FormKeyBinder {
public:
    FormKeyBinder(Keys& keys, std::set<std::string> own) : k_(keys), own_(std::move(own)) {}

    template <class T>
    void operator()(T& field, const FieldDescription& d) {
        std::string key = FormKeyOf(d);
        if (!key.empty() && !own_.count(key)) Bind(field, d, key);
    }
    template <class T>
    void View(T&, const FieldDescription&) {}  // the field it is part of is bound whole
    void Unstored(const FieldDescription&) {}

private:
    void Bind(uint32_t& v, const FieldDescription& d, const std::string& key) {
        using P = PropertyType;
        if (d.type == P::kColour || d.type == P::kBackgroundColour || d.type == P::kTransparentColour)
            k_.Colour(key, v);
        else if (d.type == P::kSwitch)
            k_.Switch(key, v);
        else if (d.choices)
            k_.Choice(key, v, d.choices, d.choiceCount);
        else
            k_.U32(key, v);
    }
    void Bind(int32_t& v, const FieldDescription&, const std::string& key) { k_.I32(key, v); }
    void Bind(uint8_t& v, const FieldDescription&, const std::string& key) { k_.U8(key, v); }
    // A one-byte character given as a text.
    void Bind(uint16_t& v, const FieldDescription&, const std::string& key) {
        if (!k_.Has(key)) return;
        std::string text;
        k_.Text(key, text);
        if (text.size() != 1) k_.Fail(key, "expected one single-byte character");
        v = static_cast<uint8_t>(text[0]);
    }
    void Bind(std::string& s, const FieldDescription&, const std::string& key) { k_.Text(key, s); }
    void Bind(std::vector<uint8_t>& b, const FieldDescription& d, const std::string& key) {
        if (d.type == PropertyType::kFont)
            k_.Font(key, b);
        else if (d.type == PropertyType::kImageList)
            k_.ImageList(key, b);
        else
            k_.Bytes(key, b);
    }
    void Bind(LogFontBytes& font, const FieldDescription&, const std::string& key) {
        if (auto f = k_.LogFont(key)) font = *f;
    }
    void Bind(std::vector<std::string>& items, const FieldDescription&, const std::string& key) {
        items = k_.TextList(key);
        CheckItemCount(k_, key, items);
    }
    template <class T, size_t N>
        requires std::is_integral_v<T>
    void Bind(std::array<T, N>& words, const FieldDescription&, const std::string& key) {
        k_.Words(key, words);
    }
    template <size_t N>
    void Bind(std::array<std::vector<uint8_t>, N>& blocks, const FieldDescription&, const std::string& key) {
        const toml::array* given = k_.Array(key);
        if (!given) return;
        if (given->size() > N) k_.Fail(key, "at most " + std::to_string(N) + " blocks");
        for (size_t i = 0; i < given->size(); ++i) blocks[i] = k_.BytesOf(*given->get(i), key);
    }
    // A list of records, one table each, bound by the records' own field lists.
    template <class Record>
        requires HasFields<Record>
    void Bind(std::vector<Record>& records, const FieldDescription&, const std::string& key) {
        k_.EachTable(key, [&](Keys& table) {
            Record record;
            FormKeyBinder binder(table, {});
            Record::Fields(binder, record);
            records.push_back(std::move(record));
        });
    }

    // What the type's own binder takes (see `own`).
    template <class T>
    void Bind(T&, const FieldDescription&, const std::string& key) {
        k_.Fail(key, "is bound by its type's own binder");
    }

    Keys& k_;
    std::set<std::string> own_;
};

template <class Data>
std::vector<uint8_t> Encode(const Data& d) {
    // Properties all at their defaults are stored as empty type data, which means the same.
    return d == Data{} ? std::vector<uint8_t>{} : Data::Write(d);
}

template <class Data>
void BindDescribed(Keys& k, Data& d, const std::set<std::string>& own = {}) {
    FormKeyBinder binder(k, own);
    Data::Fields(binder, d);
}

template <class Data>
std::vector<uint8_t> BindPlain(Keys& k, SourceUnit&) {
    Data d;
    BindDescribed(k, d);
    return Encode(d);
}

std::vector<uint8_t> BindGroupBox(Keys& k, SourceUnit& unit) {
    bool given = false;
    auto order = k.Utf8List("child_order", &given);
    if (given) unit.childOrder = order;
    return BindPlain<GroupBoxData>(k, unit);
}

ListViewColumn BindColumn(Keys& c) {
    ListViewColumn column;
    c.Text("title", column.title);
    c.I32("width", column.width);
    uint32_t alignment = static_cast<uint32_t>(column.alignment);
    c.Choice("alignment", alignment, kHorizontalChoices);
    column.alignment = static_cast<int32_t>(alignment);
    c.I32("image", column.image);
    column.imageOnRight = c.Bool("image_on_right", false) ? 1 : 0;
    return column;
}

// Rows: an array of rows, each an array of cell tables.
std::vector<ListViewRow> BindRows(Keys& k) {
    std::vector<ListViewRow> rows;
    const toml::array* given = k.Array("rows");
    if (!given) return rows;
    for (size_t r = 0; r < given->size(); ++r) {
        const toml::array* cells = given->get(r)->as_array();
        if (!cells) k.Fail("rows", "expected an array of rows, each an array of cell tables");
        ListViewRow row;
        for (size_t i = 0; i < cells->size(); ++i) {
            const toml::table* t = cells->get(i)->as_table();
            if (!t) k.Fail("rows", "expected cell tables");
            Keys c(*t, k.context() + ", rows[" + std::to_string(r) + "][" + std::to_string(i) + "]", nullptr);
            ListViewCell cell;
            BindDescribed(c, cell);
            c.Finish();
            row.push_back(cell);
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<uint8_t> BindListView(Keys& k, SourceUnit&) {
    ListViewData d;
    BindDescribed(k, d, {"columns", "rows"});
    k.EachTable("columns", [&](Keys& c) { d.columns.push_back(BindColumn(c)); });
    d.rows = BindRows(k);
    return Encode(d);
}

// A page: its keys, and the order of its units, which the compiler resolves by name.
PageControlPage BindPage(Keys& p, SourceUnit& unit) {
    PageControlPage page;
    BindDescribed(p, page);
    if (const toml::array* subs = p.Array("sub_entries")) {
        for (const auto& e : *subs) {
            Words<4> entry{};
            const toml::array* a = e.as_array();
            if (!a || a->size() != 4) p.Fail("sub_entries", "expected arrays of 4 numbers");
            for (size_t i = 0; i < 4; ++i) {
                const auto* v = a->get(i)->as_integer();
                if (!v) p.Fail("sub_entries", "expected arrays of 4 numbers");
                entry[i] = static_cast<uint32_t>(v->get());
            }
            page.subEntries.push_back(entry);
        }
    }
    bool given = false;
    auto order = p.Utf8List("child_order", &given);
    unit.pageChildOrder.push_back(given ? std::optional(order) : std::nullopt);
    return page;
}

std::vector<uint8_t> BindPageControl(Keys& k, SourceUnit& unit) {
    PageControlData d;
    BindDescribed(k, d, {"pages"});
    k.EachTable("pages", [&](Keys& p) { d.pages.push_back(BindPage(p, unit)); });
    return Encode(d);
}

const SourceUnitType kSourceUnitTypes[] = {
    {EditBoxData::kEnglishName, EditBoxData::kTypeCode, true, &BindPlain<EditBoxData>},
    {LabelData::kEnglishName, LabelData::kTypeCode, false, &BindPlain<LabelData>},
    {GroupBoxData::kEnglishName, GroupBoxData::kTypeCode, false, &BindGroupBox},
    {ButtonData::kEnglishName, ButtonData::kTypeCode, true, &BindPlain<ButtonData>},
    {TimerData::kEnglishName, TimerData::kTypeCode, false, &BindPlain<TimerData>},
    {ComboBoxData::kEnglishName, ComboBoxData::kTypeCode, true, &BindPlain<ComboBoxData>},
    {ListBoxData::kEnglishName, ListBoxData::kTypeCode, true, &BindPlain<ListBoxData>},
    {StatusBarData::kEnglishName, StatusBarData::kTypeCode, false, &BindPlain<StatusBarData>},
    {PageControlData::kEnglishName, PageControlData::kTypeCode, false, &BindPageControl},
    {ListViewData::kEnglishName, ListViewData::kTypeCode, true, &BindListView},
    {TransLabelData::kEnglishName, TransLabelData::kTypeCode, false, &BindPlain<TransLabelData>},
};

}  // namespace

const SourceUnitType* FindSourceUnitType(const std::string& name) {
    for (const SourceUnitType& t : kSourceUnitTypes)
        if (name == t.name) return &t;
    return nullptr;
}

std::vector<uint8_t> BindWindowData(Keys& keys) {
    WindowData d;
    BindDescribed(keys, d);
    return Encode(d);
}
