// The transparent label on real windows: type data versions, the window it makes, its
// properties with their clamps, its drawing against the drawing steps done off screen,
// and the see-through repaint (what is redrawn, in which order, and what the screen
// shows afterwards).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "controls/trans_label_data.h"
#include "controls/support_libraries.h"
#include "controls/trans_label_unit.h"
#include "controls/unit_types.h"
#include "forms/font_rules.h"
#include "forms/forms_runtime.h"
#include "forms/type_data/edit_box_data.h"
#include "forms/unit_object.h"
#include "forms/window_list.h"
#include "runtime/entries.h"
#include "runtime/heap.h"
#include "tests/win/controls/control_test_util.h"
#include "tests/win/forms/form_fixture.h"

namespace {

constexpr uint32_t kL1 = 0x16010002, kL2 = 0x16010003, kL3 = 0x16010004, kL4 = 0x16010005, kL5 = 0x16010006,
                   kEdit = 0x16010010, kFarEdit = 0x16010011;
constexpr COLORREF kWindowColour = 0x00ECECEC;
constexpr COLORREF kRed = 0x000000FF;

LogFontBytes Font(int32_t height, int32_t weight, const char* face) {
    LogFontBytes f;
    f.height = height;
    f.weight = weight;
    f.charSet = 134;  // GB2312 as stored; drawing asks for DEFAULT_CHARSET
    f.SetFace(face);
    return f;
}

UnitRecord LabelUnit(uint32_t id, int left, int top, int width, int height, const TransLabelData& d,
                     uint32_t flags = UnitRecord::kStateVisible | UnitRecord::kStateTabStop) {
    return Unit(id, kTypeTransLabel, left, top, width, height, TransLabelData::Write(d), flags);
}

void Load(std::vector<UnitRecord> units) {
    units.insert(units.begin(), WindowRecord(PlainWindowData(), 50, 50, 460, 360));
    StartRuntime(ImageBytes(OneWindow(std::move(units))));
    ASSERT_TRUE(LoadStartWindowById(kTestWindowId));
    SetForegroundWindow(FormHandle());
    Pump(80);
}

std::vector<uint8_t> ReadBytes(uint32_t unit, int32_t index) {
    auto p = reinterpret_cast<void*>(static_cast<uintptr_t>(RtEntries().readProperty(kTestWindowId, unit, index, -1)));
    std::vector<uint8_t> bytes;
    if (p) bytes.assign(array_block::ByteSetData(p), array_block::ByteSetData(p) + array_block::ByteSetLength(p));
    RtFree(p);
    return bytes;
}

std::wstring WindowTextOf(HWND h) {
    wchar_t text[256] = {};
    GetWindowTextW(h, text, 256);
    return text;
}

// The label's rectangle drawn as the drawing steps say over what lies beneath it.
Shot DrawnLabel(const TransLabelData& d, const Shot& beneath) {
    const int width = beneath.width, height = beneath.height;
    return DrawOver(beneath, [&](HDC dc) {
        RECT r = {0, 0, width, height};
        if (d.caption.empty()) return;
        HFONT font = nullptr;
        if (d.font.size() == 60) {
            LogFontBytes stored = LogFontFromBytes(d.font.data());
            LOGFONTW lf = {};
            lf.lfHeight = stored.height;
            lf.lfWeight = stored.weight;
            lf.lfCharSet = DEFAULT_CHARSET;
            lf.lfQuality = PROOF_QUALITY;
            std::wstring face = Wide(stored.Face().c_str());
            wcsncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
            font = CreateFontIndirectW(&lf);
        }
        HGDIOBJ old = SelectObject(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
        UINT format = DT_NOCLIP | (d.horizontalAlignment == 1 ? DT_CENTER : d.horizontalAlignment == 2 ? DT_RIGHT : 0);
        if (d.wordWrap)
            format |= DT_WORDBREAK | DT_VCENTER;
        else
            format |= DT_SINGLELINE | (d.verticalAlignment == 1 ? DT_VCENTER : d.verticalAlignment == 2 ? DT_BOTTOM : 0);
        SetBkMode(dc, TRANSPARENT);
        std::wstring text = Wide(d.caption.c_str());
        auto draw = [&](COLORREF c, RECT at) {
            SetTextColor(dc, c);
            DrawTextW(dc, text.c_str(), -1, &at, format);
        };
        if (d.effect == 1) draw(RGB(255, 255, 255), {1, 1, width + 1, height + 1});
        if (d.effect == 2) {
            draw(RGB(255, 255, 255), r);
            OffsetRect(&r, 1, 1);
        }
        if (d.effect == 3) draw(RGB(0, 0, 0), {2, 2, width + 2, height + 2});
        draw(d.textColour, r);
        SelectObject(dc, old);
        if (font) DeleteObject(font);
    });
}

// Everything redrawn from scratch: what the screen shows when nothing is left over.
void RedrawEverything() {
    RedrawWindow(FormHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
    Pump(50);
}

}  // namespace

TEST(TransLabel, TypeDataVersionsZeroAndOneLoadAndVersionTwoFails) {
    TransLabelData v0;
    v0.caption = "版本零";
    v0.effect = 2;
    v0.textColour = kRed;
    v0.horizontalAlignment = 1;
    v0.verticalAlignment = 2;
    v0.wordWrap = 1;
    v0.font = EncodeFont(Font(-20, 700, "宋体"));
    std::vector<uint8_t> zero = TransLabelData::Write(v0);
    zero[0] = 0;
    std::vector<uint8_t> two = TransLabelData::Write({});
    two[0] = 2;
    TransLabelData v1;
    v1.caption = "版本一";
    Load({Unit(kL1, kTypeTransLabel, 10, 10, 100, 20, {}), Unit(kL2, kTypeTransLabel, 10, 40, 100, 20, zero),
          LabelUnit(kL3, 10, 70, 100, 20, v1), Unit(kL4, kTypeTransLabel, 10, 100, 100, 20, two),
          LabelUnit(kL5, 10, 130, 100, 20, v1, UnitRecord::kStateVisible | UnitRecord::kStateDisabled)});

    EXPECT_EQ(FindUnitObject(kTestWindowId, kL4), nullptr) << "version 2 is above the maximum";
    ASSERT_NE(UnitHandle(kL1), nullptr);
    ASSERT_NE(UnitHandle(kL2), nullptr);
    ASSERT_NE(UnitHandle(kL3), nullptr);

    // Empty type data: every property at its default.
    EXPECT_EQ(ReadText(kL1, 8), "透明标签");
    EXPECT_EQ(WindowTextOf(UnitHandle(kL1)), L"透明标签");
    const std::vector<std::pair<int32_t, int32_t>> defaults = {{9, 0}, {11, 0}, {12, 0}, {13, 0}, {14, 1}};
    for (auto [index, value] : defaults) EXPECT_EQ(ReadInt(kL1, index), value) << "property " << index;
    EXPECT_TRUE(ReadBytes(kL1, 10).empty());

    // Version 0 carries the same fields.
    EXPECT_EQ(ReadText(kL2, 8), "版本零");
    const std::vector<std::pair<int32_t, int32_t>> stored = {{9, 2}, {11, static_cast<int32_t>(kRed)}, {12, 1}, {13, 1}, {14, 2}};
    for (auto [index, value] : stored) EXPECT_EQ(ReadInt(kL2, index), value) << "property " << index;
    EXPECT_EQ(ReadBytes(kL2, 10), v0.font);
    EXPECT_EQ(WindowTextOf(UnitHandle(kL3)), L"版本一");

    // The window: a private class without background brush, see-through, the loader's bits.
    HWND h = UnitHandle(kL3);
    wchar_t cls[64] = {};
    GetClassNameW(h, cls, 64);
    EXPECT_STREQ(cls, kTransLabelClass);
    EXPECT_EQ(GetClassLongW(h, GCL_STYLE), static_cast<DWORD>(CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS));
    EXPECT_EQ(GetClassLongPtrW(h, GCLP_HBRBACKGROUND), 0);
    EXPECT_EQ(reinterpret_cast<HCURSOR>(GetClassLongPtrW(h, GCLP_HCURSOR)), LoadCursorW(nullptr, IDC_ARROW));
    EXPECT_TRUE(GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_TRANSPARENT);
    const LONG style = GetWindowLongW(h, GWL_STYLE);
    EXPECT_EQ(style & (WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP | WS_DISABLED), WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP);
    EXPECT_TRUE(GetWindowLongW(UnitHandle(kL5), GWL_STYLE) & WS_DISABLED);
}

TEST(TransLabel, WritesClampStoreAndComeBackInTheAllPropertiesData) {
    Load({LabelUnit(kL1, 10, 10, 200, 30, {})});
    struct Case {
        int32_t index, written, read;
    };
    const Case cases[] = {
        {9, 5, 3},   {9, -1, 0},  {9, 2, 2},           // effect 0-3
        {12, -1, 0}, {12, 3, 2},  {12, 1, 1},          // horizontal alignment 0-2
        {14, -7, 0}, {14, 9, 2},  {14, 0, 0},          // vertical alignment 0-2
        {13, 5, 1},  {13, 0, 0},                       // word wrap is a switch
        {11, static_cast<int32_t>(0x00123456), static_cast<int32_t>(0x00123456)},
    };
    for (const Case& c : cases) {
        WriteInt(kL1, c.index, c.written);
        EXPECT_EQ(ReadInt(kL1, c.index), c.read) << "property " << c.index << " written " << c.written;
    }
    WriteText(kL1, 8, "新标题");
    EXPECT_EQ(ReadText(kL1, 8), "新标题");
    EXPECT_EQ(WindowTextOf(UnitHandle(kL1)), L"新标题");
    FontDescription font = {0, 1, 0, 0, 0, 12, "楷体"};
    uint64_t p = reinterpret_cast<uintptr_t>(&font);
    RtEntries().writeProperty(kTestWindowId, kL1, 10, -1, static_cast<uint32_t>(p), static_cast<uint32_t>(p >> 32));
    std::vector<uint8_t> fontBytes = ReadBytes(kL1, 10);
    ASSERT_EQ(fontBytes.size(), 60u);
    EXPECT_EQ(LogFontFromBytes(fontBytes.data()).weight, 700);
    EXPECT_EQ(LogFontFromBytes(fontBytes.data()).Face(), "楷体");

    // Interface 5 writes the current values in the version 1 layout.
    UnitObject* unit = FindUnitObject(kTestWindowId, kL1);
    auto all = UnitOperation<GetAllPropertyDataFn>(SupportedUnitType(kTypeTransLabel), kInterfaceGetAllPropertyData);
    ASSERT_NE(all, nullptr);
    std::vector<uint8_t> data = all(unit);
    ASSERT_GE(data.size(), 4u);
    EXPECT_EQ(data[0], 1);
    std::optional<TransLabelData> back = TransLabelData::Parse(data.data(), data.size());
    ASSERT_TRUE(back);
    TransLabelData expected;
    expected.caption = "新标题";
    expected.effect = 2;
    expected.horizontalAlignment = 1;
    expected.verticalAlignment = 0;
    expected.wordWrap = 0;
    expected.textColour = 0x00123456;
    expected.font = fontBytes;
    EXPECT_EQ(*back, expected);

    // Interface 9 hands over the caption and, with a 60-byte font, its face name.
    auto enumerate = UnitOperation<EnumerateTextsFn>(SupportedUnitType(kTypeTransLabel), kInterfaceEnumerateTexts);
    ASSERT_NE(enumerate, nullptr);
    std::vector<std::string> texts;
    enumerate(data.data(), static_cast<uint32_t>(data.size()),
              [](const char* text, void* context) { static_cast<std::vector<std::string>*>(context)->push_back(text); }, &texts);
    EXPECT_EQ(texts, (std::vector<std::string>{"新标题", "楷体"}));
}

TEST(TransLabel, DrawsOnlyItsTextWithTheFormatEffectAndFontItsPropertiesGive) {
    struct Case {
        const char* what;
        TransLabelData data;
        int width, height;
    };
    auto make = [](const char* caption, uint32_t effect, uint32_t h, uint32_t v, uint32_t wrap, COLORREF colour,
                   FontBlock font = {}) {
        TransLabelData d;
        d.caption = caption;
        d.effect = effect;
        d.horizontalAlignment = h;
        d.verticalAlignment = v;
        d.wordWrap = wrap;
        d.textColour = colour;
        d.font = std::move(font);
        return d;
    };
    const FontBlock bigFont = EncodeFont(Font(-22, 700, "宋体"));
    const FontBlock oddFont(10, 0x11);
    const std::vector<Case> cases = {
        {"defaults: left, centred vertically", make("左中Ag", 0, 0, 1, 0, 0), 120, 30},
        {"raised, centred, top", make("中上Ag", 1, 1, 0, 0, kRed), 120, 30},
        {"sunken, right, bottom", make("右下Ag", 2, 2, 2, 0, 0x00FF0000), 120, 30},
        {"shadowed", make("阴影Ag", 3, 0, 1, 0, 0x0000C000), 120, 30},
        {"word wrap breaks lines and starts at the top", make("自动 换行的 一段 文字", 0, 1, 2, 1, 0), 60, 50},
        {"a 60-byte font", make("大字", 0, 0, 1, 0, 0x00800080, bigFont), 120, 30},
        {"a font block of another length: the GUI font", make("小字Ag", 0, 0, 1, 0, 0, oddFont), 120, 30},
        {"an empty caption draws nothing", make("", 3, 0, 1, 0, 0), 120, 30},
    };
    std::vector<UnitRecord> units;
    for (size_t i = 0; i < cases.size(); ++i)
        units.push_back(LabelUnit(0x16010020 + static_cast<uint32_t>(i), 10 + 150 * static_cast<int>(i % 3),
                                  10 + 70 * static_cast<int>(i / 3), cases[i].width, cases[i].height, cases[i].data));
    Load(units);
    RedrawEverything();
    for (size_t i = 0; i < cases.size(); ++i) {
        HWND h = UnitHandle(0x16010020 + static_cast<uint32_t>(i));
        ASSERT_NE(h, nullptr) << cases[i].what;
        RECT r;
        GetWindowRect(h, &r);
        Shot shown = CaptureScreen(r);
        Shot plain = DrawOffScreen(cases[i].width, cases[i].height, [&](HDC dc) {
            RECT all = {0, 0, cases[i].width, cases[i].height};
            HBRUSH back = CreateSolidBrush(kWindowColour);
            FillRect(dc, &all, back);
            DeleteObject(back);
        });
        Shot expected = DrawnLabel(cases[i].data, plain);
        EXPECT_TRUE(shown == expected) << cases[i].what << ": " << Difference(shown, expected);
        if (cases[i].data.caption.empty()) {
            EXPECT_EQ(shown.Count(kWindowColour), cases[i].width * cases[i].height);
        }
    }
}

TEST(TransLabel, AFontBlockOfAnotherLengthDrawsLikeNoFontAtAll) {
    TransLabelData plain, odd;
    plain.caption = odd.caption = "默认字体 Ag";
    odd.font = FontBlock(59, 0x42);
    Load({LabelUnit(kL1, 10, 10, 140, 30, plain), LabelUnit(kL2, 10, 50, 140, 30, odd)});
    RedrawEverything();
    RECT a, b;
    GetWindowRect(UnitHandle(kL1), &a);
    GetWindowRect(UnitHandle(kL2), &b);
    Shot first = CaptureScreen(a), second = CaptureScreen(b);
    EXPECT_TRUE(first == second) << Difference(first, second);
    EXPECT_GT(first.Count(RGB(0, 0, 0)), 0);
}

namespace {

// A label reaching over the right part of an edit box, above it in the z-order, and an
// edit box far away.
void LoadOverlap(const char* caption) {
    TransLabelData d;
    d.caption = caption;
    d.textColour = kRed;
    d.font = EncodeFont(Font(-24, 700, "宋体"));
    EditBoxData edit;
    edit.content = "底下的编辑框";
    Load({LabelUnit(kL1, 60, 20, 160, 40, d), Unit(kEdit, kTypeEditBox, 20, 28, 160, 24, EditBoxData::Write(edit)),
          Unit(kFarEdit, kTypeEditBox, 250, 250, 100, 24, EditBoxData::Write(edit))});
    RedrawEverything();
}

Shot LabelArea() {
    RECT r;
    GetWindowRect(UnitHandle(kL1), &r);
    return CaptureScreen(r);
}

size_t IndexOf(const std::vector<MessageLog::Entry>& log, HWND h, UINT message, bool last = false) {
    size_t found = log.size();
    for (size_t i = 0; i < log.size(); ++i)
        if (log[i].hwnd == h && log[i].message == message) {
            found = i;
            if (!last) break;
        }
    return found;
}

}  // namespace

TEST(TransLabel, AWriteRedrawsTheWindowsBeneathFromTheBottomUpAndTheTextLastAndOnce) {
    LoadOverlap("旧标题旧标题");
    HWND form = FormHandle(), label = UnitHandle(kL1), edit = UnitHandle(kEdit), away = UnitHandle(kFarEdit);
    for (int32_t index : {8, 9, 11}) {
        MessageLog log({form, label, edit, away}, {WM_ERASEBKGND, WM_PAINT});
        if (index == 8)
            WriteText(kL1, 8, "新");
        else
            WriteInt(kL1, index, index == 9 ? 1 : 0x00FF0000);
        Pump(80);
        const auto& e = log.entries();
        ASSERT_FALSE(e.empty()) << "property " << index;
        EXPECT_EQ(e.front().hwnd, form) << "the top window's area comes first";
        size_t editPaint = IndexOf(e, edit, WM_PAINT);
        EXPECT_LT(editPaint, e.size()) << "the unit beneath is redrawn";
        EXPECT_EQ(e.back(), (MessageLog::Entry{label, WM_PAINT})) << "the text comes last";
        EXPECT_EQ(std::count(e.begin(), e.end(), MessageLog::Entry{label, WM_PAINT}), 1) << "and only once";
        EXPECT_EQ(IndexOf(e, away, WM_PAINT), e.size()) << "a window outside the label's rectangle is left alone";
        for (const MessageLog::Entry& x : e) EXPECT_NE(x, (MessageLog::Entry{label, WM_ERASEBKGND})) << "the label never erases";
    }
}

TEST(TransLabel, ACaptionChangeShowsTheUnitBeneathRepaintedAndTheNewTextOverIt) {
    LoadOverlap("旧标题旧标题");
    Shot before = LabelArea();
    EXPECT_GT(before.Count(kRed), 20) << "the old caption is on screen";

    // The empty caption shows nothing: what lies beneath is drawn again.
    WriteText(kL1, 8, "");
    Pump(80);
    Shot empty = LabelArea();
    EXPECT_EQ(empty.Count(kRed), 0);
    WriteInt(kL1, 5, 0);  // hidden: the area as it is without the label
    RedrawEverything();
    Shot without = LabelArea();
    EXPECT_TRUE(empty == without) << Difference(empty, without);
    WriteInt(kL1, 5, 1);
    Pump(80);

    // A new caption: the edit box beneath, then the text over it, drawn once.
    WriteText(kL1, 8, "新标题");
    Pump(80);
    Shot after = LabelArea();
    EXPECT_GT(after.Count(kRed), 20);
    WriteInt(kL1, 5, 0);
    RedrawEverything();
    Shot beneath = LabelArea();
    EXPECT_GT(beneath.Count(RGB(255, 255, 255)), 100) << "the edit box lies under part of the label";
    TransLabelData d;
    d.caption = "新标题";
    d.textColour = kRed;
    d.font = EncodeFont(Font(-24, 700, "宋体"));
    Shot expected = DrawnLabel(d, beneath);
    EXPECT_TRUE(after == expected) << Difference(after, expected);
}

// A second see-through label lies under the written one, both over an edit box: it is drawn
// again after the edit box, so its text stays where the written label's area meets it.
TEST(TransLabel, ASeeThroughLabelBeneathKeepsItsTextWhenTheOneAboveIsWritten) {
    constexpr COLORREF kBlue = 0x00FF0000;
    TransLabelData upper, lower;
    upper.caption = "上面";
    upper.textColour = kRed;
    upper.horizontalAlignment = 2;  // its text far right, clear of the lower one's
    upper.font = EncodeFont(Font(-24, 700, "宋体"));
    lower.caption = "下面的字";
    lower.textColour = kBlue;
    lower.font = upper.font;
    EditBoxData edit;
    edit.content = "底下的编辑框";
    Load({LabelUnit(kL1, 60, 20, 260, 40, upper), LabelUnit(kL2, 20, 20, 200, 40, lower),
          Unit(kEdit, kTypeEditBox, 10, 28, 330, 24, EditBoxData::Write(edit))});
    RECT r;
    GetWindowRect(UnitHandle(kL2), &r);
    RECT overlap = r;
    overlap.left += 40;  // where the upper label's area begins
    Shot before = CaptureScreen(r);
    ASSERT_GT(CaptureScreen(overlap).Count(kBlue), 20) << "part of the lower text lies under the upper label";

    WriteText(kL1, 8, "新的");
    Pump(80);
    Shot after = CaptureScreen(r);
    EXPECT_TRUE(after == before) << "neither lost nor drawn over itself: " << Difference(after, before);
}

TEST(TransLabel, AMovedLabelLeavesNothingBehindAndDrawsAtItsNewPlace) {
    LoadOverlap("移动");
    WriteInt(kL1, 1, 150);  // top: away from the edit box
    Pump(80);
    HWND form = FormHandle();
    Shot moved = CaptureClient(form);
    RedrawEverything();
    Shot fresh = CaptureClient(form);
    EXPECT_TRUE(moved == fresh) << Difference(moved, fresh);
    RECT r;
    GetWindowRect(UnitHandle(kEdit), &r);
    EXPECT_EQ(CaptureScreen(r).Count(kRed), 0) << "the old text is gone from the edit box";
}

// A label off screen (hidden, or its window not shown) repaints nothing at a write; when it
// appears it shows the new caption over what lies beneath, as if it had been there all along.
TEST(TransLabel, AWriteWhileHiddenPaintsNothingAndTheLabelShowsItWhenItAppears) {
    LoadOverlap("旧标题旧标题");
    HWND form = FormHandle(), label = UnitHandle(kL1), edit = UnitHandle(kEdit), away = UnitHandle(kFarEdit);
    WriteInt(kL1, 5, 0);
    Pump(80);
    {
        MessageLog log({form, label, edit, away}, {WM_ERASEBKGND, WM_PAINT, WM_NCPAINT});
        WriteText(kL1, 8, "新标题");
        WriteInt(kL1, 9, 1);
        Pump(80);
        EXPECT_TRUE(log.entries().empty()) << log.entries().size() << " paints for a label nobody sees";
    }
    RedrawEverything();
    Shot beneath = LabelArea();
    WriteInt(kL1, 5, 1);
    Pump(80);
    TransLabelData d;
    d.caption = "新标题";
    d.effect = 1;
    d.textColour = kRed;
    d.font = EncodeFont(Font(-24, 700, "宋体"));
    Shot shown = LabelArea();
    Shot expected = DrawnLabel(d, beneath);
    EXPECT_TRUE(shown == expected) << Difference(shown, expected);
}
