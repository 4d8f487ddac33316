// The image list stream writer, checked byte by byte against the layout that the
// platform's ImageList_Read expects (the Windows tests read it with the platform itself).
#include "controls/image_list_stream.h"

#include <gtest/gtest.h>

#include "controls/list_view_data.h"

namespace {

uint32_t U16At(const std::vector<uint8_t>& b, size_t at) { return b.at(at) | (b.at(at + 1) << 8); }
uint32_t U32At(const std::vector<uint8_t>& b, size_t at) { return U16At(b, at) | (U16At(b, at + 2) << 16); }

// A pixel that tells image, column and row apart: R = image, G = x, B = y, A varies.
std::vector<uint8_t> Pattern(uint32_t image, uint32_t width, uint32_t height) {
    std::vector<uint8_t> rgba;
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x)
            rgba.insert(rgba.end(), {static_cast<uint8_t>(image + 1), static_cast<uint8_t>(x), static_cast<uint8_t>(y),
                                     static_cast<uint8_t>((x + y) % 2 ? 255 : 40)});
    return rgba;
}

ImageListSource Source(uint32_t count, uint32_t width = 16, uint32_t height = 16) {
    ImageListSource s{width, height, {}};
    for (uint32_t k = 0; k < count; ++k) s.images.push_back(Pattern(k, width, height));
    return s;
}

// Where the pieces of a stream of a width x height grid start.
struct Layout {
    size_t colourBits, maskHeader, maskBits, end;
    uint32_t gridWidth, gridHeight, maskStride;
};
Layout LayoutOf(uint32_t width, uint32_t height, uint32_t capacity) {
    Layout l{};
    l.gridWidth = width * 4;
    l.gridHeight = (capacity + 3) / 4 * height;
    l.maskStride = (l.gridWidth + 31) / 32 * 4;
    l.colourBits = 28 + 14 + 40;
    l.maskHeader = l.colourBits + size_t{l.gridWidth} * 4 * l.gridHeight;
    l.maskBits = l.maskHeader + 14 + 40 + 8;
    l.end = l.maskBits + size_t{l.maskStride} * l.gridHeight;
    return l;
}

TEST(ImageListStream, HeaderAndBitmapsHaveThePlatformLayout) {
    auto stream = WriteImageListStream(Source(4));
    ASSERT_TRUE(stream);
    const std::vector<uint8_t>& s = *stream;
    Layout l = LayoutOf(16, 16, 5);
    ASSERT_EQ(s.size(), l.end);
    EXPECT_EQ(s.size(), 8592u);  // 28 + (54 + 64 * 32 * 4) + (62 + 8 * 32)

    EXPECT_EQ(s[0], 'I');
    EXPECT_EQ(s[1], 'L');
    EXPECT_EQ(U16At(s, 2), 0x101u);
    EXPECT_EQ(U16At(s, 4), 4u);            // images
    EXPECT_EQ(U16At(s, 6), 5u);            // capacity: one spare slot
    EXPECT_EQ(U16At(s, 8), 4u);            // grow step
    EXPECT_EQ(U16At(s, 10), 16u);          // cx
    EXPECT_EQ(U16At(s, 12), 16u);          // cy
    EXPECT_EQ(U32At(s, 14), 0xFFFFFFFFu);  // CLR_NONE
    EXPECT_EQ(U16At(s, 18), 0x21u);        // ILC_COLOR32 | ILC_MASK
    for (size_t i = 0; i < 4; ++i) EXPECT_EQ(U16At(s, 20 + 2 * i), 0xFFFFu);

    // Colour BMP: file header, then the info header, then the pixels at once.
    EXPECT_EQ(s[28], 'B');
    EXPECT_EQ(s[29], 'M');
    EXPECT_EQ(U32At(s, 30), 54u + 8192u);  // file size
    EXPECT_EQ(U32At(s, 38), 54u);          // offset of the bits
    EXPECT_EQ(U32At(s, 42), 40u);
    EXPECT_EQ(U32At(s, 46), 64u);  // four images wide
    EXPECT_EQ(U32At(s, 50), 32u);  // two rows of images, bottom-up
    EXPECT_EQ(U16At(s, 54), 1u);
    EXPECT_EQ(U16At(s, 56), 32u);
    EXPECT_EQ(U32At(s, 58), 0u);
    EXPECT_EQ(U32At(s, 62), 8192u);

    // Mask BMP: 1 bit per pixel, black and white palette right after the info header.
    EXPECT_EQ(s[l.maskHeader], 'B');
    EXPECT_EQ(U32At(s, l.maskHeader + 2), 62u + 256u);
    EXPECT_EQ(U32At(s, l.maskHeader + 10), 62u);
    EXPECT_EQ(U32At(s, l.maskHeader + 18), 64u);
    EXPECT_EQ(U32At(s, l.maskHeader + 22), 32u);
    EXPECT_EQ(U16At(s, l.maskHeader + 28), 1u);
    EXPECT_EQ(U32At(s, l.maskHeader + 34), 256u);
    EXPECT_EQ(U32At(s, l.maskHeader + 54), 0x00000000u);
    EXPECT_EQ(U32At(s, l.maskHeader + 58), 0x00FFFFFFu);
}

// Every pixel of every image lands at its grid cell, as B, G, R, A, with a mask bit that
// is clear exactly where the pixel is mostly opaque; unused cells are transparent.
void ExpectGrid(uint32_t count, uint32_t width, uint32_t height) {
    SCOPED_TRACE(testing::Message() << count << " images of " << width << " x " << height);
    auto stream = WriteImageListStream(Source(count, width, height));
    ASSERT_TRUE(stream);
    const std::vector<uint8_t>& s = *stream;
    Layout l = LayoutOf(width, height, count + 1);
    ASSERT_EQ(s.size(), l.end);
    for (uint32_t gy = 0; gy < l.gridHeight; ++gy) {
        for (uint32_t gx = 0; gx < l.gridWidth; ++gx) {
            uint32_t k = gy / height * 4 + gx / width, x = gx % width, y = gy % height;
            size_t row = l.gridHeight - 1 - gy;
            const uint8_t* px = &s[l.colourBits + (row * l.gridWidth + gx) * 4];
            bool maskSet = (s[l.maskBits + row * l.maskStride + gx / 8] >> (7 - gx % 8)) & 1;
            if (k < count) {
                uint8_t alpha = (x + y) % 2 ? 255 : 40;
                ASSERT_EQ(px[0], y);
                ASSERT_EQ(px[1], x);
                ASSERT_EQ(px[2], k + 1);
                ASSERT_EQ(px[3], alpha);
                ASSERT_EQ(maskSet, alpha < 128) << gx << "," << gy;
            } else {
                ASSERT_EQ(px[0] | px[1] | px[2] | px[3], 0) << gx << "," << gy;
                ASSERT_TRUE(maskSet) << gx << "," << gy;
            }
        }
    }
}

TEST(ImageListStream, PlacesImagesInAGridFourWide) {
    ExpectGrid(4, 16, 16);  // the lamps: one full row, the spare slot starts a second
    ExpectGrid(1, 16, 16);
    ExpectGrid(3, 16, 16);  // three images and the spare fill one row exactly
    ExpectGrid(7, 5, 3);    // odd sizes: mask rows padded to 32 bits
    ExpectGrid(9, 10, 2);
}

TEST(ImageListStream, RefusesWhatTheFormatCannotHold) {
    std::string why;
    EXPECT_FALSE(WriteImageListStream(Source(0), &why));
    EXPECT_NE(why.find("at least one"), std::string::npos);
    EXPECT_FALSE(WriteImageListStream(Source(1, 0, 16), &why));
    EXPECT_FALSE(WriteImageListStream(Source(1, 16, 0), &why));
    EXPECT_FALSE(WriteImageListStream(ImageListSource{0x10000, 1, {std::vector<uint8_t>(0x40000)}}, &why));
    EXPECT_NE(why.find("65535"), std::string::npos);

    ImageListSource wrong = Source(2);
    wrong.images[1].pop_back();
    EXPECT_FALSE(WriteImageListStream(wrong, &why));
    EXPECT_NE(why.find("does not match"), std::string::npos);

    ImageListSource many{1, 1, std::vector<std::vector<uint8_t>>(0xFFFF, std::vector<uint8_t>(4))};
    EXPECT_FALSE(WriteImageListStream(many, &why));
    many.images.pop_back();
    EXPECT_TRUE(WriteImageListStream(many, &why)) << why;

    ImageListSource huge{0xFFFF, 0xFFFF, {{}}};  // sizes fit the header, the grid not a BMP
    EXPECT_FALSE(WriteImageListStream(huge, &why));
    EXPECT_NE(why.find("too large"), std::string::npos);
}

TEST(ImageListStream, PropertyBlockCarriesTheMarkAndTheStream) {
    auto stream = WriteImageListStream(Source(2));
    ASSERT_TRUE(stream);
    auto block = ImageListPropertyBlock(*stream);
    ASSERT_EQ(block.size(), stream->size() + 8);
    EXPECT_EQ(std::string(block.begin(), block.begin() + 4), "MITL");
    EXPECT_EQ(U32At(block, 4), 0u);
    EXPECT_TRUE(std::equal(stream->begin(), stream->end(), block.begin() + 8));
    EXPECT_TRUE(HasImageList(block));
}

}  // namespace
