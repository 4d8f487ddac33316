// The form compiler on small sources (good ones and each class of error) and on the main
// window's form. Sources are UTF-8 (u8 literals); the image holds GBK (narrow literals).
#include "tools/formc/form_compiler.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "controls/image_list_stream.h"
#include "controls/list_view_data.h"
#include "controls/page_control_data.h"
#include "controls/trans_label_data.h"
#include "forms/type_data/edit_box_data.h"
#include "forms/type_data/status_bar_data.h"
#include "forms/type_data/window_data.h"

namespace {

std::string U8(const char8_t* s) { return reinterpret_cast<const char*>(s); }

const std::string kWindow = U8(u8R"(
[window]
id = 0x52010001
caption = "茗柜"
left = 50
top = 50
width = 500
height = 550
events = { Created = "OnCreated" }
)");

FormCompileResult Compile(const std::string& units, const std::string& window = kWindow) {
    return CompileForm(window + units, "test.toml");
}

const UnitRecord* Find(const FormCompileResult& r, uint32_t id) { return r.image.windows.at(0).FindRecord(id); }

TEST(FormCompiler, PlacesUnitsOnPagesAndInGroupBoxes) {
    auto r = Compile(U8(u8R"(
[[unit]]
id = 0x16010002
name = "茗柜"
type = "PageControl"
left = 0
top = 0
width = 500
height = 500
pages = [{ caption = "盘货单", second_text = "收银员盘货单" }, { caption = "网络监测" }, { caption = "核算器", child_order = ["c", "b"] }]

[[unit]]
id = 0x16010010
name = "a"
type = "TransLabel"
parent = "茗柜"
page = 1
left = 1
top = 2
width = 3
height = 4
caption = ""

[[unit]]
id = 0x16010011
name = "b"
type = "EditBox"
parent = "茗柜"
page = 3
left = 0
top = 0
width = 40
height = 20
input_mode = "integer_text"
alignment = "right"
events = { KeyDown = "OnKey", MouseDown = "OnClick" }

[[unit]]
id = 0x16010012
name = "c"
type = "EditBox"
parent = "茗柜"
page = 3
left = 0
top = 0
width = 40
height = 20
events = { KeyDown = "OnKey" }

[[unit]]
id = 0x16010013
name = "分组框1"
type = "GroupBox"
parent = "茗柜"
page = 1
left = 0
top = 0
width = 160
height = 180

[[unit]]
id = 0x16010014
name = "inner"
type = "Timer"
parent = "分组框1"
left = 0
top = 0
width = 24
height = 24
visible = false
)"));
    ASSERT_TRUE(r.ok) << r.error;
    const UnitRecord* tabs = Find(r, 0x16010002);
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(tabs->name, "茗柜");
    auto pages = SplitPages(tabs->children);
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(pages[0], (std::vector<uint32_t>{0x16010010, 0x16010013}));
    EXPECT_TRUE(pages[1].empty());
    EXPECT_EQ(pages[2], (std::vector<uint32_t>{0x16010012, 0x16010011}));  // child_order
    auto pd = PageControlData::Parse(tabs->typeData.data(), tabs->typeData.size());
    ASSERT_TRUE(pd);
    EXPECT_EQ(pd->pages[0].caption, "盘货单");
    EXPECT_EQ(pd->pages[0].secondText, "收银员盘货单");

    EXPECT_EQ(Find(r, 0x16010013)->children, std::vector<uint32_t>{0x16010014});
    EXPECT_EQ(Find(r, 0x16010014)->parentId, 0x16010013u);
    EXPECT_EQ(Find(r, 0x16010014)->stateFlags, 0u);
    EXPECT_EQ(Find(r, 0x16010011)->stateFlags, UnitRecord::kStateVisible | UnitRecord::kStateTabStop);
    EXPECT_EQ(Find(r, 0x16010010)->stateFlags, UnitRecord::kStateVisible);
    EXPECT_TRUE(Find(r, 0x16010014)->typeData.empty());  // all defaults: empty type data

    auto edit = EditBoxData::Parse(Find(r, 0x16010011)->typeData.data(), Find(r, 0x16010011)->typeData.size());
    ASSERT_TRUE(edit);
    EXPECT_EQ(edit->inputMode, EditBoxData::kIntegerText);
    EXPECT_EQ(edit->alignment, 2u);
    auto label = TransLabelData::Parse(Find(r, 0x16010010)->typeData.data(), Find(r, 0x16010010)->typeData.size());
    ASSERT_TRUE(label);
    EXPECT_EQ(label->caption, "");

    // One table entry per distinct handler, in order of first use; every use gets its offset.
    // A unit's events are stored own events first, then -1, -2, ...
    EXPECT_EQ(r.handlers, (std::vector<std::string>{"OnCreated", "OnClick", "OnKey"}));
    EXPECT_EQ(r.image.windows[0].records[0].HandlerOffset(0), 0u);
    EXPECT_EQ(Find(r, 0x16010011)->events, (std::vector<EventEntry>{{-1, 16}, {-9, 32}}));
    EXPECT_EQ(Find(r, 0x16010012)->HandlerOffset(-9), 32u);
}

// A directory of the running test's own: ctest runs the cases side by side.
std::filesystem::path ScratchDirectory() {
    return std::filesystem::temp_directory_path() /
           ("formc_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "_" +
            std::to_string(getpid()));
}

TEST(FormCompiler, ReadsBinaryInputsAndFontsAndColours) {
    std::filesystem::path dir = ScratchDirectory();
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "lamps.bin", std::ios::binary) << "MITL\x01\x02\x03\x04xyz";
    std::string source = kWindow + U8(u8R"(
[[unit]]
id = 0x16010003
name = "状态条1"
type = "StatusBar"
left = 0
top = 500
width = 500
height = 22
background_colour = 0x00ECECEC
font = { height = -12, weight = 400, charset = 134, face = "楷体" }
image_list = "lamps.bin"
parts = [{ width = -1, text = "就绪" }]
cursor = [1, 2]
)");
    auto r = CompileForm(source, (dir / "form.toml").string());
    ASSERT_TRUE(r.ok) << r.error;
    const UnitRecord* u = Find(r, 0x16010003);
    auto d = StatusBarData::Parse(u->typeData.data(), u->typeData.size());
    ASSERT_TRUE(d);
    EXPECT_EQ(d->backgroundColour, 0x00ECECECu);
    EXPECT_EQ(d->imageList.size(), 11u);
    EXPECT_EQ(DecodeFont(d->font)->Face(), "楷体");
    EXPECT_EQ(DecodeFont(d->font)->height, -12);
    EXPECT_EQ(d->parts.at(0).text, "就绪");
    EXPECT_EQ(u->cursorData, (std::vector<uint8_t>{1, 2}));
    std::filesystem::remove_all(dir);
}

void WritePam(const std::filesystem::path& path, int width, int height, int depth, const std::vector<uint8_t>& data,
              const char* tuple = nullptr) {
    std::ofstream out(path, std::ios::binary);
    out << "P7\nWIDTH " << width << "\nHEIGHT " << height << "\nDEPTH " << depth << "\nMAXVAL 255\nTUPLTYPE "
        << (tuple ? tuple : depth == 4 ? "RGB_ALPHA" : "RGB") << "\nENDHDR\n";
    out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
}

uint32_t U16At(const std::vector<uint8_t>& b, size_t at) { return b.at(at) | (b.at(at + 1) << 8); }

// A scratch directory with PAM files, removed at the end of the test.
struct PamDir {
    std::filesystem::path dir = ScratchDirectory();
    PamDir() {
        std::filesystem::create_directories(dir);
        WritePam(dir / "a.pam", 2, 2, 4, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16});
        WritePam(dir / "b.pam", 2, 2, 3, {21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32});
        WritePam(dir / "big.pam", 3, 2, 4, std::vector<uint8_t>(24));
        WritePam(dir / "short.pam", 2, 2, 4, std::vector<uint8_t>(15));
        WritePam(dir / "grey.pam", 2, 2, 1, std::vector<uint8_t>(4), "GRAYSCALE");
        std::ofstream(dir / "not.pam") << "P6\n2 2\n255\n";
    }
    ~PamDir() { std::filesystem::remove_all(dir); }
    FormCompileResult Compile(const std::string& units) const { return CompileForm(kWindow + units, (dir / "form.toml").string()); }
};

const char* kListView = R"(
[[unit]]
id = 0x16010194
name = "lv"
type = "ListView"
left = 0
top = 0
width = 10
height = 10
)";

TEST(FormCompiler, EncodesImageListsFromPamFiles) {
    PamDir pams;
    auto r = pams.Compile(std::string(kListView) + "item_image_list = { width = 2, height = 2, images = [\"a.pam\", \"b.pam\"] }\n" +
                          "state_image_list = [0x4D, 0x49, 0x54, 0x4C, 0, 0, 0, 0, 9]\n");
    ASSERT_TRUE(r.ok) << r.error;
    const UnitRecord* u = Find(r, 0x16010194);
    auto d = ListViewData::Parse(u->typeData.data(), u->typeData.size());
    ASSERT_TRUE(d);
    EXPECT_EQ(d->stateImageList.size(), 9u);  // bytes are still taken as they are
    const std::vector<uint8_t>& b = d->itemImageList;
    ASSERT_TRUE(HasImageList(b));
    EXPECT_EQ(U16At(b, 8 + 4), 2u);   // images
    EXPECT_EQ(U16At(b, 8 + 10), 2u);  // cx
    EXPECT_EQ(U16At(b, 8 + 12), 2u);  // cy
    // Grid 8 x 2 (three slots in one row), bottom-up: image row 0 is the second stored row.
    auto pixel = [&](int image, int x, int y) {
        size_t at = 8 + 28 + 54 + (static_cast<size_t>(1 - y) * 8 + image * 2 + x) * 4;
        return std::vector<uint8_t>(b.begin() + at, b.begin() + at + 4);
    };
    EXPECT_EQ(pixel(0, 0, 0), (std::vector<uint8_t>{3, 2, 1, 4}));      // B, G, R, A
    EXPECT_EQ(pixel(0, 1, 1), (std::vector<uint8_t>{15, 14, 13, 16}));
    EXPECT_EQ(pixel(1, 1, 0), (std::vector<uint8_t>{26, 25, 24, 255}));  // RGB: opaque

    auto bar = pams.Compile(U8(u8R"(
[[unit]]
id = 0x16010003
name = "bar"
type = "StatusBar"
left = 0
top = 500
width = 500
height = 22
image_list = { width = 2, height = 2, images = ["a.pam"] }
)"));
    ASSERT_TRUE(bar.ok) << bar.error;
    auto sd = StatusBarData::Parse(Find(bar, 0x16010003)->typeData.data(), Find(bar, 0x16010003)->typeData.size());
    ASSERT_TRUE(sd);
    EXPECT_TRUE(HasImageList(sd->imageList));
}

TEST(FormCompiler, ImageListErrorsNameTheUnitKeyAndFile) {
    PamDir pams;
    struct {
        const char* value;
        const char* expect;
    } cases[] = {
        {"{ height = 2, images = [\"a.pam\"] }", "'width' is required"},
        {"{ width = 2, height = 2 }", "'images' is required"},
        {"{ width = 2, height = 2, images = [] }", "names no image"},
        {"{ width = 0, height = 2, images = [\"a.pam\"] }", "outside 1..65535"},
        {"{ width = 2, height = 2, images = [\"a.pam\"], mask = true }", "key 'mask'"},
        {"{ width = 2, height = 2, images = [\"a.pam\", \"big.pam\"] }", "images[1]: big.pam is 3 x 2, not 2 x 2"},
        {"{ width = 2, height = 2, images = [\"missing.pam\"] }", "cannot read the file"},
        {"{ width = 2, height = 2, images = [\"not.pam\"] }", "not a PAM (P7) file"},
        {"{ width = 2, height = 2, images = [\"short.pam\"] }", "holds 15 bytes, not 16"},
        {"{ width = 2, height = 2, images = [\"grey.pam\"] }", "RGB_ALPHA"},
        {"{ width = 2, height = 2, images = [1] }", "array of texts"},
    };
    for (const auto& c : cases) {
        auto r = pams.Compile(std::string(kListView) + "item_image_list = " + c.value + "\n");
        EXPECT_FALSE(r.ok) << c.value;
        EXPECT_NE(r.error.find(c.expect), std::string::npos) << c.value << ": " << r.error;
        EXPECT_NE(r.error.find("unit 'lv'"), std::string::npos) << r.error;
        EXPECT_NE(r.error.find("'item_image_list'"), std::string::npos) << r.error;
        EXPECT_NE(r.error.find("(line 19)"), std::string::npos) << r.error;
    }
}

TEST(FormCompiler, EventCodeOrderPutsNamedHandlersFirst) {
    const std::string units = R"(
[[unit]]
id = 0x16010010
name = "a"
type = "EditBox"
left = 0
top = 0
width = 1
height = 1
events = { KeyDown = "OnKey", MouseDown = "OnMouse" }
)";
    auto r = Compile(units + "\n[event_code]\norder = [\"OnKey\", \"OnMouse\"]\n");
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.handlers, (std::vector<std::string>{"OnKey", "OnMouse", "OnCreated"}));
    EXPECT_EQ(Find(r, 0x16010010)->HandlerOffset(-9), 0u);
    EXPECT_EQ(Find(r, 0x16010010)->HandlerOffset(-1), 16u);
    EXPECT_EQ(r.image.windows[0].records[0].HandlerOffset(0), 32u);

    struct {
        const char* order;
        const char* expect;
    } cases[] = {
        {"[\"OnKey\", \"OnKey\"]", "\"OnKey\" is listed twice"},
        {"[\"OnKey\", \"OnGone\"]", "\"OnGone\" is bound to no event"},
        {"[\"On Key\"]", "not a C++ name"},
        {"\"OnKey\"", "expected an array"},
    };
    for (const auto& c : cases) {
        auto bad = Compile(units + "\n[event_code]\norder = " + c.order + "\n");
        EXPECT_FALSE(bad.ok) << c.order;
        EXPECT_NE(bad.error.find(c.expect), std::string::npos) << c.order << ": " << bad.error;
        EXPECT_NE(bad.error.find("[event_code], key 'order' (line 22)"), std::string::npos) << bad.error;
    }
    EXPECT_FALSE(Compile(units + "\n[event_code]\nfirst = []\n").ok);
}

// Events are bound by name, and by number only where the framework names no event. Each
// handler is bound to events of one set of arguments, which the event code then checks its
// declaration against (tests/native/handler_check.sh compiles such a check).
TEST(FormCompiler, BindsEventsByNameAndChecksEachHandlersArguments) {
    auto r = Compile(R"(
[[unit]]
id = 0x16010010
name = "tabs"
type = "PageControl"
left = 0
top = 0
width = 100
height = 100
events = { PageChanging = "OnChanging", 2 = "OnStrip", KeyDown = "OnKey" }
)");
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(Find(r, 0x16010010)->events, (std::vector<EventEntry>{{1, 16}, {2, 32}, {-9, 48}}));
    const std::string code = EventCodeSource(r.handlers, "kCode", "f.toml", "h.h", r.handlerChecks);
    EXPECT_NE(code.find("static_assert(kHandlerTakes<decltype(&OnChanging), void(int32_t page)>"), std::string::npos) << code;
    EXPECT_NE(code.find("static_assert(kHandlerTakes<decltype(&OnKey), void(int32_t key, int32_t modifiers)>"),
              std::string::npos);
    EXPECT_EQ(code.find("decltype(&OnStrip)"), std::string::npos) << "an event the framework does not describe";

    auto twoShapes = Compile(R"(
[[unit]]
id = 0x16010010
name = "box"
type = "EditBox"
left = 0
top = 0
width = 10
height = 10
events = { KeyDown = "OnInput", MouseDown = "OnInput" }
)");
    EXPECT_FALSE(twoShapes.ok);
    EXPECT_NE(twoShapes.error.find("\"OnInput\" takes (int32_t x, int32_t y, int32_t modifiers)"), std::string::npos)
        << twoShapes.error;
    EXPECT_NE(twoShapes.error.find("KeyDown passes (int32_t key, int32_t modifiers)"), std::string::npos);
}

struct BadForm {
    const char* what;
    const char8_t* units;
    const char8_t* expect[2];  // parts of the message
};

TEST(FormCompiler, ErrorsNameTheUnitAndTheKey) {
    const std::string unit = U8(u8"[[unit]]\nid = 0x16010010\nname = \"标签\"\ntype = \"TransLabel\"\nleft = 0\ntop = 0\nwidth = 1\nheight = 1\n");
    const BadForm cases[] = {
        {"unknown key", u8"captoin = \"x\"\n", {u8"'标签'", u8"key 'captoin' (line 18): unknown key"}},
        {"unknown font key", u8"font = { heigth = 3 }\n", {u8"'标签'", u8"heigth"}},
        {"unknown parent", u8"parent = \"nowhere\"\n", {u8"'parent'", u8"nowhere"}},
        {"no GBK form", u8"caption = \"€🙂\"\n", {u8"'caption'", u8"no GBK form"}},
        {"wrong value type", u8"effect = \"big\"\n", {u8"'effect'", u8"integer"}},
        {"out of range", u8"effect = 0x100000000\n", {u8"'effect'", u8"outside"}},
        {"unknown event name", u8"events = { Click = \"OnClick\" }\n", {u8"'events'", u8"\"Click\" is no event of a TransLabel"}},
        {"number of a named event", u8"events = { -9 = \"OnKey\" }\n", {u8"'events'", u8"event -9 of a TransLabel is named KeyDown"}},
        {"bad handler name", u8"events = { MouseDown = \"On Click\" }\n", {u8"'events'", u8"C++ name"}},
        {"page off a page control", u8"page = 1\n", {u8"'page'", u8"only units on pages"}},
        {"long face name", u8"font = { face = \"0123456789012345678901234567890123\" }\n", {u8"'face'", u8"31"}},
    };
    for (const BadForm& c : cases) {
        auto r = Compile(unit + U8(c.units));
        EXPECT_FALSE(r.ok) << c.what;
        for (const char8_t* part : c.expect) EXPECT_NE(r.error.find(U8(part)), std::string::npos) << c.what << ": " << r.error;
    }
}

TEST(FormCompiler, RefusesBrokenStructure) {
    auto unit = [](const char* id, const char* name, const char* type, const char* extra = "") {
        return std::string("[[unit]]\nid = ") + id + "\nname = \"" + name + "\"\ntype = \"" + type +
               "\"\nleft = 0\ntop = 0\nwidth = 1\nheight = 1\n" + extra + "\n";
    };
    const std::string tabs = unit("0x16010002", "tabs", "PageControl", "pages = [{ caption = \"1\" }, { caption = \"2\" }]");
    struct {
        const char* what;
        std::string units;
        const char* expect;
    } cases[] = {
        {"duplicate id", unit("0x16010010", "a", "Button") + unit("0x16010010", "b", "Button"), "already the id of a"},
        {"window record id", unit("0x06010000", "a", "Button"), "not a unit id"},
        {"invalid id", unit("0x16000000", "a", "Button"), "not a unit id"},
        {"duplicate name", unit("0x16010010", "a", "Button") + unit("0x16010011", "a", "Button"), "used by another unit"},
        {"unknown type", unit("0x16010010", "a", "Slider"), "unknown unit type \"Slider\""},
        {"missing page", tabs + unit("0x16010010", "a", "Button", "parent = \"tabs\""), "'page': required"},
        {"page out of range", tabs + unit("0x16010010", "a", "Button", "parent = \"tabs\"\npage = 3"), "has 2 pages"},
        {"parent not a container", unit("0x16010010", "a", "Button") + unit("0x16010011", "b", "Button", "parent = \"a\""),
         "which holds no units"},
        {"parent cycle", unit("0x16010010", "a", "GroupBox", "parent = \"b\"") + unit("0x16010011", "b", "GroupBox", "parent = \"a\""),
         "cycle"},
        {"child order misses a unit",
         unit("0x16010010", "g", "GroupBox", "child_order = [\"x\"]") + unit("0x16010011", "x", "Button", "parent = \"g\"") +
             unit("0x16010012", "y", "Button", "parent = \"g\""),
         "child_order"},
        {"event source of another type",
         unit("0x16010010", "a", "Button") + unit("0x16010011", "b", "EditBox", "event_source = \"a\""), "same type"},
        {"missing position", "[[unit]]\nid = 0x16010010\nname = \"a\"\ntype = \"Button\"\n", "'left': is required"},
        {"stray top-level key", "[units]\nx = 1\n", "key 'units' (line 10): unknown key"},
        {"TOML syntax", "[[unit]\n", "line"},
    };
    for (const auto& c : cases) {
        auto r = Compile(c.units);
        EXPECT_FALSE(r.ok) << c.what;
        EXPECT_NE(r.error.find(c.expect), std::string::npos) << c.what << ": " << r.error;
    }
    EXPECT_FALSE(Compile("", "[window]\ncaption = \"x\"\n").ok);  // no id
}

TEST(FormCompiler, EmitsSourcesWithTheChosenSymbols) {
    std::string t = TemplateImageSource({1, 2, 0xFF}, "kImage", "f.toml");
    EXPECT_NE(t.find("extern const unsigned char kImage[] = {"), std::string::npos);
    EXPECT_NE(t.find("0x01, 0x02, 0xFF,"), std::string::npos);
    EXPECT_NE(t.find("extern const uint32_t kImageSize = 3;"), std::string::npos);
    std::string e = EventCodeSource({"OnA", "OnB"}, "kCode", "f.toml");
    EXPECT_NE(e.find("MG_EVENT_HANDLER(OnB),  // offset 16"), std::string::npos);
    EXPECT_NE(e.find("#include \"toolbox/event_handlers.h\""), std::string::npos);
    EXPECT_NE(e.find("extern const uint32_t kCodeCount = 2;"), std::string::npos);
    EXPECT_NE(EventCodeSource({}, "kCode", "f").find("kCodeCount = 0;"), std::string::npos);
}

}  // namespace
