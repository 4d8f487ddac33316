// Arbitrary bytes as a window template image, and as the type data of every unit type.
// A read that succeeds must write back to the same bytes and read back to the same model;
// every type-data parse that succeeds must survive Write and Parse unchanged.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "controls/unit_types.h"
#include "forms/template_image.h"

namespace {

// Every type of the list of unit types.
struct CodecCheck {
    const uint8_t* data;
    size_t size;
    template <class Data>
    void operator()(uint32_t, uint32_t) const {
        auto parsed = Data::Parse(data, size);
        if (!parsed) return;
        std::vector<uint8_t> bytes = Data::Write(*parsed);
        auto again = Data::Parse(bytes.data(), bytes.size());
        if (!again || !(*again == *parsed)) std::abort();
    }
};

void CheckAllCodecs(const uint8_t* data, size_t size) { ForEachUnitType(CodecCheck{data, size}); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CheckAllCodecs(data, size);
    auto image = ReadTemplateImage(data, size);
    if (!image) return 0;
    for (const auto& w : image->windows) {
        for (const auto& r : w.records) {
            if (r.isMenuItem) continue;
            CheckAllCodecs(r.typeData.data(), r.typeData.size());
            if (JoinPages(SplitPages(r.children)) != r.children) std::abort();
            if (w.FindRecord(r.id) != &r) std::abort();
        }
    }
    auto bytes = WriteTemplateImage(*image);
    if (!bytes) std::abort();
    // The reader accepts only records laid out back to back, so writing is exact.
    if (bytes->size() != size || !std::equal(bytes->begin(), bytes->end(), data)) std::abort();
    auto again = ReadTemplateImage(bytes->data(), bytes->size());
    if (!again || !(*again == *image)) std::abort();
    return 0;
}
