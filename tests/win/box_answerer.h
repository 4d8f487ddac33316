// Message boxes of the test's own thread, found and answered from a second thread.
#pragma once

#include <windows.h>

#include <string>
#include <thread>
#include <vector>

struct BoxSeen {
    bool found = false;
    std::wstring caption, text;
    std::vector<int> buttonIds;
    HWND owner = nullptr;
    bool otherWindowEnabled = true;
};

struct FindBox {
    HWND box = nullptr;
};

inline BOOL CALLBACK FindDialog(HWND hwnd, LPARAM lParam) {
    wchar_t cls[32];
    GetClassNameW(hwnd, cls, 32);
    if (wcscmp(cls, L"#32770") != 0 || !IsWindowVisible(hwnd)) return TRUE;
    reinterpret_cast<FindBox*>(lParam)->box = hwnd;
    return FALSE;
}

inline std::wstring WindowText(HWND hwnd) {
    wchar_t buffer[512] = {};
    GetWindowTextW(hwnd, buffer, 512);
    return buffer;
}

// Watches for the box that `thread` shows, records what it shows and presses `button`.
class BoxAnswerer {
public:
    BoxAnswerer(DWORD thread, int button, HWND otherWindow)
        : worker_([=, this] { Run(thread, button, otherWindow); }) {}
    ~BoxAnswerer() {
        if (worker_.joinable()) worker_.join();
    }
    BoxSeen seen() {
        if (worker_.joinable()) worker_.join();
        return seen_;
    }

private:
    void Run(DWORD thread, int button, HWND otherWindow) {
        FindBox find;
        for (int i = 0; i < 200 && !find.box; ++i) {
            Sleep(25);
            EnumThreadWindows(thread, &FindDialog, reinterpret_cast<LPARAM>(&find));
        }
        if (!find.box) return;
        // Let the box finish its set-up: its text is there once the dialog has laid itself out,
        // which under load takes longer than a moment.
        Sleep(50);
        for (int i = 0; i < 80 && !GetWindowTextLengthW(GetDlgItem(find.box, 0xFFFF)); ++i) Sleep(25);
        seen_.found = true;
        seen_.caption = WindowText(find.box);
        seen_.owner = GetWindow(find.box, GW_OWNER);
        if (otherWindow) seen_.otherWindowEnabled = IsWindowEnabled(otherWindow);
        for (HWND child = GetWindow(find.box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            wchar_t cls[32];
            GetClassNameW(child, cls, 32);
            if (_wcsicmp(cls, L"Button") == 0 && IsWindowVisible(child))
                seen_.buttonIds.push_back(GetDlgCtrlID(child));
            else if (_wcsicmp(cls, L"Static") == 0 && GetDlgCtrlID(child) == 0xFFFF)
                seen_.text = WindowText(child);
        }
        PostMessageW(find.box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(find.box, button)));
    }

    BoxSeen seen_;
    std::thread worker_;
};
