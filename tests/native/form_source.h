// A form source (TOML) read as plain values, so that a test can hold the compiled form
// against what its source says without the form compiler's own reading of it. Texts come
// back in GBK, as the template stores them.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct SourceValue {
    enum class Kind { kNone, kInteger, kBoolean, kText, kArray, kTable };
    Kind kind = Kind::kNone;
    int64_t integer = 0;
    bool boolean = false;
    std::string text;                          // GBK
    std::vector<SourceValue> items;            // an array's
    std::map<std::string, SourceValue> table;  // a table's, by key (keys are ASCII)
};

struct FormSource {
    std::string error;  // empty when the file was read
    SourceValue window;
    std::vector<SourceValue> units;  // the [[unit]] tables in order
};

FormSource ReadFormSource(const std::string& path);
