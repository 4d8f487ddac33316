#include "tests/win/real_input.h"

void Key(WORD vk, bool up) {
    INPUT in = {};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    if (vk == VK_LEFT || vk == VK_RIGHT || vk == VK_UP || vk == VK_DOWN || vk == VK_HOME || vk == VK_END ||
        vk == VK_DELETE || vk == VK_INSERT || vk == VK_PRIOR || vk == VK_NEXT)
        in.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
    if (up) in.ki.dwFlags |= KEYEVENTF_KEYUP;
    SendInput(1, &in, sizeof in);
}

void Tap(WORD vk, int modifiers) {
    const WORD mods[] = {VK_CONTROL, VK_SHIFT, VK_MENU};
    for (int i = 0; i < 3; ++i)
        if (modifiers & (1 << i)) Key(mods[i], false);
    Key(vk, false);
    Key(vk, true);
    for (int i = 2; i >= 0; --i)
        if (modifiers & (1 << i)) Key(mods[i], true);
}

void TypeAscii(const char* text) {
    for (const char* p = text; *p; ++p) {
        SHORT scan = VkKeyScanW(static_cast<wchar_t>(static_cast<unsigned char>(*p)));
        if (scan == -1) continue;
        Tap(static_cast<WORD>(scan & 0xFF), ((scan >> 8) & 1) ? 2 : 0);
    }
}

void Mouse(POINT screen, DWORD flags) {
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dx = MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &in, sizeof in);
}

void ClickScreenPoint(POINT screen) {
    Mouse(screen, MOUSEEVENTF_MOVE);
    Mouse(screen, MOUSEEVENTF_LEFTDOWN);
    Mouse(screen, MOUSEEVENTF_LEFTUP);
}

void SentinelButtonUp() {
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.mouseData = kInputSentinelButton;
    in.mi.dwFlags = MOUSEEVENTF_XUP;
    SendInput(1, &in, sizeof in);
}
