// One handler bound to several units: real key presses in each reach it through the
// generated adapter with the unit that raised the event as the event source, then the key
// code and the modifier state, in that order.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "controls/support_libraries.h"
#include "controls/unit_types.h"
#include "forms/event_handler.h"
#include "forms/forms_runtime.h"
#include "runtime/program_descriptor.h"
#include "runtime/startup.h"
#include "shared_handler_form_units.h"
#include "tests/win/forms/form_fixture.h"
#include "tests/win/shared_handler_handlers.h"
#include "toolbox/rt.h"

extern const unsigned char kSharedHandlerForm[];
extern const uint32_t kSharedHandlerFormSize;
extern const EventHandlerEntry kSharedHandlerFormEvents[];

namespace {

struct Seen {
    rt::AnyUnit source;
    int32_t key;
    int32_t modifiers;
    bool operator==(const Seen&) const = default;
};
std::vector<Seen> g_seen;

alignas(8) const char kConstants[8] = {};
const ProgramDescriptor kDescriptor = {
    3, 0, 66502, reinterpret_cast<uintptr_t>(kSharedHandlerFormEvents), kConstants, sizeof kConstants,
    kSharedHandlerForm, kSharedHandlerFormSize, kSupportLibraryCount, SupportLibraries(), 0, nullptr, nullptr,
    &kFormsRuntimeHooks,
};

}  // namespace

void RecordKeyAndSource(int32_t key, int32_t modifiers) { g_seen.push_back({rt::EventSource(), key, modifiers}); }

TEST(SharedHandler, EachUnitReachesTheOneHandlerAsItsEventSource) {
    using namespace test_form;
    UseProgramDescriptor(&kDescriptor);
    InitialiseRuntime();
    RtLoadStartWindow(窗口.windowId);
    HWND window = reinterpret_cast<HWND>(rt::GetWindowHandle(窗口));
    ASSERT_NE(window, nullptr);
    SetForegroundWindow(window);
    ASSERT_TRUE(SettlePosted());

    // Outside a handler there is no event source.
    EXPECT_EQ(rt::EventSource(), (rt::AnyUnit{0, 0, kTypeWindow}));

    struct Press {
        rt::AnyUnit unit;
        WORD vk;
        int modifiers;  // 1 Ctrl, 2 Shift, 4 Alt held around the key
    };
    const Press presses[] = {{甲框, VK_RETURN, 2}, {乙框, VK_DOWN, 1}, {按钮, 'A', 0}, {甲框, VK_F5, 4}};
    for (const Press& p : presses) {
        rt::SetFocus(p.unit);
        Tap(p.vk, p.modifiers);
        ASSERT_TRUE(SettleInput());
    }
    // The modifier keys raise events of their own first; the key with its state follows.
    std::vector<Seen> keys;
    for (const Seen& s : g_seen)
        if (s.key != VK_SHIFT && s.key != VK_CONTROL && s.key != VK_MENU) keys.push_back(s);
    const std::vector<Seen> expected = {
        {甲框, VK_RETURN, 2}, {乙框, VK_DOWN, 1}, {按钮, 'A', 0}, {甲框, VK_F5, 4}};
    ASSERT_EQ(keys.size(), expected.size());
    for (size_t i = 0; i < keys.size(); ++i) {
        EXPECT_EQ(keys[i].source, expected[i].source) << i;
        EXPECT_EQ(keys[i].key, expected[i].key) << i;
        EXPECT_EQ(keys[i].modifiers, expected[i].modifiers) << i;
    }
}
