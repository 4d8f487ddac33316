// A program on the runtime whose command line picks one way into a fatal report of the form
// framework; the tests watch its message box and exit code from outside.
#include <windows.h>

#include <string>

#include "controls/unit_types.h"
#include "forms/events.h"
#include "forms/type_data/edit_box_data.h"
#include "runtime/entries.h"
#include "runtime/startup.h"
#include "tests/win/child_args.h"
#include "tests/win/forms/form_fixture.h"

namespace {

std::wstring g_mode;

constexpr uint32_t kEdit = 0x16010002, kBroken = 0x16010003, kOdd = 0x16010004;

std::vector<uint8_t> Template(std::vector<uint8_t> windowData = PlainWindowData()) {
    std::vector<uint8_t> tooNew = EditBoxData::Write({});
    tooNew[0] = 9;
    // Type 2 of library 1 is no unit type of this system.
    return ImageBytes(OneWindow({WindowRecord(std::move(windowData)), Unit(kEdit, kTypeEditBox, 10, 10, 80, 20, EditBoxData::Write({})),
                                 Unit(kBroken, kTypeEditBox, 10, 40, 80, 20, tooNew),
                                 Unit(kOdd, 0x00010002, 10, 70, 80, 20)}));
}

void RaiseFor(uint32_t windowId, uint32_t unitId) {
    EventRecord record;
    record.windowId = windowId;
    record.unitId = unitId;
    record.eventNumber = rt::Common::MouseDown.number;
    RtNotify(kNotifyRaiseEvent, reinterpret_cast<intptr_t>(&record), 0);
}

int32_t Entry() {
    const RtEntryTable& rt = RtEntries();
    if (g_mode == L"template-truncated") {
        std::vector<uint8_t> image = Template();
        image.resize(image.size() - 7);
        StartRuntime(image);
    } else if (g_mode == L"template-corrupt") {
        std::vector<uint8_t> image = Template();
        // The length of the first window's unit table (after the 12-byte window table, two
        // attribute words, two empty texts and the unit count) claims far more bytes than
        // the image holds.
        image[12 + 8 + 8 + 4 + 3] = 0x7F;
        StartRuntime(image);
    } else if (g_mode == L"start-window-version") {
        std::vector<uint8_t> windowData = PlainWindowData();
        windowData[0] = 7;
        StartRuntime(Template(windowData));
        rt.loadStartWindow(kTestWindowId);
    } else if (g_mode == L"start-window-unknown") {
        StartRuntime(Template());
        rt.loadStartWindow(0x52010002);
    } else {
        StartRuntime(Template());
        if (g_mode == L"read-unloaded") rt.readProperty(kTestWindowId, kEdit, rt::EditBox::Left.index, -1);
        rt.loadStartWindow(kTestWindowId);
        if (g_mode == L"read-no-window") rt.readProperty(kTestWindowId, kBroken, rt::EditBox::Content.index, -1);
        if (g_mode == L"write-no-window") rt.writeProperty(kTestWindowId, kBroken, rt::EditBox::Content.index, -1, 0, 0);
        if (g_mode == L"event-window") RaiseFor(0x52010009, kEdit);
        if (g_mode == L"event-unit") RaiseFor(kTestWindowId, 0x16010099);
        if (g_mode == L"event-invalid") RaiseFor(kTestWindowId, kOdd);
        if (g_mode == L"resolve-missing") RtNotify(kNotifyResolveUnit, kTestWindowId, kBroken);
    }
    return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    std::vector<std::wstring> args = ChildArguments();
    if (args.size() >= 2) g_mode = args[1];
    return RunApplication(instance, nullptr, &Entry);
}
