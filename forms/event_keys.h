// Arguments of the key and mouse events: the key code with the numeric keypad folded onto
// the main keyboard, and the modifier bits. Portable.
#pragma once

#include <cstdint>

constexpr int32_t kModifierCtrl = 1;
constexpr int32_t kModifierShift = 2;
constexpr int32_t kModifierAlt = 4;

// VK_NUMPAD0-9 become "0"-"9", the keypad minus, point and divide VK_OEM_MINUS (189),
// VK_OEM_PERIOD (190) and VK_OEM_2 (191); every other code is unchanged.
constexpr uint32_t FoldKeypadKey(uint32_t vk) {
    if (vk >= 0x60 && vk <= 0x69) return vk - 0x60 + 0x30;
    switch (vk) {
        case 0x6D: return 189;  // VK_SUBTRACT
        case 0x6E: return 190;  // VK_DECIMAL
        case 0x6F: return 191;  // VK_DIVIDE
        default: return vk;
    }
}

// Modifier bits of a key event: the bit of the key that is itself pressed or released is
// left out. For mouse events pass a key of 0.
constexpr int32_t KeyModifierState(bool ctrl, bool shift, bool alt, uint32_t vk) {
    bool isCtrl = vk == 0x11 || vk == 0xA2 || vk == 0xA3;
    bool isShift = vk == 0x10 || vk == 0xA0 || vk == 0xA1;
    bool isAlt = vk == 0x12 || vk == 0xA4 || vk == 0xA5;
    return (ctrl && !isCtrl ? kModifierCtrl : 0) | (shift && !isShift ? kModifierShift : 0) |
           (alt && !isAlt ? kModifierAlt : 0);
}

// Wheel steps of a WM_MOUSEWHEEL delta.
constexpr int32_t WheelSteps(int16_t delta) { return delta / 120; }
