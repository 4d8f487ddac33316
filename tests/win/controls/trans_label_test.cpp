// The transparent label on real windows: type data versions, the window it makes, its
// properties with their clamps, its drawing against the drawing steps done off screen,
// and the see-through repaint (what is redrawn, in which order, and what the screen
// shows afterwards).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <set>

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

// Ink of a colour as the screen shows it, antialiased edges included, over the light grey of
// the window or white: the colour clearly ahead of the other two.
bool Reddish(COLORREF c) { return GetRValue(c) >= GetGValue(c) + 60 && GetRValue(c) >= GetBValue(c) + 60; }
bool Bluish(COLORREF c) { return GetBValue(c) >= GetRValue(c) + 60 && GetBValue(c) >= GetGValue(c) + 60; }
bool White(COLORREF c) { return GetRValue(c) >= 250 && GetGValue(c) >= 250 && GetBValue(c) >= 250; }
// Black ink over the grey: grey, and well darker than it.
bool Dark(COLORREF c) {
    const int high = std::max({GetRValue(c), GetGValue(c), GetBValue(c)});
    const int low = std::min({GetRValue(c), GetGValue(c), GetBValue(c)});
    return high - low <= 12 && high < 165;
}

// The extent of a text in the stock GUI font and the font's line height, as the platform
// measures them: where alignment puts a line follows from these alone.
SIZE GuiTextExtent(const wchar_t* text, int* lineHeight) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SIZE size = {};
    GetTextExtentPoint32W(dc, text, static_cast<int>(wcslen(text)), &size);
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc, &metrics);
    *lineHeight = metrics.tmHeight;
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return size;
}

RECT Shifted(RECT r, int dx, int dy) {
    OffsetRect(&r, dx, dy);
    return r;
}

std::string Describe(const RECT& r) {
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) + "," +
           std::to_string(r.bottom) + ")";
}

bool Near(const RECT& a, const RECT& b, int slack) {
    return std::abs(a.left - b.left) <= slack && std::abs(a.top - b.top) <= slack && std::abs(a.right - b.right) <= slack &&
           std::abs(a.bottom - b.bottom) <= slack;
}

// Whether `shown` is `ink` laid over `under` at some coverage: each channel between the two.
bool InkOver(COLORREF shown, COLORREF under, COLORREF ink) {
    auto between = [](int v, int a, int b) { return v >= std::min(a, b) - 3 && v <= std::max(a, b) + 3; };
    return between(GetRValue(shown), GetRValue(under), GetRValue(ink)) &&
           between(GetGValue(shown), GetGValue(under), GetGValue(ink)) &&
           between(GetBValue(shown), GetBValue(under), GetBValue(ink));
}

// Pixels of `shown` that are not what `beneath` has there with some of the inks laid over it
// (an ink over another ink included): what else a label drew.
int PixelsNotDrawnOver(const Shot& shown, const Shot& beneath, std::initializer_list<COLORREF> inks) {
    int other = 0;
    for (int y = 0; y < shown.height; ++y)
        for (int x = 0; x < shown.width; ++x) {
            const COLORREF c = shown.At(x, y), under = beneath.At(x, y);
            bool drawn = c == under;
            for (COLORREF ink : inks) {
                drawn = drawn || InkOver(c, under, ink);
                for (COLORREF lower : inks) drawn = drawn || InkOver(c, lower, ink);
            }
            other += drawn ? 0 : 1;
        }
    return other;
}

Shot ShotOf(uint32_t unit) {
    RECT r;
    GetWindowRect(UnitHandle(unit), &r);
    return CaptureScreen(r);
}

// The middle of the pixels `pick` likes; antialiased edges move it by fractions of a pixel only.
struct Middle {
    double x = 0, y = 0;
    int count = 0;
};
Middle MiddleOf(const Shot& shot, bool (*pick)(COLORREF)) {
    Middle m;
    for (int y = 0; y < shot.height; ++y)
        for (int x = 0; x < shot.width; ++x)
            if (pick(shot.At(x, y))) {
                m.x += x;
                m.y += y;
                ++m.count;
            }
    if (m.count) {
        m.x /= m.count;
        m.y /= m.count;
    }
    return m;
}

// The pixels `pick` likes, by place.
using Points = std::set<std::pair<int, int>>;
Points PointsOf(const Shot& shot, bool (*pick)(COLORREF)) {
    Points points;
    for (int y = 0; y < shot.height; ++y)
        for (int x = 0; x < shot.width; ++x)
            if (pick(shot.At(x, y))) points.insert({x, y});
    return points;
}
// How many of `copy` lie off `shape` moved by (dx, dy).
size_t OffTheShape(const Points& copy, const Points& shape, int dx, int dy) {
    size_t off = 0;
    for (auto [x, y] : copy) off += shape.count({x - dx, y - dy}) ? 0 : 1;
    return off;
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
    EXPECT_EQ(ReadText(kL1, rt::TransLabel::Caption), "透明标签");
    EXPECT_EQ(WindowTextOf(UnitHandle(kL1)), L"透明标签");
    using TL = rt::TransLabel;
    const std::vector<std::pair<int32_t, int32_t>> defaults = {
        {TL::Effect.index, 0}, {TL::TextColour.index, 0}, {TL::HorizontalAlignment.index, 0}, {TL::WordWrap.index, 0},
        {TL::VerticalAlignment.index, 1}};
    for (auto [index, value] : defaults) EXPECT_EQ(ReadInt(kL1, index), value) << "property " << index;
    EXPECT_TRUE(ReadBytes(kL1, 10).empty());

    // Version 0 carries the same fields.
    EXPECT_EQ(ReadText(kL2, rt::TransLabel::Caption), "版本零");
    const std::vector<std::pair<int32_t, int32_t>> stored = {
        {TL::Effect.index, 2}, {TL::TextColour.index, static_cast<int32_t>(kRed)}, {TL::HorizontalAlignment.index, 1},
        {TL::WordWrap.index, 1}, {TL::VerticalAlignment.index, 2}};
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
    using TL = rt::TransLabel;
    struct Case {
        int32_t index, written, read;
    };
    const Case cases[] = {
        {TL::Effect.index, 5, 3},               {TL::Effect.index, -1, 0},              {TL::Effect.index, 2, 2},
        {TL::HorizontalAlignment.index, -1, 0}, {TL::HorizontalAlignment.index, 3, 2},  {TL::HorizontalAlignment.index, 1, 1},
        {TL::VerticalAlignment.index, -7, 0},   {TL::VerticalAlignment.index, 9, 2},    {TL::VerticalAlignment.index, 0, 0},
        {TL::WordWrap.index, 5, 1},             {TL::WordWrap.index, 0, 0},  // a switch
        {TL::TextColour.index, 0x00123456, 0x00123456},
    };
    for (const Case& c : cases) {
        WriteInt(kL1, c.index, c.written);
        EXPECT_EQ(ReadInt(kL1, c.index), c.read) << "property " << c.index << " written " << c.written;
    }
    WriteText(kL1, rt::TransLabel::Caption, "新标题");
    EXPECT_EQ(ReadText(kL1, rt::TransLabel::Caption), "新标题");
    EXPECT_EQ(WindowTextOf(UnitHandle(kL1)), L"新标题");
    wchar_t shortBuffer[3];
    EXPECT_EQ(GetWindowTextW(UnitHandle(kL1), shortBuffer, 3), 2) << "a short buffer takes what fits";
    EXPECT_STREQ(shortBuffer, L"新标");
    SetWindowTextW(UnitHandle(kL1), L"");
    EXPECT_EQ(GetWindowTextLengthW(UnitHandle(kL1)), 0);
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

// Nine labels, one per pair of alignments, each the same text: the top left one puts its ink
// in the corner, and each other one the same ink moved by what is left of the label's width
// and height beside the measured line (all of it, or half).
TEST(TransLabel, EachAlignmentPutsTheTextWhereTheLeftOverSpaceSays) {
    const wchar_t kText[] = L"Ag中";
    constexpr int kWidth = 130, kHeight = 40;
    std::vector<UnitRecord> units;
    for (uint32_t h = 0; h < 3; ++h)
        for (uint32_t v = 0; v < 3; ++v) {
            TransLabelData d;
            d.caption = "Ag中";
            d.textColour = kRed;
            d.horizontalAlignment = h;
            d.verticalAlignment = v;
            units.push_back(LabelUnit(0x16010020 + 3 * h + v, 10 + 140 * static_cast<int>(h), 10 + 50 * static_cast<int>(v),
                                      kWidth, kHeight, d));
        }
    Load(units);
    RedrawEverything();
    int line = 0;
    const SIZE extent = GuiTextExtent(kText, &line);
    const RECT corner = ShotOf(0x16010020).Bounds(&Reddish);
    ASSERT_LT(corner.left, corner.right) << "no text drawn";
    EXPECT_GE(corner.left, 0);
    EXPECT_LE(corner.right, extent.cx + 1) << "the ink lies within the measured line";
    EXPECT_LE(corner.bottom, line);
    const int spareX[3] = {0, (kWidth - extent.cx) / 2, kWidth - extent.cx};
    const int spareY[3] = {0, (kHeight - line) / 2, kHeight - line};
    for (uint32_t h = 0; h < 3; ++h)
        for (uint32_t v = 0; v < 3; ++v) {
            const RECT ink = ShotOf(0x16010020 + 3 * h + v).Bounds(&Reddish);
            const RECT expected = Shifted(corner, spareX[h], spareY[v]);
            // Halving the spare room may round either way.
            EXPECT_TRUE(Near(ink, expected, h == 1 || v == 1 ? 1 : 0))
                << "alignment " << h << "/" << v << ": ink at " << Describe(ink) << ", expected " << Describe(expected);
        }
}

// The effects draw a second copy of the text: the raised and the shadowed one a pixel and two
// below and to the right of the text, the sunken one where the text stood before it moved down
// and right by a pixel. Each copy is the text's own shape: every pixel the copy shows lies on
// the plain label's text moved by the copy's offset, and on no other offset near it.
TEST(TransLabel, EachEffectDrawsItsCopyOnItsSideOfTheText) {
    std::vector<UnitRecord> units;
    for (uint32_t effect = 0; effect < 4; ++effect) {
        TransLabelData d;
        d.caption = "效果Ag";
        d.textColour = 0x00FF0000;  // blue
        d.effect = effect;
        d.verticalAlignment = 0;
        units.push_back(LabelUnit(0x16010020 + effect, 10, 10 + 40 * static_cast<int>(effect), 120, 30, d));
    }
    Load(units);
    RedrawEverything();
    const Shot plain = ShotOf(0x16010020);
    const Points text = PointsOf(plain, &Bluish);
    ASSERT_GT(text.size(), 20u) << "no text drawn";
    EXPECT_EQ(plain.Count(&White), 0);
    EXPECT_EQ(plain.Count(&Dark), 0);
    const Middle textMiddle = MiddleOf(plain, &Bluish);

    struct Effect {
        const char* name;
        uint32_t unit;
        bool (*copyInk)(COLORREF);
        POINT copyAt;  // the copy's offset from the plain text
        POINT textAt;  // the text's
    };
    const Effect effects[] = {{"raised", 0x16010021, &White, {1, 1}, {0, 0}},
                              {"sunken", 0x16010022, &White, {0, 0}, {1, 1}},
                              {"shadowed", 0x16010023, &Dark, {2, 2}, {0, 0}}};
    for (const Effect& e : effects) {
        SCOPED_TRACE(e.name);
        const Shot shown = ShotOf(e.unit);
        const Middle moved = MiddleOf(shown, &Bluish);
        EXPECT_NEAR(moved.x - textMiddle.x, e.textAt.x, 0.5);
        EXPECT_NEAR(moved.y - textMiddle.y, e.textAt.y, 0.5);
        const Points copy = PointsOf(shown, e.copyInk);
        ASSERT_GT(copy.size(), 20u) << "no copy drawn";
        for (int dx = -2; dx <= 2; ++dx)
            for (int dy = -2; dy <= 2; ++dy) {
                const size_t off = OffTheShape(copy, text, dx, dy);
                if (dx == e.copyAt.x && dy == e.copyAt.y) {
                    EXPECT_EQ(off, 0u) << "copy pixels off the text moved by " << dx << "," << dy;
                } else {
                    EXPECT_GT(off, 0u) << "the copy fits the text moved by " << dx << "," << dy << " as well";
                }
            }
    }
}

// Word wrap breaks the text into lines that start at the top, whatever the vertical alignment;
// a 60-byte font draws larger than the GUI font; an empty caption draws nothing.
TEST(TransLabel, WrappedLinesStartAtTheTopAndAStoredFontSetsTheSize) {
    TransLabelData wrapped, plain, big, empty;
    wrapped.caption = "自动 换行的 一段 文字";
    wrapped.wordWrap = 1;
    wrapped.horizontalAlignment = 1;
    wrapped.verticalAlignment = 2;
    plain.caption = big.caption = "大字";
    big.font = EncodeFont(Font(-22, 700, "宋体"));
    empty.caption = "";
    empty.effect = 3;
    wrapped.textColour = plain.textColour = big.textColour = kRed;
    Load({LabelUnit(kL1, 10, 10, 60, 80, wrapped), LabelUnit(kL2, 100, 10, 120, 40, plain), LabelUnit(kL3, 100, 60, 120, 40, big),
          LabelUnit(kL4, 250, 10, 120, 30, empty)});
    RedrawEverything();
    int line = 0;
    GuiTextExtent(L"自", &line);
    const RECT lines = ShotOf(kL1).Bounds(&Reddish);
    EXPECT_LT(lines.top, line) << "the first line at the top, not at the bottom: " << Describe(lines);
    EXPECT_GT(lines.bottom - lines.top, 2 * line) << "more than two lines: " << Describe(lines);
    EXPECT_LE(lines.right, 60);

    const RECT small = ShotOf(kL2).Bounds(&Reddish), large = ShotOf(kL3).Bounds(&Reddish);
    EXPECT_GE(large.bottom - large.top, 16) << "a 22-pixel font: " << Describe(large);
    EXPECT_GT(large.bottom - large.top, small.bottom - small.top + 4) << Describe(large) << " against " << Describe(small);

    const Shot nothing = ShotOf(kL4);
    EXPECT_EQ(nothing.Count(kWindowColour), nothing.width * nothing.height);
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

// The text is drawn at once over what lies beneath, without a paint message: one that came
// afterwards would draw the anti-aliased letters a second time, darker.
TEST(TransLabel, AWriteRedrawsTheWindowsBeneathFromTheBottomUpAndTheTextLastAndOnce) {
    LoadOverlap("旧标题旧标题");
    HWND form = FormHandle(), label = UnitHandle(kL1), edit = UnitHandle(kEdit), away = UnitHandle(kFarEdit);
    for (int32_t index : {8, 9, 11}) {
        SCOPED_TRACE(index);
        MessageLog log({form, label, edit, away}, {WM_ERASEBKGND, WM_PAINT});
        if (index == 8)
            WriteText(kL1, rt::TransLabel::Caption, "新");
        else
            WriteInt(kL1, index, index == 9 ? 1 : 0x00FF0000);
        Pump(80);
        const auto& e = log.entries();
        ASSERT_FALSE(e.empty());
        EXPECT_EQ(e.front().hwnd, form) << "the top window's area comes first";
        EXPECT_LT(IndexOf(e, edit, WM_PAINT), e.size()) << "the unit beneath is redrawn";
        EXPECT_EQ(IndexOf(e, away, WM_PAINT), e.size()) << "a window outside the label's rectangle is left alone";
        for (const MessageLog::Entry& x : e) {
            EXPECT_NE(x, (MessageLog::Entry{label, WM_ERASEBKGND})) << "the label never erases";
            EXPECT_NE(x, (MessageLog::Entry{label, WM_PAINT})) << "nor paints its text twice";
        }
        Shot written = LabelArea();
        EXPECT_GT(written.Count(&Reddish) + written.Count(0x00FF0000), 20) << "the text is on screen, last";
    }
}

TEST(TransLabel, ACaptionChangeShowsTheUnitBeneathRepaintedAndTheNewTextOverIt) {
    LoadOverlap("旧标题旧标题");
    Shot before = LabelArea();
    EXPECT_GT(before.Count(kRed), 20) << "the old caption is on screen";

    // The empty caption shows nothing: what lies beneath is drawn again.
    WriteText(kL1, rt::TransLabel::Caption, "");
    Pump(80);
    Shot empty = LabelArea();
    EXPECT_EQ(empty.Count(kRed), 0);
    WriteInt(kL1, rt::TransLabel::Visible, 0);  // hidden: the area as it is without the label
    RedrawEverything();
    Shot without = LabelArea();
    EXPECT_TRUE(empty == without) << Difference(empty, without);
    WriteInt(kL1, rt::TransLabel::Visible, 1);
    Pump(80);

    // A new caption: the edit box beneath, then the text over it, drawn once.
    WriteText(kL1, rt::TransLabel::Caption, "新标题");
    Pump(80);
    Shot after = LabelArea();
    EXPECT_GT(after.Count(kRed), 20);
    WriteInt(kL1, rt::TransLabel::Visible, 0);
    RedrawEverything();
    Shot beneath = LabelArea();
    EXPECT_GT(beneath.Count(RGB(255, 255, 255)), 100) << "the edit box lies under part of the label";
    EXPECT_EQ(PixelsNotDrawnOver(after, beneath, {kRed}), 0) << "beside its letters the label shows what lies beneath";
    // Left, and in the middle of the label's height.
    const RECT ink = after.Bounds(&Reddish);
    EXPECT_LT(ink.left, 4) << Describe(ink);
    EXPECT_NEAR((ink.top + ink.bottom) / 2.0, after.height / 2.0, 4) << Describe(ink);
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

    WriteText(kL1, rt::TransLabel::Caption, "新的");
    Pump(80);
    Shot after = CaptureScreen(r);
    EXPECT_TRUE(after == before) << "neither lost nor drawn over itself: " << Difference(after, before);
}

// In a group box, which paints all of its background, a label over nothing else draws the
// box's paint and its text on its own DC, and no window paints: the screen shows what a
// repaint of everything shows, the box's frame included. A label over an edit box in the same
// box still has the edit box painted again under its text.
TEST(TransLabel, InAGroupBoxALabelOverNothingElsePaintsNoWindowAndOneOverAUnitRepaintsIt) {
    constexpr uint32_t kBox = 0x16010020;
    TransLabelData d;
    d.caption = "旧标题";
    d.textColour = kRed;
    d.font = EncodeFont(Font(-20, 700, "宋体"));
    EditBoxData edit;
    edit.content = "底下的编辑框";
    UnitRecord box = Unit(kBox, kTypeGroupBox, 20, 20, 400, 200, {}, UnitRecord::kStateVisible);
    box.children = {kL1, kL2, kEdit};
    UnitRecord alone = LabelUnit(kL1, 200, 0, 200, 30, d);  // over the frame at the box's top right
    UnitRecord over = LabelUnit(kL2, 10, 100, 200, 30, d);
    UnitRecord beneath = Unit(kEdit, kTypeEditBox, 30, 104, 150, 24, EditBoxData::Write(edit));
    for (UnitRecord* r : {&alone, &over, &beneath}) r->parentId = kBox;
    Load({box, alone, over, beneath});
    const HWND windows[] = {FormHandle(), UnitHandle(kBox), UnitHandle(kL1), UnitHandle(kL2), UnitHandle(kEdit)};
    for (uint32_t label : {kL1, kL2}) {
        SCOPED_TRACE(label);
        MessageLog log({std::begin(windows), std::end(windows)}, {WM_PAINT});
        WriteText(label, rt::TransLabel::Caption, "新标题");
        Pump(80);
        const auto& e = log.entries();
        Shot written = ShotOf(label);
        EXPECT_GT(written.Count(&Reddish), 20) << "the text is on screen";
        if (label == kL1) {
            EXPECT_TRUE(e.empty()) << e.size() << " windows painted";
            RedrawEverything();
            Shot whole = ShotOf(label);
            EXPECT_TRUE(written == whole) << Difference(written, whole);
        } else {
            // (A repaint of everything is no reference here: it paints the edit box over the
            // see-through label above it.)
            EXPECT_LT(IndexOf(e, UnitHandle(kEdit), WM_PAINT), e.size()) << "the unit beneath is redrawn";
            WriteInt(label, rt::TransLabel::Visible, 0);
            RedrawEverything();
            EXPECT_EQ(PixelsNotDrawnOver(written, ShotOf(label), {kRed}), 0) << "the text over what lies beneath";
        }
    }
}

// The box's paint under a label written again and again (a clock) is drawn once and copied
// after that: the copy shows what a repaint shows, and a change of the box between two writes
// shows under the next one, not the box as it was.
TEST(TransLabel, InAGroupBoxEachWriteShowsTheBoxAsItIsNow) {
    constexpr uint32_t kBox = 0x16010020;
    constexpr COLORREF kGreen = 0x0000C000, kYellow = 0x0000FFFF;
    TransLabelData d;
    d.textColour = kRed;
    UnitRecord box = Unit(kBox, kTypeGroupBox, 20, 20, 400, 200, {}, UnitRecord::kStateVisible);
    box.children = {kL1};
    UnitRecord label = LabelUnit(kL1, 40, 60, 200, 30, d);
    label.parentId = kBox;
    Load({box, label});
    WriteInt(kBox, rt::GroupBox::BackgroundColour, static_cast<int32_t>(kGreen));
    for (const char* caption : {"一", "二二", "三"}) {
        WriteText(kL1, rt::TransLabel::Caption, caption);
        Pump(80);
    }
    Shot written = ShotOf(kL1);
    RedrawEverything();
    Shot whole = ShotOf(kL1);
    EXPECT_TRUE(written == whole) << Difference(written, whole);

    WriteInt(kBox, rt::GroupBox::BackgroundColour, static_cast<int32_t>(kYellow));
    Pump(80);
    WriteText(kL1, rt::TransLabel::Caption, "四");
    Pump(80);
    Shot after = ShotOf(kL1);
    EXPECT_EQ(after.Count(kGreen), 0) << "no copy of the box as it was";
    EXPECT_GT(after.Count(kYellow), 1000);
}

TEST(TransLabel, AMovedLabelLeavesNothingBehindAndDrawsAtItsNewPlace) {
    LoadOverlap("移动");
    WriteInt(kL1, rt::TransLabel::Top, 150);  // top: away from the edit box
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
    WriteInt(kL1, rt::TransLabel::Visible, 0);
    Pump(80);
    {
        MessageLog log({form, label, edit, away}, {WM_ERASEBKGND, WM_PAINT, WM_NCPAINT});
        WriteText(kL1, rt::TransLabel::Caption, "新标题");
        WriteInt(kL1, rt::TransLabel::Effect, 1);
        Pump(80);
        EXPECT_TRUE(log.entries().empty()) << log.entries().size() << " paints for a label nobody sees";
    }
    RedrawEverything();
    Shot beneath = LabelArea();
    WriteInt(kL1, rt::TransLabel::Visible, 1);
    Pump(80);
    // The new caption, raised: red letters with their white copy a pixel below and to the right,
    // and nothing else over what lies beneath.
    Shot shown = LabelArea();
    EXPECT_EQ(PixelsNotDrawnOver(shown, beneath, {kRed, RGB(255, 255, 255)}), 0);
    const Points text = PointsOf(shown, &Reddish);
    Points copy;  // white where what lies beneath is not
    for (int y = 0; y < shown.height; ++y)
        for (int x = 0; x < shown.width; ++x)
            if (White(shown.At(x, y)) && !White(beneath.At(x, y))) copy.insert({x, y});
    ASSERT_GT(text.size(), 20u);
    ASSERT_GT(copy.size(), 10u);
    EXPECT_EQ(OffTheShape(copy, text, 1, 1), 0u);
}
