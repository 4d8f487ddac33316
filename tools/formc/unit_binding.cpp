#include "tools/formc/unit_binding.h"

#include <cstdlib>
#include <functional>
#include <type_traits>

#include "controls/unit_types.h"

namespace {

template <class Record>
concept HasFields = requires(Record& r, Keys& k) { Record::Fields(k, r); };

void CheckItemCount(Keys& k, const std::string& key, const std::vector<std::string>& items) {
    if (items.size() > 0xFFFF) k.Fail(key, "at most 65535 items can be stored");
}

// Walks a type's field list and binds each field that has a form key, by the field's C++
// type and the property's data type. Each table of a list of records is also handed to
// `onRecord` (a unit that shows pages reads each page's order of units there).
class FormKeyBinder {
public:
    using RecordHook = std::function<void(Keys&)>;
    FormKeyBinder(Keys& keys, RecordHook onRecord = {}) : k_(keys), onRecord_(std::move(onRecord)) {}

    template <class T>
    void operator()(T& field, const FieldDescription& d) {
        std::string key = FormKeyOf(d);
        if (!key.empty()) Bind(field, d, key);
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
    void Bind(int32_t& v, const FieldDescription& d, const std::string& key) {
        if (!d.choices) {
            k_.I32(key, v);
            return;
        }
        uint32_t choice = static_cast<uint32_t>(v);
        k_.Choice(key, choice, d.choices, d.choiceCount);
        v = static_cast<int32_t>(choice);
    }
    void Bind(uint8_t& v, const FieldDescription& d, const std::string& key) {
        if (d.type == PropertyType::kSwitch)
            v = k_.Bool(key, v != 0) ? 1 : 0;
        else
            k_.U8(key, v);
    }
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
    // Arrays of N numbers each.
    template <size_t N>
    void Bind(std::vector<std::array<uint32_t, N>>& list, const FieldDescription&, const std::string& key) {
        const toml::array* given = k_.Array(key);
        if (!given) return;
        const std::string expected = "expected arrays of " + std::to_string(N) + " numbers";
        for (const toml::node& e : *given) {
            const toml::array* a = e.as_array();
            if (!a || a->size() != N) k_.Fail(key, expected);
            std::array<uint32_t, N> words{};
            for (size_t i = 0; i < N; ++i) {
                const auto* v = a->get(i)->as_integer();
                if (!v) k_.Fail(key, expected);
                words[i] = static_cast<uint32_t>(v->get());
            }
            list.push_back(words);
        }
    }
    // A list of records, one table each, bound by the records' own field lists.
    template <class Record>
        requires HasFields<Record>
    void Bind(std::vector<Record>& records, const FieldDescription&, const std::string& key) {
        k_.EachTable(key, [&](Keys& table) {
            if (onRecord_) onRecord_(table);
            records.push_back(BindRecord<Record>(table));
        });
    }
    // Rows of records: an array of arrays of tables.
    template <class Record>
        requires HasFields<Record>
    void Bind(std::vector<std::vector<Record>>& rows, const FieldDescription&, const std::string& key) {
        const toml::array* given = k_.Array(key);
        if (!given) return;
        for (size_t r = 0; r < given->size(); ++r) {
            const toml::array* cells = given->get(r)->as_array();
            if (!cells) k_.Fail(key, "expected an array of rows, each an array of cell tables");
            std::vector<Record> row;
            for (size_t i = 0; i < cells->size(); ++i) {
                const toml::table* t = cells->get(i)->as_table();
                if (!t) k_.Fail(key, "expected cell tables");
                Keys c(*t, k_.context() + ", " + key + "[" + std::to_string(r) + "][" + std::to_string(i) + "]", nullptr);
                row.push_back(BindRecord<Record>(c));
                c.Finish();
            }
            rows.push_back(std::move(row));
        }
    }

    template <class Record>
    static Record BindRecord(Keys& table) {
        Record record;
        FormKeyBinder binder(table);
        Record::Fields(binder, record);
        return record;
    }

    Keys& k_;
    RecordHook onRecord_;
};

template <class Data>
std::vector<uint8_t> Encode(const Data& d) {
    // Properties all at their defaults are stored as empty type data, which means the same.
    return d == Data{} ? std::vector<uint8_t>{} : Data::Write(d);
}

// Besides its properties, a unit that holds units may give the order of its child list, and
// one that shows pages the order of each page's units, in the page's table.
template <class Data>
std::vector<uint8_t> BindUnit(Keys& k, SourceUnit& unit, uint32_t flags) {
    if (flags & kTypeHoldsUnits) {
        bool given = false;
        auto order = k.Utf8List("child_order", &given);
        if (given) unit.childOrder = order;
    }
    FormKeyBinder::RecordHook onPage;
    if (flags & kTypeShowsPages) {
        onPage = [&unit](Keys& page) {
            bool given = false;
            auto order = page.Utf8List("child_order", &given);
            unit.pageChildOrder.push_back(given ? std::optional(order) : std::nullopt);
        };
    }
    Data d;
    FormKeyBinder binder(k, std::move(onPage));
    Data::Fields(binder, d);
    return Encode(d);
}

#define MG_SOURCE_TYPE(library, position, Name, flags)                                       \
    SourceUnitType{Name##Data::kEnglishName, UnitTypeCode(library, position), (flags), \
                   OwnEvents<Name##Data>(), &BindUnit<Name##Data>},
const SourceUnitType kSourceUnitTypes[] = {MG_UNIT_TYPES(MG_SOURCE_TYPE)};
#undef MG_SOURCE_TYPE

}  // namespace

const SourceUnitType* FindSourceUnitType(const std::string& name) {
    for (const SourceUnitType& t : kSourceUnitTypes)
        if (name == t.name) return &t;
    return nullptr;
}

const SourceUnitType& WindowSourceType() {
    for (const SourceUnitType& t : kSourceUnitTypes)
        if (t.code == kWindowTypeCode) return t;
    std::abort();  // the list names the window type (controls/unit_types.h checks it)
}

std::vector<uint8_t> BindWindowData(Keys& keys) {
    SourceUnit none;
    return BindUnit<WindowData>(keys, none, 0);
}
