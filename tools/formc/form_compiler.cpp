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
//   id, name, type (EditBox, Label, GroupBox, Button, Timer, ComboBox, ListBox,
//   StatusBar, PageControl, ListView, TransLabel) are required; left, top, width, height
//   too. Optional: comment, parent (a unit name; a GroupBox or PageControl), page
//   (1-based, required on a page control's units), visible (true), disabled (false),
//   tab_stop (true for the types that take the focus), tab_order, tag, cursor (bytes,
//   default 4 zero bytes), event_source (a unit name of the same type), events.
//   Then the type's properties, named after them (see the Bind functions below).
// Value forms:
//   events      { 0 = "OnClick", -9 = "OnKeyDown" }: event number = handler name; ""
//               stores "no handler". Handlers get offsets in order of first use, after
//               those that [event_code] orders.
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

#include <errno.h>
#include <iconv.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>
#include <map>
#include <optional>
#include <set>
#include <sstream>

#include <toml++/toml.h>

#include "controls/image_list_stream.h"
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

struct FormError {
    std::string message;
};

[[noreturn]] void Throw(std::string message) { throw FormError{std::move(message)}; }

std::string HexId(uint32_t v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%08X", v);
    return buf;
}

std::string Utf8ToGbk(std::string_view text, const std::string& where) {
    if (text.find('\0') != std::string_view::npos) Throw(where + ": a text may not hold a NUL character");
    if (text.empty()) return {};
    iconv_t cd = iconv_open("GBK", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) Throw("iconv cannot convert from UTF-8 to GBK on this system");
    std::string out(text.size() * 2 + 4, '\0');
    char* in = const_cast<char*>(text.data());
    size_t inLeft = text.size();
    char* o = out.data();
    size_t outLeft = out.size();
    size_t r = iconv(cd, &in, &inLeft, &o, &outLeft);
    int err = errno;
    iconv_close(cd);
    if (r == static_cast<size_t>(-1)) {
        size_t at = text.size() - inLeft;
        if (err == EILSEQ) {
            unsigned char lead = static_cast<unsigned char>(text[at]);
            size_t n = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
            std::string ch(text.substr(at, n));
            Throw(where + ": the character \"" + ch + "\" has no GBK form (or the text is not UTF-8)");
        }
        Throw(where + ": the text is not valid UTF-8");
    }
    out.resize(out.size() - outLeft);
    return out;
}

// A PAM ("P7") image with 8-bit RGB_ALPHA or RGB tuples, as tools/make-lamps.py writes
// them. Returns the pixels as R, G, B, A (A = 255 for RGB); an error text otherwise.
struct PamImage {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> rgba;
};
std::optional<PamImage> ReadPam(const std::filesystem::path& path, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot read the file " + path.string();
        return std::nullopt;
    }
    std::string line;
    if (!std::getline(in, line) || line != "P7") {
        error = path.string() + " is not a PAM (P7) file";
        return std::nullopt;
    }
    std::map<std::string, std::string> fields;
    for (;;) {
        if (!std::getline(in, line)) {
            error = path.string() + ": the PAM header has no ENDHDR";
            return std::nullopt;
        }
        if (line == "ENDHDR") break;
        if (line.empty() || line[0] == '#') continue;
        std::istringstream words(line);
        std::string name, value;
        words >> name >> value;
        fields[name] = value;
    }
    auto number = [&](const char* name) -> int64_t {
        auto it = fields.find(name);
        if (it == fields.end() || it->second.empty() || it->second.size() > 6 ||
            !std::all_of(it->second.begin(), it->second.end(), [](char c) { return c >= '0' && c <= '9'; }))
            return -1;
        return std::stoll(it->second);
    };
    int64_t width = number("WIDTH"), height = number("HEIGHT"), depth = number("DEPTH"), maxval = number("MAXVAL");
    std::string tuple = fields.count("TUPLTYPE") ? fields["TUPLTYPE"] : "";
    if (width < 1 || height < 1 || maxval != 255 || !((depth == 4 && tuple == "RGB_ALPHA") || (depth == 3 && tuple == "RGB"))) {
        error = path.string() + ": expected a PAM image of 8-bit RGB_ALPHA (or RGB) tuples";
        return std::nullopt;
    }
    std::vector<uint8_t> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (data.size() != static_cast<size_t>(width * height * depth)) {
        error = path.string() + ": the PAM pixel data holds " + std::to_string(data.size()) + " bytes, not " +
                std::to_string(width * height * depth);
        return std::nullopt;
    }
    PamImage image{static_cast<uint32_t>(width), static_cast<uint32_t>(height), {}};
    if (depth == 4) {
        image.rgba = std::move(data);
    } else {
        for (size_t i = 0; i < data.size(); i += 3) image.rgba.insert(image.rgba.end(), {data[i], data[i + 1], data[i + 2], 255});
    }
    return image;
}

bool IsIdentifier(std::string_view s) {
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
    void Choice(std::string_view key, uint32_t& out, std::initializer_list<std::pair<const char*, uint32_t>> names) {
        const toml::node* n = table_.get(key);
        if (n && n->is_string()) {
            Take(key);
            std::string s = n->as_string()->get();
            for (const auto& [name, value] : names)
                if (s == name) {
                    out = value;
                    return;
                }
            std::string known;
            for (const auto& [name, value] : names) known += std::string(known.empty() ? "" : ", ") + name;
            Fail(key, "unknown choice \"" + s + "\" (known: " + known + ")");
        }
        U32(key, out);
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

constexpr std::initializer_list<std::pair<const char*, uint32_t>> kHorizontal = {{"left", 0}, {"centre", 1}, {"right", 2}};
constexpr std::initializer_list<std::pair<const char*, uint32_t>> kVertical = {{"top", 0}, {"centre", 1}, {"bottom", 2}};

template <typename T>
std::vector<uint8_t> Encode(const T& d) {
    // Properties all at their defaults are stored as empty type data, which means the same.
    return d == T{} ? std::vector<uint8_t>{} : T::Write(d);
}

std::vector<uint8_t> BindWindow(Keys& k) {
    WindowData d;
    k.Text("caption", d.caption);
    k.U32("border_style", d.borderStyle);
    k.U32("picture_setting", d.pictureSetting);
    k.Colour("background_colour", d.backgroundColour);
    k.Switch("maximise_box", d.maximiseBox);
    k.Switch("minimise_box", d.minimiseBox);
    k.Switch("control_box", d.controlBox);
    k.Choice("position", d.position, {{"as_stored", 0}, {"centred", 1}, {"minimised", 2}, {"maximised", 3}});
    k.Switch("movable", d.movable);
    k.U32("sound_setting", d.soundSetting);
    k.Switch("switch_21", d.switch21);
    k.Switch("switch_22", d.switch22);
    k.Switch("switch_23", d.switch23);
    k.U32("integer_25", d.integer25);
    k.Switch("show_in_taskbar", d.showInTaskbar);
    k.Switch("switch_27", d.switch27);
    k.U32("choice_28", d.choice28);
    k.Switch("always_on_top", d.alwaysOnTop);
    k.Switch("switch_30", d.switch30);
    k.Text("class_name", d.className);
    k.Bytes("background_picture", d.backgroundPicture);
    k.Bytes("icon", d.icon);
    k.Bytes("background_music", d.backgroundMusic);
    k.Text("file_name", d.fileName);
    return Encode(d);
}

std::vector<uint8_t> BindEditBox(Keys& k) {
    EditBoxData d;
    k.Text("content", d.content);
    k.U32("border", d.border);
    k.Colour("text_colour", d.textColour);
    k.Colour("background_colour", d.backgroundColour);
    k.Font("font", d.font);
    k.Switch("hide_selection", d.hideSelection);
    k.U32("max_length", d.maxLength);
    k.Switch("multi_line", d.multiLine);
    k.Choice("scroll_bars", d.scrollBars, {{"none", 0}, {"horizontal", 1}, {"vertical", 2}, {"both", 3}});
    k.Choice("alignment", d.alignment, kHorizontal);
    k.Choice("input_mode", d.inputMode,
             {{"normal", 0}, {"read_only", 1}, {"password", 2}, {"integer_text", 3}, {"decimal_text", 4}, {"byte", 5},
              {"short", 6}, {"integer", 7}, {"long", 8}, {"float", 9}, {"double", 10}, {"date_time", 11}});
    std::string pw;
    if (k.Has("password_char")) {
        k.Text("password_char", pw);
        if (pw.size() != 1) k.Fail("password_char", "expected one single-byte character");
        d.passwordChar = static_cast<uint8_t>(pw[0]);
    }
    k.Choice("case_conversion", d.caseConversion, {{"none", 0}, {"lower", 1}, {"upper", 2}});
    k.U32("spin_mode", d.spinMode);
    k.I32("spin_min", d.spinMin);
    k.I32("spin_max", d.spinMax);
    k.U32("selection_start", d.selectionStart);
    k.U32("selection_length", d.selectionLength);
    k.Text("data_source", d.dataSource);
    k.Text("data_column", d.dataColumn);
    return Encode(d);
}

std::vector<uint8_t> BindLabel(Keys& k) {
    LabelData d;
    k.Text("caption", d.caption);
    k.U32("choice_9", d.choice9);
    k.U32("integer_11", d.integer11);
    k.U32("border", d.border);
    k.Colour("colour_12", d.colour12);
    k.Colour("colour_13", d.colour13);
    k.Colour("colour_14", d.colour14);
    k.Font("font", d.font);
    k.Colour("text_colour", d.textColour);
    k.Colour("background_colour", d.backgroundColour);
    k.Bytes("background_picture", d.backgroundPicture);
    k.U32("choice_19", d.choice19);
    k.U32("choice_20", d.choice20);
    k.Colour("colour_21", d.colour21);
    k.Colour("colour_22", d.colour22);
    k.Colour("colour_23", d.colour23);
    k.U32("choice_24", d.choice24);
    k.Switch("switch_25", d.switch25);
    k.U32("choice_26", d.choice26);
    k.Text("data_source", d.dataSource);
    k.Text("data_column", d.dataColumn);
    return Encode(d);
}

std::vector<uint8_t> BindGroupBox(Keys& k) {
    GroupBoxData d;
    k.Text("caption", d.caption);
    k.U32("frame_style", d.frameStyle);
    k.Colour("text_colour", d.textColour);
    k.Colour("background_colour", d.backgroundColour);
    k.Font("font", d.font);
    return Encode(d);
}

std::vector<uint8_t> BindButton(Keys& k) {
    ButtonData d;
    k.Text("caption", d.caption);
    k.Bytes("picture", d.picture);
    k.U32("button_type", d.buttonType);
    k.Choice("horizontal_alignment", d.horizontalAlignment, kHorizontal);
    k.Choice("vertical_alignment", d.verticalAlignment, kVertical);
    k.Font("font", d.font);
    return Encode(d);
}

std::vector<uint8_t> BindTimer(Keys& k) {
    TimerData d;
    k.U32("interval", d.interval);
    return Encode(d);
}

void CheckItemCount(Keys& k, const std::vector<std::string>& items) {
    if (items.size() > 0xFFFF) k.Fail("items", "at most 65535 items can be stored");
}

std::vector<uint8_t> BindComboBox(Keys& k) {
    ComboBoxData d;
    k.U32("style", d.style);
    k.Text("content", d.content);
    k.U32("max_length", d.maxLength);
    k.U32("selection_start", d.selectionStart);
    k.U32("selection_length", d.selectionLength);
    k.Switch("switch_14", d.switch14);
    k.U32("item_spacing", d.itemSpacing);
    k.Colour("text_colour", d.textColour);
    k.Colour("background_colour", d.backgroundColour);
    k.Font("font", d.font);
    k.I32("current_selection", d.currentSelection);
    d.items = k.TextList("items");
    CheckItemCount(k, d.items);
    k.Bytes("item_values", d.itemValues);
    k.Text("data_source", d.dataSource);
    k.Text("data_column", d.dataColumn);
    k.Switch("switch_24", d.switch24);
    return Encode(d);
}

std::vector<uint8_t> BindListBox(Keys& k) {
    ListBoxData d;
    k.U32("border", d.border);
    k.Switch("switch_9", d.switch9);
    k.Switch("switch_10", d.switch10);
    k.U32("item_spacing", d.itemSpacing);
    k.Colour("text_colour", d.textColour);
    k.Colour("background_colour", d.backgroundColour);
    k.Font("font", d.font);
    k.Switch("switch_15", d.switch15);
    k.I32("current_selection", d.currentSelection);
    d.items = k.TextList("items");
    CheckItemCount(k, d.items);
    k.Bytes("item_values", d.itemValues);
    k.Text("data_source", d.dataSource);
    k.Text("data_column", d.dataColumn);
    k.Switch("switch_21", d.switch21);
    return Encode(d);
}

std::vector<uint8_t> BindStatusBar(Keys& k) {
    StatusBarData d;
    k.Colour("background_colour", d.backgroundColour);
    k.U32("style", d.style);
    k.Switch("switch_10", d.switch10);
    k.Font("font", d.font);
    k.ImageList("image_list", d.imageList);
    k.EachTable("parts", [&](Keys& p) {
        StatusBarPart part;
        p.I32("width", part.width);
        p.U32("flags", part.flags);
        p.I32("image", part.image);
        p.Text("text", part.text);
        p.Text("tip", part.tip);
        d.parts.push_back(part);
    });
    return Encode(d);
}

std::vector<uint8_t> BindTransLabel(Keys& k) {
    TransLabelData d;
    k.Text("caption", d.caption);
    k.U32("effect", d.effect);
    k.Colour("text_colour", d.textColour);
    k.Font("font", d.font);
    k.Choice("horizontal_alignment", d.horizontalAlignment, kHorizontal);
    k.Switch("word_wrap", d.wordWrap);
    k.Choice("vertical_alignment", d.verticalAlignment, kVertical);
    return Encode(d);
}

std::vector<uint8_t> BindListView(Keys& k) {
    ListViewData d;
    k.U32("border", d.border);
    k.Colour("text_colour", d.textColour);
    k.Colour("text_background_colour", d.textBackgroundColour);
    k.Colour("background_colour", d.backgroundColour);
    k.Font("font", d.font);
    k.Choice("view_type", d.viewType, {{"large_icons", 0}, {"small_icons", 1}, {"list", 2}, {"report", 3}});
    k.Choice("icon_arrangement", d.iconArrangement, {{"top", 0}, {"left", 1}});
    k.Switch("auto_arrange", d.autoArrange);
    k.Switch("label_wrap", d.labelWrap);
    k.EachTable("columns", [&](Keys& c) {
        ListViewColumn col;
        c.Text("title", col.title);
        c.I32("width", col.width);
        uint32_t alignment = static_cast<uint32_t>(col.alignment);
        c.Choice("alignment", alignment, kHorizontal);
        col.alignment = static_cast<int32_t>(alignment);
        c.I32("image", col.image);
        col.imageOnRight = c.Bool("image_on_right", false) ? 1 : 0;
        d.columns.push_back(col);
    });
    k.Switch("no_column_header", d.noColumnHeader);
    k.ImageList("header_image_list", d.headerImageList);
    k.Switch("clickable_header", d.clickableHeader);
    k.Switch("full_row_select", d.fullRowSelect);
    k.Switch("grid_lines", d.gridLines);
    k.Switch("header_drag_drop", d.headerDragDrop);
    k.ImageList("item_image_list", d.itemImageList);
    k.ImageList("state_image_list", d.stateImageList);
    k.Switch("hot_tracking", d.hotTracking);
    k.Switch("hand_cursor", d.handCursor);
    k.Switch("underline_cold", d.underlineCold);
    k.Switch("underline_hot", d.underlineHot);
    k.Switch("editable_labels", d.editableLabels);
    k.Choice("sort_order", d.sortOrder, {{"none", 0}, {"ascending", 1}, {"descending", 2}});
    k.Switch("check_boxes", d.checkBoxes);
    k.Switch("flat_scroll_bars", d.flatScrollBars);
    k.Switch("single_selection", d.singleSelection);
    k.I32("current_selection", d.currentSelection);
    k.Switch("always_show_selection", d.alwaysShowSelection);
    if (const toml::array* rows = k.Array("rows")) {
        for (size_t r = 0; r < rows->size(); ++r) {
            const toml::array* cells = rows->get(r)->as_array();
            if (!cells) k.Fail("rows", "expected an array of rows, each an array of cell tables");
            ListViewRow row;
            for (size_t i = 0; i < cells->size(); ++i) {
                const toml::table* t = cells->get(i)->as_table();
                if (!t) k.Fail("rows", "expected cell tables");
                Keys c(*t, k.context() + ", rows[" + std::to_string(r) + "][" + std::to_string(i) + "]", nullptr);
                ListViewCell cell;
                c.Text("text", cell.text);
                c.Text("tip", cell.tip);
                c.U8("flag", cell.flag);
                c.I32("image", cell.image);
                c.I32("check_state", cell.checkState);
                c.I32("indent", cell.indent);
                c.I32("data", cell.data);
                c.Finish();
                row.push_back(cell);
            }
            d.rows.push_back(std::move(row));
        }
    }
    return Encode(d);
}

// One unit of the source, before names are resolved.
struct SourceUnit {
    std::string name;  // UTF-8, for messages and references
    std::string type;
    std::string context;
    UnitRecord record;
    std::string parent;
    int64_t page = 0;  // 0: not given
    std::string eventSource;
    std::map<int32_t, std::string> events;
    std::optional<std::vector<std::string>> childOrder;                // group box
    std::vector<std::optional<std::vector<std::string>>> pageChildOrder;  // page control, per page
};

std::vector<uint8_t> BindPageControl(Keys& k, SourceUnit& unit) {
    PageControlData d;
    k.Words("settings_a", d.settingsA);
    if (auto f = k.LogFont("tab_font")) d.tabFont = *f;
    k.EachTable("pages", [&](Keys& p) {
        PageControlPage page;
        p.Text("caption", page.caption);
        p.Text("second_text", page.secondText);
        p.Words("tab_settings", page.tabSettings);
        p.Switch("hidden", page.hidden);
        if (const toml::array* subs = p.Array("sub_entries")) {
            for (const auto& e : *subs) {
                std::array<uint32_t, 4> entry{};
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
        d.pages.push_back(page);
    });
    k.Words("settings_b", d.settingsB);
    if (const toml::array* blocks = k.Array("image_blocks")) {
        if (blocks->size() > 4) k.Fail("image_blocks", "at most 4 blocks");
        for (size_t i = 0; i < blocks->size(); ++i) d.imageBlocks[i] = k.BytesOf(*blocks->get(i), "image_blocks");
    }
    k.U32("setting_16", d.setting16);
    k.Words("colours", d.colours);
    k.Words("settings_29", d.settings29);
    k.Words("ignored_31", d.ignored31);
    k.Words("settings_34", d.settings34);
    k.U32("setting_38", d.setting38);
    k.U32("setting_39", d.setting39);
    k.U32("setting_40", d.setting40);
    k.U32("setting_41", d.setting41);
    return Encode(d);
}

struct TypeInfo {
    const char* name;
    uint32_t code;
    bool takesFocus;
};
constexpr TypeInfo kTypes[] = {
    {"EditBox", kTypeEditBox, true},         {"Label", kTypeLabel, false},         {"GroupBox", kTypeGroupBox, false},
    {"Button", kTypeButton, true},           {"Timer", kTypeTimer, false},         {"ComboBox", kTypeComboBox, true},
    {"ListBox", kTypeListBox, true},         {"StatusBar", kTypeStatusBar, false}, {"PageControl", kTypePageControl, false},
    {"ListView", kTypeListView, true},       {"TransLabel", kTypeTransLabel, false},
};

// Common record keys shared by the window and the units.
void BindCommon(Keys& k, UnitRecord& r, std::map<int32_t, std::string>& events, bool tabStopDefault) {
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
            int64_t number = 0;
            std::istringstream in(text);
            if (!(in >> number) || !in.eof() || number < std::numeric_limits<int32_t>::min() ||
                number > std::numeric_limits<int32_t>::max())
                k.Fail("events", "\"" + text + "\" is not an event number");
            if (!value.is_string()) k.Fail("events", "event " + text + ": expected a handler name");
            std::string handler = value.as_string()->get();
            if (!handler.empty() && !IsIdentifier(handler)) k.Fail("events", "event " + text + ": \"" + handler + "\" is not a C++ name");
            if (!events.emplace(static_cast<int32_t>(number), handler).second) k.Fail("events", "event " + text + " given twice");
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
std::vector<std::pair<int32_t, std::string>> OrderedEvents(const std::map<int32_t, std::string>& events) {
    std::vector<std::pair<int32_t, std::string>> out(events.begin(), events.end());
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
    self.typeCode = kTypeWindow;
    std::map<int32_t, std::string> windowEvents;
    BindCommon(wk, self, windowEvents, false);
    self.typeData = BindWindow(wk);
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
            const TypeInfo* type = nullptr;
            for (const auto& ti : kTypes)
                if (u.type == ti.name) type = &ti;
            if (!type) uk.Fail("type", "unknown unit type \"" + u.type + "\"");
            u.record.typeCode = type->code;
            for (const char* key : {"left", "top", "width", "height"}) RequireKey(uk, key);
            uk.Text("comment", u.record.comment);
            uk.Utf8("parent", u.parent);
            uk.Int("page", 1, std::numeric_limits<int32_t>::max(), u.page);
            uk.Utf8("event_source", u.eventSource);
            BindCommon(uk, u.record, u.events, type->takesFocus);
            switch (type->code) {
                case kTypeEditBox: u.record.typeData = BindEditBox(uk); break;
                case kTypeLabel: u.record.typeData = BindLabel(uk); break;
                case kTypeGroupBox: {
                    bool given = false;
                    auto order = uk.Utf8List("child_order", &given);
                    if (given) u.childOrder = order;
                    u.record.typeData = BindGroupBox(uk);
                    break;
                }
                case kTypeButton: u.record.typeData = BindButton(uk); break;
                case kTypeTimer: u.record.typeData = BindTimer(uk); break;
                case kTypeComboBox: u.record.typeData = BindComboBox(uk); break;
                case kTypeListBox: u.record.typeData = BindListBox(uk); break;
                case kTypeStatusBar: u.record.typeData = BindStatusBar(uk); break;
                case kTypePageControl: u.record.typeData = BindPageControl(uk, u); break;
                case kTypeListView: u.record.typeData = BindListView(uk); break;
                case kTypeTransLabel: u.record.typeData = BindTransLabel(uk); break;
            }
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
            if (u.page) Throw(u.context + ", key 'page': only units on a page control have a page");
            continue;
        }
        SourceUnit& p = lookup(u, "parent", u.parent);
        if (&p == &u) Throw(u.context + ", key 'parent': a unit cannot hold itself");
        if (p.record.typeCode == kTypePageControl) {
            if (!u.page) Throw(u.context + ", key 'page': required on a unit of the page control '" + p.name + "'");
            if (static_cast<size_t>(u.page) > p.pageChildOrder.size())
                Throw(u.context + ", key 'page': '" + p.name + "' has " + std::to_string(p.pageChildOrder.size()) + " pages");
        } else if (p.record.typeCode == kTypeGroupBox) {
            if (u.page) Throw(u.context + ", key 'page': only units on a page control have a page");
        } else {
            Throw(u.context + ", key 'parent': '" + p.name + "' is a " + p.type + ", not a GroupBox or PageControl");
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
        if (c.record.typeCode == kTypeGroupBox) {
            std::vector<std::string> names;
            for (const SourceUnit& u : units)
                if (u.parent == c.name) names.push_back(u.name);
            c.record.children = ordered(c, names, c.childOrder, "");
        } else if (c.record.typeCode == kTypePageControl) {
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
    std::set<std::string> bound;
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
    auto assign = [&](UnitRecord& r, const std::map<int32_t, std::string>& events) {
        for (const auto& [number, handler] : OrderedEvents(events)) {
            uint32_t offset = kNoHandler;
            if (!handler.empty()) {
                auto [it, fresh] = handlerIndex.emplace(handler, static_cast<uint32_t>(result.handlers.size()));
                if (fresh) result.handlers.push_back(handler);
                bound.insert(handler);
                offset = it->second * 16;  // sizeof(EventHandlerEntry) in every build
            }
            r.events.push_back({number, offset});
        }
    };
    assign(self, windowEvents);
    window.records.push_back(self);
    for (SourceUnit& u : units) {
        assign(u.record, u.events);
        window.records.push_back(u.record);
    }
    for (const std::string& name : result.handlers)
        if (eventCode && !bound.count(name)) eventCode->Fail("order", "\"" + name + "\" is bound to no event");

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

std::string TemplateImageSource(const std::vector<uint8_t>& bytes, const std::string& symbol, const std::string& sourceName) {
    std::string out = "// Generated by formc from " + sourceName + ": the window template image. Do not edit.\n";
    out += "#include <cstdint>\n\nextern const unsigned char " + symbol + "[] = {\n";
    char buf[8];
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (i % 16 == 0) out += "   ";
        std::snprintf(buf, sizeof buf, " 0x%02X,", bytes[i]);
        out += buf;
        if (i % 16 == 15 || i + 1 == bytes.size()) out += "\n";
    }
    if (bytes.empty()) out += "    0\n";
    out += "};\nextern const uint32_t " + symbol + "Size = " + std::to_string(bytes.size()) + ";\n";
    return out;
}

std::string EventCodeSource(const std::vector<std::string>& handlers, const std::string& symbol, const std::string& sourceName,
                            const std::string& handlersHeader) {
    std::string out = "// Generated by formc from " + sourceName + ": the tools' event code. Handler offsets in the\n";
    out += "// window template are byte offsets into this table. Do not edit.\n";
    out += "#include \"forms/event_handler.h\"\n#include \"" + handlersHeader + "\"\n\n";
    out += "extern const EventHandlerEntry " + symbol + "[] = {\n";
    for (size_t i = 0; i < handlers.size(); ++i)
        out += "    MG_EVENT_HANDLER(" + handlers[i] + "),  // offset " + std::to_string(i * 16) + "\n";
    if (handlers.empty()) out += "    {nullptr, nullptr},  // no handlers; the table cannot be empty\n";
    out += "};\nextern const uint32_t " + symbol + "Count = " + std::to_string(handlers.size()) + ";\n";
    return out;
}

namespace {

// Decodes one UTF-8 character at s[i]; 0 for a malformed sequence.
char32_t NextCodePoint(std::string_view s, size_t& i) {
    auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
    unsigned char b = byte(i);
    size_t n = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
    if (n == 0 || i + n > s.size()) return 0;
    char32_t c = n == 1 ? b : b & (0x7F >> n);
    for (size_t k = 1; k < n; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
        c = (c << 6) | (byte(i + k) & 0x3F);
    }
    i += n;
    return c;
}

bool IsCjkIdeograph(char32_t c) {
    return (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x3400 && c <= 0x4DBF) || (c >= 0xF900 && c <= 0xFAFF);
}

// A form name usable as a C++ name: ASCII letters, digits, underscores and CJK ideographs
// (which C++ takes in names), not starting with a digit.
bool IsSymbolName(std::string_view s) {
    if (s.empty() || (s[0] >= '0' && s[0] <= '9')) return false;
    for (size_t i = 0; i < s.size();) {
        char32_t c = NextCodePoint(s, i);
        bool ascii = c < 0x80 && (std::isalnum(static_cast<int>(c)) || c == '_');
        if (!ascii && !IsCjkIdeograph(c)) return false;
    }
    return true;
}

std::string Hex8(uint32_t v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%08X", v);
    return buf;
}

}  // namespace

bool UnitReferencesSource(const FormCompileResult& form, const std::string& ns, const std::string& sourceName,
                          std::string* out, std::string* error) {
    std::vector<const UnitSymbol*> all;
    if (!form.window.name.empty()) all.push_back(&form.window);
    for (const UnitSymbol& u : form.units) all.push_back(&u);
    for (const UnitSymbol* u : all) {
        if (!IsSymbolName(u->name)) {
            *error = sourceName + ": the unit name '" + u->name + "' cannot name a unit in tool code";
            return false;
        }
    }
    std::string s = "// Generated by formc from " + sourceName + ": a typed reference to the window and to each of\n";
    s += "// its units, named as the form names them. Do not edit: the form source is the one place\n";
    s += "// where a unit id is written.\n";
    s += "#pragma once\n\n#include \"toolbox/rt/units.h\"\n\nnamespace " + ns + " {\n\n";
    const std::string window = Hex8(form.windowId);
    for (const UnitSymbol* u : all)
        s += "inline constexpr rt::Unit<rt::" + u->typeName + "> " + u->name + "{" + window + ", " + Hex8(u->id) + "};\n";
    s += "\n// Every reference with its form name (GBK once compiled), in table order.\n";
    s += "struct NamedUnit {\n    const char* name;\n    rt::AnyUnit unit;\n};\n";
    s += "inline constexpr NamedUnit kAllUnits[] = {\n";
    for (const UnitSymbol* u : all) s += "    {\"" + u->name + "\", " + u->name + "},\n";
    s += "};\n\n}  // namespace " + ns + "\n";
    *out = std::move(s);
    return true;
}
