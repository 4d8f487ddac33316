// The result rows' tips in the real program, in the lab: a host that loses one request in
// four (127.3.4.30) and answers the others in 30 ms, probed by eight passes; resting the
// pointer on its row shows its history as text and as a graph with a red bar per lost probe.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tests/win/toolbox/toolbox_driver.h"

using namespace units;

namespace {

// The hover time and some room for a loaded machine.
constexpr DWORD kTipWait = 5000;

// The number after `key` in the text, or -1.
int NumberAfter(const std::string& text, const std::string& key) {
    size_t at = text.find(key);
    return at == std::string::npos ? -1 : std::atoi(text.c_str() + at + key.size());
}

// What the screen shows in `r`: 32-bit pixels (blue, green, red, unused), top row first.
struct ScreenArea {
    int width = 0, height = 0;
    std::vector<uint8_t> pixels;
    const uint8_t* At(int x, int y) const { return pixels.data() + (static_cast<size_t>(y) * width + x) * 4; }
};
ScreenArea CaptureScreen(RECT r) {
    ScreenArea a{r.right - r.left, r.bottom - r.top, {}};
    if (a.width <= 0 || a.height <= 0) return {};
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), a.width, -a.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, a.width, a.height, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    const auto* p = static_cast<const uint8_t*>(bits);
    a.pixels.assign(p, p + static_cast<size_t>(a.width) * a.height * 4);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return a;
}

// Runs of adjacent pixel columns of the window, as the screen shows it, that hold red.
int RedColumnRuns(HWND window) {
    RECT r = {};
    GetWindowRect(window, &r);
    const ScreenArea a = CaptureScreen(r);
    int runs = 0;
    bool inRun = false;
    for (int x = 0; x < a.width; ++x) {
        bool red = false;
        for (int y = 0; y < a.height && !red; ++y) {
            const uint8_t* p = a.At(x, y);
            red = p[2] > 180 && p[1] < 90 && p[0] < 90;
        }
        if (red && !inRun) ++runs;
        inRun = red;
    }
    return runs;
}

// The README's picture of a tip (MG_TIP_SHOT=file.bmp, tools/make-tip-shot.sh): the area as a
// 32-bit BMP file.
void SaveScreenArea(RECT r, const char* path) {
    ScreenArea a = CaptureScreen(r);
    for (size_t i = 3; i < a.pixels.size(); i += 4) a.pixels[i] = 0xFF;  // opaque: readers take the 4th byte as alpha
    BITMAPINFOHEADER info = {sizeof(BITMAPINFOHEADER), a.width, -a.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = static_cast<DWORD>(file.bfOffBits + a.pixels.size());
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
    bytes.append(reinterpret_cast<const char*>(&info), sizeof info);
    bytes.append(reinterpret_cast<const char*>(a.pixels.data()), a.pixels.size());
    WriteWholeFile(Wide(path), bytes);
}

}  // namespace

TEST(RowTip, ShowsEachProbedRowsRecentHistoryAndNothingForARowWithout) {
    Toolbox::Options options;
    options.files = {{L"疆内.txt", HostList({{"落", "127.3.4.30"}, {"快", "127.0.0.2"}})},
                     {L"疆外.txt", HostList({{"远", "127.1.0.50"}})}};
    options.clock = "2026-12-09 10:20:30";
    Toolbox t(options);
    ASSERT_TRUE(t.started());
    t.ShowPage(1);

    // Before any pass no row has a history, so resting on one shows nothing.
    t.HoverRow(疆内超级列表框, 0);
    Sleep(1500);
    EXPECT_EQ(t.ShownTip(), nullptr);

    // Eight passes, one click each; a pass has reached the row once its tip counts it (an
    // open tip follows the row's new probes).
    for (int pass = 1; pass <= 8; ++pass) {
        SCOPED_TRACE("pass " + std::to_string(pass));
        t.Click(开始);
        t.HoverRow(疆内超级列表框, 0);
        const std::string counted = "最近" + std::to_string(pass) + "次";
        // A rest that ended before the row's first probe showed nothing: the pointer rests again.
        DWORD rested = GetTickCount();
        auto counts = [&] {
            if (!t.ShownTip() && GetTickCount() - rested > 1500) {
                t.HoverRow(疆内超级列表框, 0);
                rested = GetTickCount();
            }
            return t.TipText().find(counted) != std::string::npos;
        };
        ASSERT_TRUE(WaitUntil(counts, 30000)) << t.TipText();
    }
    t.Click(停止);
    t.HoverRow(疆内超级列表框, 0);
    ASSERT_TRUE(WaitUntil([&] { return t.ShownTip() != nullptr; }, kTipWait));
    const std::string text = t.TipText();
    EXPECT_EQ(text.substr(0, text.find("\r\n")), "落（127.3.4.30）") << text;
    EXPECT_NE(text.find("\r\n最近8次：丢失2次（25%）\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\r\n灯色自10时20分30秒起"), std::string::npos) << text;
    // The replies took 30 ms; a loaded machine reads them late, never early.
    for (const char* key : {"最短", "平均", "最长"}) {
        const int ms = NumberAfter(text, key);
        EXPECT_GE(ms, 30) << key << " in " << text;
        EXPECT_LT(ms, 30 + 150) << key << " in " << text;
    }
    Sleep(300);  // painted
    EXPECT_EQ(RedColumnRuns(t.ShownTip()), 2);
    if (const char* shot = std::getenv("MG_TIP_SHOT")) {
        RECT list = t.ScreenRect(疆内分组框), tip = {};
        GetWindowRect(t.ShownTip(), &tip);
        RECT both = {};
        UnionRect(&both, &list, &tip);
        InflateRect(&both, 8, 8);
        const RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        IntersectRect(&both, &both, &screen);  // the screen DC gives nothing for an area past its edge
        SaveScreenArea(both, shot);
    }

    // Moving to the next row shows that row's tip at once; leaving the list hides it.
    t.HoverRow(疆内超级列表框, 1);
    EXPECT_TRUE(WaitUntil([&] { return t.TipText().find("快（127.0.0.2）") == 0; }, kTipWait)) << t.TipText();
    EXPECT_NE(t.TipText().find("最近8次：丢失0次（0%）"), std::string::npos) << t.TipText();
    EXPECT_EQ(RedColumnRuns(t.ShownTip()), 0);
    RECT box = t.ScreenRect(编辑框秒);
    t.MovePointer({(box.left + box.right) / 2, (box.top + box.bottom) / 2});
    EXPECT_TRUE(WaitUntil([&] { return t.ShownTip() == nullptr; }, kTipWait));
    EXPECT_EQ(t.Close(), 0u);
}
