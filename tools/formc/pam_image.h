// The PAM images that image-list keys of the form source name (tools/make-lamps.py writes
// them).
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// A PAM ("P7") image with 8-bit RGB_ALPHA or RGB tuples, as tools/make-lamps.py writes
// them. Returns the pixels as R, G, B, A (A = 255 for RGB); an error text otherwise.
struct PamImage {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> rgba;
};

std::optional<PamImage> ReadPam(const std::filesystem::path& path, std::string& error);
