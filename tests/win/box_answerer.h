// Message boxes of the test's own thread, found and answered from a second thread.
#pragma once

#include <windows.h>

#include <atomic>
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
    std::vector<HWND> ignored;  // boxes already there: one still closing is not the awaited one
};

inline BOOL CALLBACK FindDialog(HWND hwnd, LPARAM lParam) {
    auto* find = reinterpret_cast<FindBox*>(lParam);
    wchar_t cls[32];
    GetClassNameW(hwnd, cls, 32);
    if (wcscmp(cls, L"#32770") != 0 || !IsWindowVisible(hwnd)) return TRUE;
    for (HWND old : find->ignored)
        if (old == hwnd) return TRUE;
    find->box = hwnd;
    return FALSE;
}

// Every box `thread` shows at this moment.
inline std::vector<HWND> BoxesOf(DWORD thread) {
    std::vector<HWND> boxes;
    for (;;) {
        FindBox find;
        find.ignored = boxes;
        EnumThreadWindows(thread, &FindDialog, reinterpret_cast<LPARAM>(&find));
        if (!find.box) return boxes;
        boxes.push_back(find.box);
    }
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
        : before_(BoxesOf(thread)), worker_([=, this] { Run(thread, button, otherWindow); }) {}
    ~BoxAnswerer() {
        if (worker_.joinable()) worker_.join();
    }
    BoxSeen seen() {
        if (worker_.joinable()) worker_.join();
        return seen_;
    }
    // True once the box was answered or the watch gave up. A box that a posted message brings
    // up appears only while the watched thread pumps, so such a test pumps until this holds.
    bool finished() const { return finished_.load(); }

private:
    void Run(DWORD thread, int button, HWND otherWindow) {
        Watch(thread, button, otherWindow);
        finished_ = true;
    }
    void Watch(DWORD thread, int button, HWND otherWindow) {
        FindBox find;
        find.ignored = before_;
        for (int i = 0; i < 400 && !find.box; ++i) {  // up to 10 s
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
    std::vector<HWND> before_;
    std::atomic<bool> finished_{false};
    std::thread worker_;  // last: it starts at construction and uses the members above
};
