#include "forms/template_image.h"

#include <gtest/gtest.h>

#include "controls/unit_types.h"
#include "forms/template_cursor.h"
#include "forms/template_writer.h"
#include "tests/native/template_sample.h"

namespace {

std::vector<uint8_t> Write(const TemplateImage& image) {
    std::string why;
    auto bytes = WriteTemplateImage(image, &why);
    EXPECT_TRUE(bytes) << why;
    return bytes ? *bytes : std::vector<uint8_t>{};
}

std::optional<TemplateImage> Read(const std::vector<uint8_t>& bytes, std::string* why = nullptr) {
    return ReadTemplateImage(bytes.data(), bytes.size(), why);
}

uint32_t Get32(const std::vector<uint8_t>& b, size_t at) {
    TemplateCursor c(b.data() + at, 4);
    return c.U32();
}
void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

// Positions inside a one-window image whose window name and comment are empty.
struct Layout {
    static constexpr size_t kUnitCount = 28;
    static constexpr size_t kTableLength = 32;
    static constexpr size_t kIds = 36;
    size_t count;
    size_t Offsets() const { return kIds + 4 * count; }
    size_t Records() const { return kIds + 8 * count; }
    size_t Record(const std::vector<uint8_t>& b, size_t k) const { return Records() + Get32(b, Offsets() + 4 * k); }
};

// A small image: window record plus a few units, one of each shape the reader handles.
TemplateImage Small() { return sample::MakeImage(1); }

TEST(TemplateImage, RepresentativeImageRoundTripsBothWays) {
    TemplateImage image = sample::MakeImage();
    ASSERT_EQ(image.windows[0].records.size(), 118u);
    std::vector<uint8_t> bytes = Write(image);
    auto back = Read(bytes);
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, image);
    EXPECT_EQ(Write(*back), bytes);
}

TEST(TemplateImage, ReadsTheFieldsWhereTheLayoutPutsThem) {
    TemplateImage image = Small();
    image.windows[0].name = "w";
    image.windows[0].slot = 0xDEADBEEF;  // slots carry no information but survive
    std::vector<uint8_t> bytes = Write(image);
    EXPECT_EQ(Get32(bytes, 0), 8u);
    EXPECT_EQ(Get32(bytes, 4), 0x52010001u);
    EXPECT_EQ(Get32(bytes, 8), 0xDEADBEEFu);
    EXPECT_EQ(Get32(bytes, 12), 11u);
    EXPECT_EQ(Get32(bytes, 16), 0x19010003u);
    EXPECT_EQ(Get32(bytes, 20), 1u);  // name length
    EXPECT_EQ(bytes[24], 'w');
    auto back = Read(bytes);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->windows[0].slot, 0xDEADBEEFu);
    EXPECT_EQ(back->windows[0].name, "w");
}

TEST(TemplateImage, RecordWalkMatchesTheFixedArithmetic) {
    // From the record start: 24 bytes, two texts, 32 bytes, children, cursor block, tag,
    // 12 bytes, then the event count; the type data follows 4 + 8E + 20 bytes later.
    TemplateImage image = Small();
    const UnitRecord& r = image.windows[0].records[2];  // the status bar: no children
    std::vector<uint8_t> bytes = Write(image);
    Layout l{image.windows[0].records.size()};
    size_t at = l.Record(bytes, 2) + 4;
    size_t walk = at + 24 + r.name.size() + 1 + r.comment.size() + 1 + 32 + 4 * r.children.size() + 4 + r.cursorData.size() +
                  r.tag.size() + 1 + 12;
    EXPECT_EQ(Get32(bytes, walk), r.events.size());
    size_t typeData = walk + 4 + 8 * r.events.size() + 20;
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + typeData, bytes.begin() + typeData + r.typeData.size()), r.typeData);
    EXPECT_EQ(Get32(bytes, l.Record(bytes, 2)), typeData + r.typeData.size() - at);
}

TEST(TemplateImage, TruncationAtEveryByteFailsCleanly) {
    std::vector<uint8_t> bytes = Write(Small());
    for (size_t n = 0; n < bytes.size(); ++n) {
        std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + n);  // own buffer: ASan sees overreads
        EXPECT_FALSE(Read(cut)) << "prefix of " << n << " bytes";
    }
}

TEST(TemplateImage, EmptyWindowTableIsAnImageWithoutWindows) {
    auto image = Read({0, 0, 0, 0});
    ASSERT_TRUE(image);
    EXPECT_TRUE(image->windows.empty());
    EXPECT_EQ(image->FindWindow(0x52010001), nullptr);
}

TEST(TemplateImage, CorruptedCountsLengthsAndOffsetsFail) {
    const std::vector<uint8_t> good = Write(Small());
    const Layout l{Small().windows[0].records.size()};
    auto expectBad = [&](const char* what, auto patch) {
        std::vector<uint8_t> b = good;
        patch(b);
        std::string why;
        EXPECT_FALSE(Read(b, &why)) << what;
        EXPECT_FALSE(why.empty()) << what;
    };
    expectBad("window table not a multiple of 8", [](auto& b) { Put32(b, 0, 12); });
    expectBad("window table longer than the image", [](auto& b) { Put32(b, 0, 0xFFFFFFF8); });
    expectBad("unit count beyond the table", [](auto& b) { Put32(b, Layout::kUnitCount, 0xFFFFFFFF); });
    expectBad("unit count zero", [](auto& b) { Put32(b, Layout::kUnitCount, 0); });
    expectBad("unit count one short", [&](auto& b) { Put32(b, Layout::kUnitCount, static_cast<uint32_t>(l.count - 1)); });
    expectBad("unit table length beyond the image", [](auto& b) { Put32(b, Layout::kTableLength, 0x7FFFFFFF); });
    expectBad("offset outside the block", [&](auto& b) { Put32(b, l.Offsets() + 4, 0xFFFFFFF0); });
    expectBad("offset inside the previous record", [&](auto& b) { Put32(b, l.Offsets() + 4, Get32(b, l.Offsets() + 4) - 1); });
    expectBad("record length beyond the block", [&](auto& b) { Put32(b, l.Record(b, 1), 0xFFFFFFFF); });
    expectBad("record length one longer", [&](auto& b) { Put32(b, l.Record(b, 1), Get32(b, l.Record(b, 1)) + 1); });
    expectBad("bytes after the last window", [](auto& b) { b.push_back(0); });
    // Record 1 is the page control: its child count sits 24 + 1 + 1 + 28 bytes plus its
    // name into the record.
    const size_t children = l.Record(good, 1) + 4 + 24 + Small().windows[0].records[1].name.size() + 1 + 1 + 28;
    ASSERT_EQ(Get32(good, children), Small().windows[0].records[1].children.size());
    expectBad("child count overflows", [&](auto& b) { Put32(b, children, 0x40000001); });
    expectBad("child count runs past the record", [&](auto& b) { Put32(b, children, Get32(b, children) + 1000); });
    expectBad("unterminated name", [&](auto& b) {
        size_t at = l.Record(b, 1);
        size_t len = Get32(b, at);
        for (size_t i = 4 + 24; i < 4 + len; ++i) b[at + i] = 'x';
    });
}

TEST(TemplateImage, RecordWhoseFieldsRunPastItsLengthFails) {
    TemplateImage image = Small();
    UnitRecord& r = image.windows[0].records[2];
    r.typeData.clear();
    r.events.clear();
    std::vector<uint8_t> b = Write(image);
    Layout l{image.windows[0].records.size()};
    // Cut the last reserved word off the status bar's record and move the later records up.
    size_t at = l.Record(b, 2);
    uint32_t length = Get32(b, at);
    Put32(b, at, length - 4);
    b.erase(b.begin() + static_cast<long>(at + length), b.begin() + static_cast<long>(at + 4 + length));
    for (size_t k = 3; k < l.count; ++k) Put32(b, l.Offsets() + 4 * k, Get32(b, l.Offsets() + 4 * k) - 4);
    Put32(b, Layout::kTableLength, Get32(b, Layout::kTableLength) - 4);
    std::string why;
    EXPECT_FALSE(Read(b, &why));
    EXPECT_NE(why.find("record 2"), std::string::npos) << why;
}

TEST(TemplateImage, InvalidIdsAreRefusedByReaderAndWriter) {
    auto refused = [](const char* what, auto change) {
        TemplateImage image = Small();
        std::vector<uint8_t> bytes = Write(image);
        change(image);
        EXPECT_FALSE(WriteTemplateImage(image)) << what;
        // Same change made in the bytes: the ids sit in the id array.
        TemplateImage other = Small();
        change(other);
        Layout l{other.windows[0].records.size()};
        for (size_t k = 0; k < l.count; ++k) Put32(bytes, Layout::kIds + 4 * k, other.windows[0].records[k].id);
        EXPECT_FALSE(Read(bytes)) << what;
    };
    refused("running number 0", [](TemplateImage& i) { i.windows[0].records[3].id = 0x16000000; });
    refused("bits 24-27 zero", [](TemplateImage& i) { i.windows[0].records[3].id = 0x10010005; });
    refused("id used twice", [](TemplateImage& i) { i.windows[0].records[3].id = i.windows[0].records[4].id; });
    refused("kind 3", [](TemplateImage& i) { i.windows[0].records[3].id = 0x36010005; });
    refused("window kind on a unit", [](TemplateImage& i) { i.windows[0].records[3].id = 0x06010005; });
    refused("unit kind on record 0", [](TemplateImage& i) { i.windows[0].records[0].id = 0x16010001; });
    refused("menu id on a unit", [](TemplateImage& i) { i.windows[0].records[3].id = 0x26010005; });

    TemplateImage twice = Small();
    twice.windows.push_back(twice.windows[0]);
    EXPECT_FALSE(WriteTemplateImage(twice));
    TemplateImage notWindow = Small();
    notWindow.windows[0].records[0].typeCode = kTypeEditBox;
    EXPECT_FALSE(WriteTemplateImage(notWindow));
}

TEST(TemplateImage, MenuItemsKeepTheirRawBytesAndStayUnresolved) {
    TemplateImage image = Small();
    UnitRecord menu;
    menu.id = 0x26010001;
    menu.typeCode = kMenuItemTypeCode;
    menu.isMenuItem = true;
    TemplateWriter w;
    w.U32(kMenuItemTypeCode);
    w.Bytes("\x01\x02\x03", 3);  // a layout this reader does not know
    menu.menuItemBytes = w.Take();
    image.windows[0].records.push_back(menu);
    std::vector<uint8_t> bytes = Write(image);
    auto back = Read(bytes);
    ASSERT_TRUE(back);
    const UnitRecord* r = back->windows[0].FindRecord(0x26010001);
    ASSERT_NE(r, nullptr);
    EXPECT_TRUE(r->isMenuItem);
    EXPECT_EQ(r->menuItemBytes, menu.menuItemBytes);
    EXPECT_TRUE(r->events.empty());
    EXPECT_EQ(Write(*back), bytes);

    UnitRecord wrongId = menu;
    wrongId.id = 0x16017777;
    image.windows[0].records.back() = wrongId;
    EXPECT_FALSE(WriteTemplateImage(image));
    UnitRecord extraFields = menu;
    extraFields.left = 5;  // would be lost: only the raw bytes are stored
    image.windows[0].records.back() = extraFields;
    EXPECT_FALSE(WriteTemplateImage(image));
}

TEST(TemplateImage, HandlerOffsetZeroIsAHandlerAndAllOnesIsNone) {
    TemplateImage image = Small();
    image.windows[0].records[3].events = {{-9, 0}, {-1, kNoHandler}};
    auto back = Read(Write(image));
    ASSERT_TRUE(back);
    const UnitRecord& r = back->windows[0].records[3];
    EXPECT_EQ(r.HandlerOffset(-9), 0u);
    EXPECT_FALSE(IsNoHandler(r.HandlerOffset(-9)));
    EXPECT_TRUE(IsNoHandler(r.HandlerOffset(-1)));
    EXPECT_TRUE(IsNoHandler(r.HandlerOffset(0)));  // no entry at all
}

TEST(TemplateImage, LookupByIdAndPosition) {
    auto image = Read(Write(sample::MakeImage()));
    ASSERT_TRUE(image);
    const WindowTemplate* w = image->FindWindow(0x52010001);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->FindRecord(0), &w->records[0]);  // id 0: the window's own record
    EXPECT_EQ(w->FindRecord(kWindowRecordId), &w->records[0]);
    EXPECT_EQ(w->FindPosition(0x16010003), 2);
    EXPECT_EQ(w->RecordAt(2)->typeCode, kTypeStatusBar);
    EXPECT_EQ(w->FindRecord(0x16019999), nullptr);
    EXPECT_EQ(w->FindPosition(0x16019999), -1);
    EXPECT_EQ(w->RecordAt(118), nullptr);
}

TEST(TemplateImage, ContainersListChildrenAndChildrenNameTheirContainer) {
    auto image = Read(Write(sample::MakeImage()));
    ASSERT_TRUE(image);
    const WindowTemplate& w = image->windows[0];
    for (const UnitRecord& r : w.records) {
        for (uint32_t child : r.children) {
            if (child == 0) continue;
            const UnitRecord* c = w.FindRecord(child);
            ASSERT_NE(c, nullptr);
            EXPECT_EQ(c->parentId, r.id);
        }
    }
    EXPECT_EQ(w.FindRecord(0x16010002)->parentId, 0u);  // page control and status bar: on the window
    EXPECT_EQ(w.FindRecord(0x16010003)->parentId, 0u);
    auto pages = SplitPages(w.FindRecord(0x16010002)->children);
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(pages[0].size(), 36u + 4);
    EXPECT_EQ(pages[1].size(), 36u + 2);
    EXPECT_EQ(pages[2].size(), 36u);
}

TEST(SplitPages, SeparatorsAssignUnitsToPagesByPosition) {
    std::vector<std::vector<uint32_t>> pages(3);
    uint32_t id = 0x16010100;
    for (int i = 0; i < 77; ++i) pages[0].push_back(id++);
    for (int i = 0; i < 17; ++i) pages[1].push_back(id++);
    for (int i = 0; i < 12; ++i) pages[2].push_back(id++);
    std::vector<uint32_t> children = JoinPages(pages);
    EXPECT_EQ(children.size(), 77u + 17 + 12 + 2);  // the last page has no closing 0
    EXPECT_EQ(children[77], 0u);
    EXPECT_EQ(SplitPages(children), pages);

    EXPECT_EQ(SplitPages({}), (std::vector<std::vector<uint32_t>>{{}}));
    EXPECT_EQ(SplitPages({0, 0}), (std::vector<std::vector<uint32_t>>{{}, {}, {}}));
    EXPECT_EQ(SplitPages({5, 0}), (std::vector<std::vector<uint32_t>>{{5}, {}}));
}

TEST(TemplateWriter, RefusesWhatTheFormatCannotHold) {
    TemplateImage image = Small();
    image.windows[0].records[3].name = std::string("a\0b", 3);
    EXPECT_FALSE(WriteTemplateImage(image));
    TemplateImage noRecords = Small();
    noRecords.windows[0].records.clear();
    EXPECT_FALSE(WriteTemplateImage(noRecords));
}

TEST(TemplateCursor, FailureIsStickyAndYieldsZeros) {
    const uint8_t data[] = {1, 0, 0, 0, 'a', 'b'};
    TemplateCursor c(data, sizeof data);
    EXPECT_EQ(c.U32(), 1u);
    EXPECT_EQ(c.ZText(), "");  // no NUL before the end
    EXPECT_FALSE(c.ok());
    EXPECT_EQ(c.U8(), 0u);
    EXPECT_TRUE(c.AtEnd());

    TemplateCursor d(data, sizeof data);
    EXPECT_TRUE(d.CountedBlock().size() == 1 && d.ok());
    EXPECT_TRUE(d.Sub(0).ok());  // an empty range is not a failure
    EXPECT_FALSE(d.CountFits(2, 1));
    EXPECT_FALSE(d.ok());
}

}  // namespace
