#include "tools/formc/pam_image.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>

std::optional<PamImage> ReadPam(const std::filesystem::path& path, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot read the file " + path.string();
        return std::nullopt;
    }
    std::string line;
    if (!std::getline(in, line) || line != "P7") {
        error = path.string() + " is not a PAM (P7) file";
        return std::nullopt;
    }
    std::map<std::string, std::string> fields;
    for (;;) {
        if (!std::getline(in, line)) {
            error = path.string() + ": the PAM header has no ENDHDR";
            return std::nullopt;
        }
        if (line == "ENDHDR") break;
        if (line.empty() || line[0] == '#') continue;
        std::istringstream words(line);
        std::string name, value;
        words >> name >> value;
        fields[name] = value;
    }
    auto number = [&](const char* name) -> int64_t {
        auto it = fields.find(name);
        if (it == fields.end() || it->second.empty() || it->second.size() > 6 ||
            !std::all_of(it->second.begin(), it->second.end(), [](char c) { return c >= '0' && c <= '9'; }))
            return -1;
        return std::stoll(it->second);
    };
    int64_t width = number("WIDTH"), height = number("HEIGHT"), depth = number("DEPTH"), maxval = number("MAXVAL");
    std::string tuple = fields.count("TUPLTYPE") ? fields["TUPLTYPE"] : "";
    if (width < 1 || height < 1 || maxval != 255 || !((depth == 4 && tuple == "RGB_ALPHA") || (depth == 3 && tuple == "RGB"))) {
        error = path.string() + ": expected a PAM image of 8-bit RGB_ALPHA (or RGB) tuples";
        return std::nullopt;
    }
    std::vector<uint8_t> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (data.size() != static_cast<size_t>(width * height * depth)) {
        error = path.string() + ": the PAM pixel data holds " + std::to_string(data.size()) + " bytes, not " +
                std::to_string(width * height * depth);
        return std::nullopt;
    }
    PamImage image{static_cast<uint32_t>(width), static_cast<uint32_t>(height), {}};
    if (depth == 4) {
        image.rgba = std::move(data);
    } else {
        for (size_t i = 0; i < data.size(); i += 3) image.rgba.insert(image.rgba.end(), {data[i], data[i + 1], data[i + 2], 255});
    }
    return image;
}
