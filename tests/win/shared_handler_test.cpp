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

void Key(WORD vk, bool up) {
    INPUT in = {};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (vk == VK_DOWN ? KEYEVENTF_EXTENDEDKEY : 0);
    SendInput(1, &in, sizeof in);
}

void Pump(DWORD ms) {
    DWORD start = GetTickCount();
    MSG msg;
    while (GetTickCount() - start < ms) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!PreTranslateFormsMessage(&msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
        Sleep(5);
    }
}

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
    Pump(200);

    // Outside a handler there is no event source.
    EXPECT_EQ(rt::EventSource(), (rt::AnyUnit{0, 0, kTypeWindow}));

    struct Press {
        rt::AnyUnit unit;
        WORD vk;
        WORD modifier;  // 0: none
    };
    const Press presses[] = {
        {甲框, VK_RETURN, VK_SHIFT}, {乙框, VK_DOWN, VK_CONTROL}, {按钮, 'A', 0}, {甲框, VK_F5, VK_MENU}};
    for (const Press& p : presses) {
        rt::SetFocus(p.unit);
        Pump(50);
        if (p.modifier) Key(p.modifier, false);
        Key(p.vk, false);
        Key(p.vk, true);
        if (p.modifier) Key(p.modifier, true);
        Pump(150);
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
