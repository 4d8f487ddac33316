// Arbitrary bytes as a window template image, and as the type data of every unit type.
// A read that succeeds must write back to the same bytes and read back to the same model;
// every type-data parse that succeeds must survive Write and Parse unchanged.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "controls/list_view_data.h"
#include "controls/page_control_data.h"
#include "controls/trans_label_data.h"
#include "forms/template_image.h"
#include "forms/type_data/button_data.h"
#include "forms/type_data/combo_box_data.h"
#include "forms/type_data/edit_box_data.h"
#include "forms/type_data/group_box_data.h"
#include "forms/type_data/label_data.h"
#include "forms/type_data/list_box_data.h"
#include "forms/type_data/status_bar_data.h"
#include "forms/type_data/timer_data.h"
#include "forms/type_data/window_data.h"

namespace {

template <typename T>
void CheckCodec(const uint8_t* data, size_t size) {
    auto parsed = T::Parse(data, size);
    if (!parsed) return;
    std::vector<uint8_t> bytes = T::Write(*parsed);
    auto again = T::Parse(bytes.data(), bytes.size());
    if (!again || !(*again == *parsed)) std::abort();
}

void CheckAllCodecs(const uint8_t* data, size_t size) {
    CheckCodec<WindowData>(data, size);
    CheckCodec<EditBoxData>(data, size);
    CheckCodec<LabelData>(data, size);
    CheckCodec<GroupBoxData>(data, size);
    CheckCodec<ButtonData>(data, size);
    CheckCodec<TimerData>(data, size);
    CheckCodec<ComboBoxData>(data, size);
    CheckCodec<ListBoxData>(data, size);
    CheckCodec<StatusBarData>(data, size);
    CheckCodec<TransLabelData>(data, size);
    CheckCodec<PageControlData>(data, size);
    CheckCodec<ListViewData>(data, size);
}

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
