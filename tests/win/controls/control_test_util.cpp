#include "tests/win/controls/control_test_util.h"

#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <sstream>
#include <thread>

#include "tests/win/forms/form_fixture.h"

Shot CaptureClient(HWND hwnd) {
    RedrawWindow(hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    Pump(30);
    RECT r;
    GetClientRect(hwnd, &r);
    MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return CaptureScreen(r);
}

bool ClickAt(HWND hwnd, POINT client) {
    ClientToScreen(hwnd, &client);
    ClickScreenPoint(client);
    return SettlePointerInput();
}

MessageLog::MessageLog(std::vector<HWND> windows, std::vector<UINT> messages)
    : windows_(std::move(windows)), messages_(std::move(messages)) {
    for (HWND h : windows_) SetWindowSubclass(h, &MessageLog::Proc, 0x4D4C, reinterpret_cast<DWORD_PTR>(this));
}

MessageLog::~MessageLog() {
    for (HWND h : windows_)
        if (IsWindow(h)) RemoveWindowSubclass(h, &MessageLog::Proc, 0x4D4C);
}

LRESULT CALLBACK MessageLog::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<MessageLog*>(data);
    if (std::find(self->messages_.begin(), self->messages_.end(), message) != self->messages_.end())
        self->entries_.push_back({hwnd, message});
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

void RunOnWorkerWhilePumping(const std::function<void()>& work) {
    std::atomic<bool> done{false};
    std::thread worker([&] {
        work();
        done = true;
    });
    while (!done) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    worker.join();
}
