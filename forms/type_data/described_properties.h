// A unit type's properties as its one field list describes them: the property table the
// framework dispatches on, and reading and writing a property's stored value.
//
// A stored value travels as the framework hands it over (UnitPropertyValue): an integer
// field as `integer` (a write clamped to the field's range), a text as `text`, a byte block
// as `bytes`, a stored LOGFONTA as its 60 bytes, an item list as an item list block, a list
// with a block codec as that block. A block that does not hold exactly its records (items,
// parts, pages, columns, rows) is refused whole: nothing is stored. Anything else (a whole array) has no value of its own: a
// property on it has a behaviour of its type (forms/described_unit.h).
// Portable: no Windows header.
#pragma once

#include <cstring>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

#include "forms/type_data/type_data_codec.h"
#include "forms/unit_events.h"

namespace described {

// Walks the field list for the property descriptions.
struct PropertyCollector {
    std::vector<FieldDescription> found;
    template <class T>
    void operator()(const T&, const FieldDescription& d) {
        if (d.IsProperty()) found.push_back(d);
    }
    template <class T>
    void View(const T&, const FieldDescription& d) {
        found.push_back(d);
    }
    void Unstored(const FieldDescription& d) { found.push_back(d); }
};

template <class T>
constexpr bool kIsInteger = std::is_integral_v<T> && !std::is_same_v<T, bool>;

template <class T>
bool Load(const T& field, UnitPropertyValue* out) {
    if constexpr (kIsInteger<T>) {
        out->integer = static_cast<int32_t>(field);
    } else if constexpr (std::is_same_v<T, std::string>) {
        out->text = field;
    } else if constexpr (std::is_same_v<T, std::vector<uint8_t>>) {
        out->bytes = field;
    } else if constexpr (std::is_same_v<T, std::vector<std::string>>) {
        TemplateWriter w;
        WriteItemList(w, field);
        out->bytes = w.Take();
    } else if constexpr (std::is_same_v<T, LogFontBytes>) {
        out->bytes = EncodeFont(field);
    } else if constexpr (HasBlockCodec<T>) {
        out->bytes = BlockCodec<T>::Write(field);
    } else {
        return false;
    }
    return true;
}

template <class T>
bool Store(T& field, const FieldDescription& d, const UnitPropertyValue& v) {
    if constexpr (kIsInteger<T>) {
        int64_t n = v.integer;
        if (n < d.low) n = d.low;
        if (n > d.high) n = d.high;
        field = static_cast<T>(n);
    } else if constexpr (std::is_same_v<T, std::string>) {
        field = v.text;
    } else if constexpr (std::is_same_v<T, std::vector<uint8_t>>) {
        field = v.bytes;
    } else if constexpr (std::is_same_v<T, std::vector<std::string>>) {
        std::optional<std::vector<std::string>> items = ParseItemListBlock(v.bytes);
        if (!items) return false;
        field = std::move(*items);
    } else if constexpr (std::is_same_v<T, LogFontBytes>) {
        std::optional<LogFontBytes> font = DecodeFont(v.bytes);
        if (!font) return false;
        field = *font;
    } else if constexpr (HasBlockCodec<T>) {
        std::optional<T> parsed = BlockCodec<T>::Parse(v.bytes.data(), v.bytes.size());
        if (!parsed) return false;
        field = std::move(*parsed);
    } else {
        return false;
    }
    return true;
}

// Reads or writes the field of one property index.
struct PropertyLoader {
    int32_t index;
    UnitPropertyValue* out;
    bool done = false;
    template <class T>
    void operator()(const T& field, const FieldDescription& d) {
        if (d.index == index) done = Load(field, out);
    }
    template <class T>
    void View(const T& part, const FieldDescription& d) {
        (*this)(part, d);
    }
    void Unstored(const FieldDescription&) {}
};

struct PropertyStorer {
    int32_t index;
    const UnitPropertyValue* value;
    std::optional<FieldDescription> stored;
    template <class T>
    void operator()(T& field, const FieldDescription& d) {
        if (d.index == index && Store(field, d, *value)) stored = d;
    }
    template <class T>
    void View(T& part, const FieldDescription& d) {
        (*this)(part, d);
    }
    void Unstored(const FieldDescription&) {}
};

}  // namespace described

// The type's own properties (index 8 and up) in index order. Every index from 8 to the
// last one is described exactly once.
template <class Data>
std::vector<FieldDescription> DescribedProperties() {
    described::PropertyCollector collector;
    Data data;
    Data::Fields(collector, data);
    std::vector<FieldDescription> byIndex(collector.found.size());
    for (const FieldDescription& d : collector.found) {
        size_t at = static_cast<size_t>(d.index - kCommonPropertyCount);
        if (d.index < kCommonPropertyCount || at >= byIndex.size() || byIndex[at].IsProperty()) return {};
        byIndex[at] = d;
    }
    return byIndex;
}

// The stored value of property `index` (8 and up) in the framework's form. False when the
// index is none of the type's, or its value is not stored (or has no value of its own).
template <class Data>
bool LoadDescribedProperty(const Data& data, int32_t index, UnitPropertyValue* out) {
    described::PropertyLoader loader{index, out, false};
    Data::Fields(loader, data);
    return loader.done;
}

// Stores a written value into property `index` and gives the property's description; none
// when the index is none of the type's, the property is not stored, or the value does not
// fit (a malformed block).
template <class Data>
std::optional<FieldDescription> StoreDescribedProperty(Data& data, int32_t index, const UnitPropertyValue& value) {
    described::PropertyStorer storer{index, &value, std::nullopt};
    Data::Fields(storer, data);
    return storer.stored;
}

