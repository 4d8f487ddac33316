// Built without the GBK execution charset: toml++ holds literals that have none.
#include "tests/native/form_source.h"

#include <toml++/toml.h>

#include "tools/formc/form_error.h"
#include "tools/formc/gbk_conversion.h"

namespace {

SourceValue Convert(const toml::node& node) {
    SourceValue v;
    if (const auto* i = node.as_integer()) {
        v.kind = SourceValue::Kind::kInteger;
        v.integer = i->get();
    } else if (const auto* b = node.as_boolean()) {
        v.kind = SourceValue::Kind::kBoolean;
        v.boolean = b->get();
    } else if (const auto* s = node.as_string()) {
        v.kind = SourceValue::Kind::kText;
        v.text = Utf8ToGbk(s->get(), "a text of the form source");
    } else if (const auto* a = node.as_array()) {
        v.kind = SourceValue::Kind::kArray;
        for (const toml::node& item : *a) v.items.push_back(Convert(item));
    } else if (const auto* t = node.as_table()) {
        v.kind = SourceValue::Kind::kTable;
        for (const auto& [key, value] : *t) v.table[std::string(key.str())] = Convert(value);
    }
    return v;
}

}  // namespace

FormSource ReadFormSource(const std::string& path) {
    FormSource source;
    try {
        toml::table root = toml::parse_file(path);
        if (const toml::table* window = root["window"].as_table()) source.window = Convert(*window);
        if (const toml::array* units = root["unit"].as_array())
            for (const toml::node& unit : *units) source.units.push_back(Convert(unit));
    } catch (const toml::parse_error& e) {
        source.error = std::string(e.description());
    } catch (const FormError& e) {
        source.error = e.message;
    }
    return source;
}
