// The main window's template image, as the program carries it, damaged: cut short at every
// length and with single bits flipped. The reader (and the unit types' parsers after it) must
// refuse or accept without reading outside the image; an image cut short is always refused.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include "controls/unit_types.h"
#include "forms/template_image.h"
#include "tools/formc/form_compiler.h"

namespace {

const std::vector<uint8_t>& Image() {
    static const std::vector<uint8_t> bytes = [] {
        FormCompileResult r = CompileFormFile(MG_SOURCE_DIR "/toolbox/main_window.toml");
        return r.ok ? r.bytes : std::vector<uint8_t>{};
    }();
    return bytes;
}

uint32_t Get32(const std::vector<uint8_t>& b, size_t at) {
    uint32_t v;
    std::memcpy(&v, b.data() + at, 4);
    return v;
}

// Where the window's unit table and its length lie: after the window table, the two
// attribute words, the counted name and comment, and the unit count.
struct TableAt {
    size_t length;  // offset of the table's u32 length
    size_t start;   // first byte of the table
};
TableAt UnitTableOf(const std::vector<uint8_t>& b) {
    size_t at = 4 + Get32(b, 0) + 8;
    at += 4 + Get32(b, at);  // name
    at += 4 + Get32(b, at);  // comment
    at += 4;                 // unit count
    return {at, at + 4};
}

// What loading does with a record next: the unit type of its code (from the list of unit
// types) parses the type data.
struct TypeDataParse {
    const UnitRecord& record;
    template <class Data>
    void operator()(uint32_t code, uint32_t) const {
        if (record.typeCode != code) return;
        std::vector<uint8_t> own(record.typeData);  // exactly its size: ASan sees a read past it
        (void)Data::Parse(own.data(), own.size());
    }
};

void ParseTypeData(const TemplateImage& image) {
    for (const WindowTemplate& w : image.windows)
        for (const UnitRecord& r : w.records) ForEachUnitType(TypeDataParse{r});
}

// Reads damaged bytes from a buffer of their own size. An image that is accepted is parsed
// on into its type data and must write back to the very same bytes.
std::optional<TemplateImage> ReadDamaged(const std::vector<uint8_t>& bytes) {
    std::vector<uint8_t> own(bytes);
    std::optional<TemplateImage> image = ReadTemplateImage(own.data(), own.size());
    if (image) {
        ParseTypeData(*image);
        std::optional<std::vector<uint8_t>> again = WriteTemplateImage(*image);
        EXPECT_TRUE(again && *again == bytes) << "an accepted image does not write back to its bytes";
    }
    return image;
}

}  // namespace

TEST(MainWindowTemplate, CutShortAtEveryLengthIsRefused) {
    const std::vector<uint8_t>& image = Image();
    ASSERT_GT(image.size(), 1000u);
    ASSERT_TRUE(ReadDamaged(image));
    size_t accepted = 0;
    for (size_t n = 0; n < image.size(); ++n)
        if (ReadDamaged(std::vector<uint8_t>(image.begin(), image.begin() + n))) ++accepted;
    EXPECT_EQ(accepted, 0u);
}

// A cut image whose outer lengths are made to agree with the cut, so that the reader goes on
// into the unit records and meets the end inside one of them.
TEST(MainWindowTemplate, UnitTableCutShortAtEveryLengthIsRefused) {
    const std::vector<uint8_t>& image = Image();
    const TableAt table = UnitTableOf(image);
    ASSERT_EQ(table.start + Get32(image, table.length), image.size());
    size_t accepted = 0;
    for (size_t n = table.start; n < image.size(); ++n) {
        std::vector<uint8_t> cut(image.begin(), image.begin() + n);
        uint32_t length = static_cast<uint32_t>(n - table.start);
        std::memcpy(cut.data() + table.length, &length, 4);
        if (ReadDamaged(cut)) ++accepted;
    }
    EXPECT_EQ(accepted, 0u);
}

// Every bit of the image's header up to the unit table, one bit in every third byte of the
// table's id and offset arrays, and one bit in every 37th byte of the records (the fuzzer
// goes further).
TEST(MainWindowTemplate, SingleBitFlipsAreRefusedOrReadSafely) {
    const std::vector<uint8_t>& image = Image();
    const TableAt table = UnitTableOf(image);
    const size_t arraysEnd = table.start + 8 * Get32(image, table.length - 4);
    ASSERT_LT(arraysEnd, image.size());
    size_t refused = 0, accepted = 0;
    auto flip = [&](size_t position, int bit) {
        std::vector<uint8_t> damaged = image;
        damaged[position] ^= static_cast<uint8_t>(1u << bit);
        (ReadDamaged(damaged) ? accepted : refused) += 1;
    };
    for (size_t position = 0; position < table.start; ++position)
        for (int bit = 0; bit < 8; ++bit) flip(position, bit);
    for (size_t position = table.start; position < arraysEnd; position += 3) flip(position, static_cast<int>(position % 8));
    for (size_t position = arraysEnd; position < image.size(); position += 37) flip(position, static_cast<int>(position % 8));
    // Both kinds occur: lengths and ids are checked, texts and coordinates are not.
    EXPECT_GT(refused, 0u);
    EXPECT_GT(accepted, 0u);
}
