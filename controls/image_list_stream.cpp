#include "controls/image_list_stream.h"

#include <algorithm>

#include "forms/template_writer.h"

namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint16_t kGrowStep = 4;  // the platform rounds a list's grow step up to a multiple of 4

std::optional<std::vector<uint8_t>> Refuse(std::string* why, const char* message) {
    if (why) *why = message;
    return std::nullopt;
}

// One BMP file: file header, info header, palette, then the pixel rows bottom-up.
void WriteBmp(TemplateWriter& w, uint32_t width, uint32_t height, uint16_t bitCount, const std::vector<uint32_t>& palette,
              const std::vector<uint8_t>& bottomUpRows) {
    uint32_t offBits = kFileHeaderSize + kInfoHeaderSize + 4 * static_cast<uint32_t>(palette.size());
    w.U8('B');
    w.U8('M');
    w.U32(offBits + static_cast<uint32_t>(bottomUpRows.size()));
    w.U32(0);  // two reserved words
    w.U32(offBits);
    w.U32(kInfoHeaderSize);
    w.I32(static_cast<int32_t>(width));
    w.I32(static_cast<int32_t>(height));  // positive: bottom-up
    w.U16(1);                             // planes
    w.U16(bitCount);
    w.U32(0);  // BI_RGB
    w.U32(static_cast<uint32_t>(bottomUpRows.size()));
    w.I32(0);  // pixels per metre, x and y
    w.I32(0);
    w.U32(0);  // colours used: all that the bit count allows
    w.U32(0);  // colours important
    for (uint32_t quad : palette) w.U32(quad);
    w.Bytes(bottomUpRows);
}

}  // namespace

std::optional<std::vector<uint8_t>> WriteImageListStream(const ImageListSource& source, std::string* why) {
    const uint64_t count = source.images.size();
    if (count == 0) return Refuse(why, "an image list needs at least one image");
    if (source.width == 0 || source.height == 0 || source.width > 0xFFFF || source.height > 0xFFFF)
        return Refuse(why, "image width and height must be 1 to 65535 pixels");
    if (count + 1 > 0xFFFF) return Refuse(why, "an image list holds at most 65534 images");
    const uint64_t capacity = count + 1;
    const uint64_t gridWidth = uint64_t{source.width} * kImageListGridColumns;
    const uint64_t gridRows = (capacity + kImageListGridColumns - 1) / kImageListGridColumns;
    const uint64_t gridHeight = gridRows * source.height;
    const uint64_t colourStride = gridWidth * 4;
    const uint64_t maskStride = (gridWidth + 31) / 32 * 4;  // BMP rows are padded to 32 bits
    if (gridHeight > 0x7FFFFFFF || colourStride * gridHeight + maskStride * gridHeight > 0x7FFF0000)
        return Refuse(why, "the image list is too large for a BMP");
    const uint64_t imageBytes = uint64_t{source.width} * source.height * 4;
    for (const auto& image : source.images)
        if (image.size() != imageBytes) return Refuse(why, "an image's pixel data does not match the list's image size");

    // Both grids start fully transparent: black colour, every mask bit set.
    std::vector<uint8_t> colour(colourStride * gridHeight, 0);
    std::vector<uint8_t> mask(maskStride * gridHeight, 0xFF);
    for (uint64_t k = 0; k < count; ++k) {
        const uint8_t* rgba = source.images[k].data();
        const uint64_t left = (k % kImageListGridColumns) * source.width;
        const uint64_t top = (k / kImageListGridColumns) * source.height;
        for (uint64_t y = 0; y < source.height; ++y) {
            const uint64_t row = gridHeight - 1 - (top + y);  // bottom-up
            for (uint64_t x = 0; x < source.width; ++x) {
                const uint8_t* p = rgba + (y * source.width + x) * 4;
                uint8_t* q = colour.data() + row * colourStride + (left + x) * 4;
                q[0] = p[2];  // B, G, R, A
                q[1] = p[1];
                q[2] = p[0];
                q[3] = p[3];
                if (p[3] >= 128) {
                    const uint64_t gx = left + x;
                    mask[row * maskStride + gx / 8] &= static_cast<uint8_t>(~(0x80u >> (gx % 8)));
                }
            }
        }
    }

    TemplateWriter w;
    w.U16(kImageListMagic);
    w.U16(kImageListVersion);
    w.U16(static_cast<uint16_t>(count));
    w.U16(static_cast<uint16_t>(capacity));
    w.U16(kGrowStep);
    w.U16(static_cast<uint16_t>(source.width));
    w.U16(static_cast<uint16_t>(source.height));
    w.U32(kClrNone);
    w.U16(kIlcColor32 | kIlcMask);
    for (int i = 0; i < 4; ++i) w.U16(0xFFFF);  // no overlay images
    WriteBmp(w, static_cast<uint32_t>(gridWidth), static_cast<uint32_t>(gridHeight), 32, {}, colour);
    // Mask palette: index 0 black (image), index 1 white (transparent).
    WriteBmp(w, static_cast<uint32_t>(gridWidth), static_cast<uint32_t>(gridHeight), 1, {0x00000000, 0x00FFFFFF}, mask);
    return w.Take();
}

std::vector<uint8_t> ImageListPropertyBlock(const std::vector<uint8_t>& stream) {
    // The mark, 4 bytes that readers skip, then the stream.
    std::vector<uint8_t> block(8 + stream.size(), 0);
    const char mark[4] = {'M', 'I', 'T', 'L'};
    std::copy(mark, mark + 4, block.begin());
    std::copy(stream.begin(), stream.end(), block.begin() + 8);
    return block;
}
