// The keys of one table of the form source, consumed one by one: each typed reader takes its
// key and checks its value; Finish() reports a key left over, so a misspelt key is an error
// rather than a silent default. Every failure names the table (unit) and the key.
#pragma once

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <limits>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <toml++/toml.h>

#include "controls/image_list_stream.h"
#include "forms/type_data/field_description.h"
#include "forms/type_data/type_data_io.h"
#include "tools/formc/form_error.h"
#include "tools/formc/gbk_conversion.h"
#include "tools/formc/pam_image.h"

// A C++ name: letters, digits and underscores, not starting with a digit.
inline bool IsIdentifier(std::string_view s) {
    if (s.empty() || std::isdigit(static_cast<unsigned char>(s[0]))) return false;
    return std::all_of(s.begin(), s.end(), [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; });
}

// A TOML table whose keys are consumed one by one; Finish() reports any key left over,
// so a misspelt key is an error rather than a silent default.
class Keys {
public:
    Keys(const toml::table& table, std::string context, const std::filesystem::path* baseDir)
        : table_(table), context_(std::move(context)), baseDir_(baseDir) {}

    const std::string& context() const { return context_; }
    void SetContext(std::string context) { context_ = std::move(context); }

    const toml::node* Take(std::string_view key) {
        used_.insert(std::string(key));
        return table_.get(key);
    }
    bool Has(std::string_view key) const { return table_.contains(key); }

    [[noreturn]] void Fail(std::string_view key, const std::string& message) const {
        std::string where = context_ + ", key '" + std::string(key) + "'";
        if (const toml::node* n = table_.get(key)) where += " (line " + std::to_string(n->source().begin.line) + ")";
        Throw(where + ": " + message);
    }
    std::string Where(std::string_view key) const { return context_ + ", key '" + std::string(key) + "'"; }

    void Finish() const {
        for (const auto& [k, v] : table_)
            if (!used_.count(std::string(k.str()))) Fail(k.str(), "unknown key");
    }

    bool Int(std::string_view key, int64_t lo, int64_t hi, int64_t& out) {
        const toml::node* n = Take(key);
        if (!n) return false;
        const auto* v = n->as_integer();
        if (!v) Fail(key, "expected an integer");
        if (v->get() < lo || v->get() > hi)
            Fail(key, std::to_string(v->get()) + " is outside " + std::to_string(lo) + ".." + std::to_string(hi));
        out = v->get();
        return true;
    }
    // u32 fields also take negative numbers, stored as their two's complement.
    void U32(std::string_view key, uint32_t& out) {
        int64_t v;
        if (Int(key, std::numeric_limits<int32_t>::min(), std::numeric_limits<uint32_t>::max(), v)) out = static_cast<uint32_t>(v);
    }
    void I32(std::string_view key, int32_t& out) {
        int64_t v;
        if (Int(key, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max(), v)) out = static_cast<int32_t>(v);
    }
    void U8(std::string_view key, uint8_t& out) {
        int64_t v;
        if (Int(key, 0, 255, v)) out = static_cast<uint8_t>(v);
    }
    void Colour(std::string_view key, uint32_t& out) {
        int64_t v;
        if (Int(key, 0, std::numeric_limits<uint32_t>::max(), v)) out = static_cast<uint32_t>(v);
    }
    void Switch(std::string_view key, uint32_t& out) {
        const toml::node* n = table_.get(key);
        if (n && n->is_boolean()) {
            Take(key);
            out = n->as_boolean()->get() ? 1 : 0;
        } else {
            U32(key, out);
        }
    }
    bool Bool(std::string_view key, bool fallback) {
        const toml::node* n = Take(key);
        if (!n) return fallback;
        if (!n->is_boolean()) Fail(key, "expected true or false");
        return n->as_boolean()->get();
    }
    // A choice given by name or by number.
    void Choice(std::string_view key, uint32_t& out, const ::Choice* names, size_t count) {
        const toml::node* n = table_.get(key);
        if (n && n->is_string()) {
            Take(key);
            std::string s = n->as_string()->get();
            for (size_t i = 0; i < count; ++i)
                if (s == names[i].name) {
                    out = names[i].value;
                    return;
                }
            std::string known;
            for (size_t i = 0; i < count; ++i) known += std::string(known.empty() ? "" : ", ") + names[i].name;
            Fail(key, "unknown choice \"" + s + "\" (known: " + known + ")");
        }
        U32(key, out);
    }
    template <size_t N>
    void Choice(std::string_view key, uint32_t& out, const std::array<::Choice, N>& names) {
        Choice(key, out, names.data(), N);
    }
    bool Utf8(std::string_view key, std::string& out) {
        const toml::node* n = Take(key);
        if (!n) return false;
        if (!n->is_string()) Fail(key, "expected a text");
        out = n->as_string()->get();
        return true;
    }
    void Text(std::string_view key, std::string& out) {
        std::string s;
        if (Utf8(key, s)) out = Utf8ToGbk(s, Where(key));
    }
    void Bytes(std::string_view key, std::vector<uint8_t>& out) {
        const toml::node* n = Take(key);
        if (n) out = BytesOf(*n, key);
    }
    std::vector<uint8_t> BytesOf(const toml::node& n, std::string_view key) {
        if (const auto* s = n.as_string()) {
            std::filesystem::path p = std::filesystem::path(s->get());
            if (p.is_relative() && baseDir_) p = *baseDir_ / p;
            std::ifstream in(p, std::ios::binary);
            if (!in) Fail(key, "cannot read the file " + p.string());
            return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        }
        if (const auto* a = n.as_array()) {
            std::vector<uint8_t> bytes;
            for (const auto& e : *a) {
                const auto* v = e.as_integer();
                if (!v || v->get() < 0 || v->get() > 255) Fail(key, "expected byte values 0-255");
                bytes.push_back(static_cast<uint8_t>(v->get()));
            }
            return bytes;
        }
        Fail(key, "expected a file path or an array of byte values");
    }
    // An image list property: either bytes (a prepared "MITL" block) or a table
    // { width = 16, height = 16, images = ["form_data/a.pam", ...] } that is encoded here.
    void ImageList(std::string_view key, std::vector<uint8_t>& out) {
        const toml::node* n = table_.get(key);
        if (!n || !n->is_table()) {
            Bytes(key, out);
            return;
        }
        Take(key);
        Keys t(*n->as_table(), context_ + ", key '" + std::string(key) + "'", baseDir_);
        for (const char* required : {"width", "height", "images"})
            if (!t.Has(required)) Fail(key, std::string("'") + required + "' is required");
        int64_t width = 0, height = 0;
        t.Int("width", 1, 0xFFFF, width);
        t.Int("height", 1, 0xFFFF, height);
        std::vector<std::string> files = t.Utf8List("images");
        t.Finish();
        if (files.empty()) Fail(key, "'images' names no image");
        ImageListSource source{static_cast<uint32_t>(width), static_cast<uint32_t>(height), {}};
        for (size_t i = 0; i < files.size(); ++i) {
            std::filesystem::path p = std::filesystem::path(files[i]);
            if (p.is_relative() && baseDir_) p = *baseDir_ / p;
            std::string error;
            auto image = ReadPam(p, error);
            std::string which = "images[" + std::to_string(i) + "]: ";
            if (!image) Fail(key, which + error);
            if (image->width != source.width || image->height != source.height)
                Fail(key, which + files[i] + " is " + std::to_string(image->width) + " x " + std::to_string(image->height) +
                              ", not " + std::to_string(width) + " x " + std::to_string(height));
            source.images.push_back(std::move(image->rgba));
        }
        std::string why;
        auto stream = WriteImageListStream(source, &why);
        if (!stream) Fail(key, why);
        out = ImageListPropertyBlock(*stream);
    }
    const toml::table* Table(std::string_view key) {
        const toml::node* n = Take(key);
        if (!n) return nullptr;
        if (!n->is_table()) Fail(key, "expected a table");
        return n->as_table();
    }
    const toml::array* Array(std::string_view key) {
        const toml::node* n = Take(key);
        if (!n) return nullptr;
        if (!n->is_array()) Fail(key, "expected an array");
        return n->as_array();
    }
    template <typename T, size_t N>
    void Words(std::string_view key, std::array<T, N>& out) {
        const toml::array* a = Array(key);
        if (!a) return;
        if (a->size() != N) Fail(key, "expected " + std::to_string(N) + " numbers");
        for (size_t i = 0; i < N; ++i) {
            const auto* v = a->get(i)->as_integer();
            if (!v || v->get() < std::numeric_limits<int32_t>::min() || v->get() > std::numeric_limits<uint32_t>::max())
                Fail(key, "expected 32-bit numbers");
            out[i] = static_cast<T>(static_cast<uint32_t>(v->get()));
        }
    }
    std::vector<std::string> Utf8List(std::string_view key, bool* present = nullptr) {
        const toml::array* a = Array(key);
        if (present) *present = a != nullptr;
        std::vector<std::string> out;
        if (!a) return out;
        for (const auto& e : *a) {
            if (!e.is_string()) Fail(key, "expected an array of texts");
            out.push_back(e.as_string()->get());
        }
        return out;
    }
    std::vector<std::string> TextList(std::string_view key) {
        std::vector<std::string> out = Utf8List(key);
        for (auto& s : out) s = Utf8ToGbk(s, Where(key));
        return out;
    }
    // Tables of an array such as parts, pages or columns, each read with its own Keys.
    template <typename F>
    void EachTable(std::string_view key, F f) {
        const toml::array* a = Array(key);
        if (!a) return;
        for (size_t i = 0; i < a->size(); ++i) {
            const toml::table* t = a->get(i)->as_table();
            if (!t) Fail(key, "expected an array of tables");
            Keys sub(*t, context_ + ", " + std::string(key) + "[" + std::to_string(i) + "]", baseDir_);
            f(sub);
            sub.Finish();
        }
    }
    std::optional<LogFontBytes> LogFont(std::string_view key) {
        const toml::table* t = Table(key);
        if (!t) return std::nullopt;
        Keys f(*t, context_ + ", key '" + std::string(key) + "'", baseDir_);
        LogFontBytes font;
        f.I32("height", font.height);
        f.I32("width", font.width);
        f.I32("escapement", font.escapement);
        f.I32("orientation", font.orientation);
        f.I32("weight", font.weight);
        f.U8("italic", font.italic);
        f.U8("underline", font.underline);
        f.U8("strike_out", font.strikeOut);
        f.U8("charset", font.charSet);
        f.U8("out_precision", font.outPrecision);
        f.U8("clip_precision", font.clipPrecision);
        f.U8("quality", font.quality);
        f.U8("pitch_and_family", font.pitchAndFamily);
        std::string face;
        f.Text("face", face);
        if (!font.SetFace(face)) f.Fail("face", "a face name holds at most 31 GBK bytes");
        f.Finish();
        return font;
    }
    void Font(std::string_view key, FontBlock& out) {
        if (auto f = LogFont(key)) out = EncodeFont(*f);
    }

private:
    const toml::table& table_;
    std::string context_;
    const std::filesystem::path* baseDir_;
    std::set<std::string> used_;
};
