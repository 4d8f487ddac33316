// Malformed images of the program's own window template: cut short, and with one bit flipped.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

extern const unsigned char kMainWindowTemplate[];
extern const uint32_t kMainWindowTemplateSize;

inline std::vector<uint8_t> MainWindowImage() {
    return std::vector<uint8_t>(kMainWindowTemplate, kMainWindowTemplate + kMainWindowTemplateSize);
}

// `count` lengths spread from 0 to one byte short of the whole image.
inline std::vector<size_t> SpreadLengths(size_t size, size_t count) {
    std::vector<size_t> lengths;
    for (size_t i = 0; i < count; ++i) lengths.push_back(count < 2 ? 0 : i * (size - 1) / (count - 1));
    return lengths;
}

// The image with bit (position % 8) of byte `position` flipped.
inline std::vector<uint8_t> Flipped(std::vector<uint8_t> image, size_t position) {
    image[position] ^= static_cast<uint8_t>(1u << (position % 8));
    return image;
}
