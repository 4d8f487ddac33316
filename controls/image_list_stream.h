// Image list streams in the platform's ImageList_Write format, and the "MITL" property
// block that carries one in a unit's type data (list view and status bar image lists).
//
// Stream layout (little-endian):
//   header   u16 magic "IL", u16 version 0x101, u16 image count, u16 capacity,
//            u16 grow step, u16 image width, u16 image height, u32 background colour,
//            u16 ILC_ flags, 4 x i16 overlay image indexes (-1 none)       28 bytes
//   images   a BMP file (file header, info header, pixels) of 32 bits per pixel
//   mask     a BMP file of 1 bit per pixel with its two-entry palette (ILC_MASK)
// Both bitmaps hold the images in a grid four images wide, image k at column k % 4 and
// row k / 4 counted from the top, with rows for `capacity` images; the bitmaps are stored
// bottom-up, as BMP files usually are. The capacity is one more than the image count,
// the spare slot the platform allocates when it creates a list, so the stream looks like
// one the platform wrote itself. The reader ignores the BMP file header's offset field
// and expects each palette right after its info header, so nothing may stand between.
//
// Colour pixels keep straight (not premultiplied) alpha; the reader draws a 32-bit image
// that has any alpha with alpha blending. The mask marks pixels with alpha below 128 as
// transparent, for drawing without alpha. The background colour is CLR_NONE, so images
// are drawn transparently.
//
// Portable: no Windows header.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

constexpr uint16_t kImageListMagic = 0x4C49;  // "IL"
constexpr uint16_t kImageListVersion = 0x101;
constexpr uint16_t kIlcMask = 0x0001;
constexpr uint16_t kIlcColor32 = 0x0020;
constexpr uint32_t kClrNone = 0xFFFFFFFF;
constexpr uint32_t kImageListGridColumns = 4;
constexpr size_t kImageListHeaderSize = 28;

// Images of one size, each width * height pixels as R, G, B, A bytes, top row first.
struct ImageListSource {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<std::vector<uint8_t>> images;
};

// nullopt (with *why) when the list cannot be written: no image, a size of 0 or beyond
// the format's 16-bit fields or the BMP's size fields, or an image of the wrong length.
std::optional<std::vector<uint8_t>> WriteImageListStream(const ImageListSource& source, std::string* why = nullptr);

// The property block: "MITL", 4 bytes that are not read (stored 0), the stream.
std::vector<uint8_t> ImageListPropertyBlock(const std::vector<uint8_t>& stream);
