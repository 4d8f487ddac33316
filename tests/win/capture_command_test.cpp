// CaptureWindowImage of real windows and of the screen: the BMP file image, its rows and
// pixels, percentages and scaling, and a framed window on a desktop that draws frames.
#include <gtest/gtest.h>

#include <cstring>

#include "runtime/commands/core_commands.h"
#include "tests/win/child_process.h"
#include "tests/win/command_test_util.h"

namespace {

constexpr COLORREF kBackground = RGB(200, 0, 0);
constexpr COLORREF kMark = RGB(0, 0, 255);
constexpr RECT kMarkRect = {20, 30, 60, 50};  // in the window, which has no frame

LRESULT CALLBACK PaintProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        RECT all;
        GetClientRect(hwnd, &all);
        HBRUSH background = CreateSolidBrush(kBackground), mark = CreateSolidBrush(kMark);
        FillRect(dc, &all, background);
        FillRect(dc, &kMarkRect, mark);
        DeleteObject(background);
        DeleteObject(mark);
        EndPaint(hwnd, &ps);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// A frameless topmost window at (100, 120) of 200 × 100, red with a blue mark.
class PaintedWindow {
public:
    PaintedWindow(int width = 200, int height = 100) {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = &PaintProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"mg_capture_test";
        RegisterClassW(&wc);
        hwnd_ = CreateWindowExW(WS_EX_TOPMOST, L"mg_capture_test", L"", WS_POPUP | WS_VISIBLE, 100, 120, width,
                                height, nullptr, nullptr, wc.hInstance, nullptr);
        UpdateWindow(hwnd_);
        // Let the display catch up before reading pixels back.
        for (int i = 0; i < 20; ++i) {
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
            Sleep(20);
        }
    }
    ~PaintedWindow() {
        if (hwnd_) DestroyWindow(hwnd_);
    }
    HWND hwnd() const { return hwnd_; }

private:
    HWND hwnd_ = nullptr;
};

struct Bitmap {
    std::string file;
    uint32_t U32(size_t at) const {
        uint32_t v;
        std::memcpy(&v, file.data() + at, 4);
        return v;
    }
    uint16_t U16(size_t at) const {
        uint16_t v;
        std::memcpy(&v, file.data() + at, 2);
        return v;
    }
    int32_t Width() const { return static_cast<int32_t>(U32(18)); }
    int32_t Height() const { return static_cast<int32_t>(U32(22)); }
    size_t RowBytes() const { return (static_cast<size_t>(Width()) * 3 + 3) & ~size_t{3}; }
    // Pixel (x, y) counted from the top, read from the bottom-up rows.
    COLORREF Pixel(int x, int y) const {
        size_t at = 54 + RowBytes() * static_cast<size_t>(Height() - 1 - y) + static_cast<size_t>(x) * 3;
        auto b = static_cast<uint8_t>(file[at]), g = static_cast<uint8_t>(file[at + 1]),
             r = static_cast<uint8_t>(file[at + 2]);
        return RGB(r, g, b);
    }
};

Bitmap Capture(std::vector<ArgValue> args) {
    ArgValue v = Call(&CaptureWindowImage, std::move(args));
    EXPECT_EQ(v.tag, kTagBytes);
    return Bitmap{TakeBytes(v)};
}

bool Near(COLORREF a, COLORREF b, int tolerance = 24) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

void ExpectHeaders(const Bitmap& bmp, int width, int height) {
    ASSERT_GE(bmp.file.size(), 54u);
    EXPECT_EQ(bmp.file.substr(0, 2), "BM");
    const size_t rowBytes = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
    EXPECT_EQ(bmp.file.size(), 54 + rowBytes * static_cast<size_t>(height));
    EXPECT_EQ(bmp.U32(2), bmp.file.size());  // total size
    EXPECT_EQ(bmp.U32(6), 0u);               // two reserved words
    EXPECT_EQ(bmp.U32(10), 54u);             // pixel data offset
    EXPECT_EQ(bmp.U32(14), 40u);             // information header size
    EXPECT_EQ(bmp.Width(), width);
    EXPECT_EQ(bmp.Height(), height);  // positive: bottom-up
    EXPECT_EQ(bmp.U16(26), 1);        // planes
    EXPECT_EQ(bmp.U16(28), 24);       // bits per pixel
    EXPECT_EQ(bmp.U32(30), 0u);       // no compression
}

}  // namespace

TEST(CaptureWindowImage, WindowGivesACompleteBottomUpBitmapWithItsPixels) {
    PaintedWindow window;
    Bitmap bmp = Capture({Handle(window.hwnd())});
    ExpectHeaders(bmp, 200, 100);
    if (HasFatalFailure()) return;
    EXPECT_EQ(bmp.Pixel(25, 35), kMark);
    EXPECT_EQ(bmp.Pixel(100, 80), kBackground);
    EXPECT_EQ(bmp.Pixel(0, 0), kBackground);
    // The mark is near the top: in the file it lies in the rows near the end.
    EXPECT_EQ(bmp.Pixel(25, 100 - 1 - 35), kBackground);
}

TEST(CaptureWindowImage, TargetSizesAndPercentages) {
    PaintedWindow window;
    struct Row {
        ArgValue width, height;
        int expectedWidth, expectedHeight;
    };
    const Row rows[] = {
        {Int(0), Int(0), 200, 100},   {Omitted(), Omitted(), 200, 100}, {Int(-50), Int(0), 100, 100},
        {Int(-50), Int(-50), 100, 50}, {Int(-5), Int(-1), 20, 10},      {Int(-9), Int(-10), 20, 10},
        {Int(-200), Int(-100), 400, 100}, {Int(400), Int(200), 400, 200}, {Int(60), Int(30), 60, 30},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.expectedWidth << " x " << row.expectedHeight);
        Bitmap bmp = Capture({Handle(window.hwnd()), row.width, row.height});
        ExpectHeaders(bmp, row.expectedWidth, row.expectedHeight);
    }
    // Stretched to twice the size: the mark's centre (40, 40) becomes (80, 80).
    Bitmap big = Capture({Handle(window.hwnd()), Int(400), Int(200)});
    ASSERT_EQ(big.Width(), 400);
    EXPECT_TRUE(Near(big.Pixel(80, 80), kMark));
    EXPECT_TRUE(Near(big.Pixel(300, 150), kBackground));
    // Halved: the mark's centre becomes (20, 20).
    Bitmap small = Capture({Handle(window.hwnd()), Int(-50), Int(-50)});
    EXPECT_TRUE(Near(small.Pixel(20, 20), kMark));
}

TEST(CaptureWindowImage, TargetSizeThatIsNotPositiveGivesEmpty) {
    PaintedWindow window(8, 5);
    // 10 percent of 8 × 5 is 0 × 0.
    ArgValue v = Call(&CaptureWindowImage, {Handle(window.hwnd()), Int(-10), Int(-10)});
    EXPECT_EQ(v.tag, kTagBytes);
    EXPECT_EQ(v.Pointer(), nullptr);
    EXPECT_EQ(Call(&CaptureWindowImage, {Handle(window.hwnd()), Int(-10), Int(0)}).Pointer(), nullptr);
}

TEST(CaptureWindowImage, WithoutAWindowTheWholeScreenIsTaken) {
    PaintedWindow window;
    Bitmap bmp = Capture({});
    ExpectHeaders(bmp, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    if (HasFatalFailure()) return;
    EXPECT_EQ(bmp.Pixel(100 + 25, 120 + 35), kMark);
    EXPECT_EQ(bmp.Pixel(100 + 150, 120 + 80), kBackground);
}

TEST(CaptureWindowImage, AHandleThatIsNoWindowGivesEmpty) {
    HWND gone;
    {
        PaintedWindow window;
        gone = window.hwnd();
    }
    for (void* handle : {static_cast<void*>(gone), reinterpret_cast<void*>(0x12340)}) {
        ArgValue v = Call(&CaptureWindowImage, {Handle(handle)});
        EXPECT_EQ(v.tag, kTagBytes);
        EXPECT_EQ(v.Pointer(), nullptr);
    }
}

LRESULT CALLBACK KeyedProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        RECT all, square = {20, 15, 40, 35};
        GetClientRect(hwnd, &all);
        HBRUSH key = CreateSolidBrush(RGB(255, 0, 255)), green = CreateSolidBrush(RGB(0, 255, 0));
        FillRect(dc, &all, key);
        FillRect(dc, &square, green);
        DeleteObject(key);
        DeleteObject(green);
        EndPaint(hwnd, &ps);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// A window whose key colour lets the window below show through: the screen shows the window
// below there, the window's own drawing the key colour. The picture is what the screen shows.
TEST(CaptureWindowImage, AWindowIsTakenAsTheScreenShowsIt) {
    PaintedWindow below;
    WNDCLASSW wc = {};
    wc.lpfnWndProc = &KeyedProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"mg_capture_keyed";
    RegisterClassW(&wc);
    HWND keyed = CreateWindowExW(WS_EX_TOPMOST | WS_EX_LAYERED, L"mg_capture_keyed", L"", WS_POPUP, 150, 150, 100, 50,
                                 nullptr, nullptr, wc.hInstance, nullptr);
    SetLayeredWindowAttributes(keyed, RGB(255, 0, 255), 0, LWA_COLORKEY);
    ShowWindow(keyed, SW_SHOWNOACTIVATE);
    UpdateWindow(keyed);
    for (int i = 0; i < 20; ++i) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        Sleep(20);
    }
    Bitmap bmp = Capture({Handle(keyed)});
    DestroyWindow(keyed);
    ExpectHeaders(bmp, 100, 50);
    if (HasFatalFailure()) return;
    // The window below lies at (100, 120): its mark and its background show through.
    EXPECT_EQ(bmp.Pixel(5, 5), kMark) << "the window below shows through the key colour";
    EXPECT_EQ(bmp.Pixel(80, 40), kBackground) << "the window below shows through the key colour";
    EXPECT_EQ(bmp.Pixel(30, 25), RGB(0, 255, 0));
}

// Xvfb without a window manager shows no frames; Wine's own desktop draws them. A child
// program there captures a framed window uncovered, partly covered and partly off the
// screen, compares the pictures with what the screen shows and reports each check.
TEST(CaptureWindowImage, AFramedWindowIsTakenWithItsFrameAsTheScreenShowsIt) {
    TempDirectory dir;
    const std::wstring report = dir.File(L"capture-report.txt");
    std::wstring command = L"explorer.exe /desktop=mg_capture_" + std::to_wstring(GetCurrentProcessId()) +
                           L",800x600 \"" + TestBinaryPath(L"capture_child.exe") + L"\" \"" + report + L"\"";
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    CloseHandle(pi.hThread);
    // The report is written last; the desktop goes once its last program has ended.
    std::string text;
    for (int waited = 0; waited < 30000 && text.find("result ") == std::string::npos; waited += 100) {
        Sleep(100);
        if (GetFileAttributesW(report.c_str()) != INVALID_FILE_ATTRIBUTES) text = ReadWholeFile(report);
    }
    if (WaitForSingleObject(pi.hProcess, 15000) == WAIT_TIMEOUT) TerminateProcess(pi.hProcess, 99);
    CloseHandle(pi.hProcess);
    EXPECT_NE(text.find("result 0\n"), std::string::npos) << text;
}
