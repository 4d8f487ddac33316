// The result rows' tips in the real program, in the lab: a host that loses one request in
// four (127.3.4.30) and answers the others in 30 ms, probed by eight passes; resting the
// pointer on its row shows its history as text and as a graph with a red bar per lost probe.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tests/win/screen_shot.h"
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

// Runs of adjacent pixel columns of the window, as the screen shows it, that hold a pixel
// `pick` likes: one per bar of the graph, whose bars stand a pixel apart.
int ColumnRuns(HWND window, bool (*pick)(COLORREF)) {
    RECT r = {};
    GetWindowRect(window, &r);
    const Shot a = CaptureScreen(r);
    int runs = 0;
    bool inRun = false;
    for (int x = 0; x < a.width; ++x) {
        bool hit = false;
        for (int y = 0; y < a.height && !hit; ++y) hit = pick(a.At(x, y));
        if (hit && !inRun) ++runs;
        inRun = hit;
    }
    return runs;
}
bool Red(COLORREF c) { return GetRValue(c) > 180 && GetGValue(c) < 90 && GetBValue(c) < 90; }
bool Blue(COLORREF c) { return GetBValue(c) > 150 && GetRValue(c) < 100; }

// The red and blue bars of the tip that shows, once the screen shows them as counted.
bool BarsShown(const Toolbox& t, int red, int blue, std::string* seen) {
    return WaitUntil([&] {
        HWND tip = t.ShownTip();
        const int r = tip ? ColumnRuns(tip, &Red) : -1, b = tip ? ColumnRuns(tip, &Blue) : -1;
        *seen = std::to_string(r) + " red and " + std::to_string(b) + " blue bars";
        return r == red && b == blue;
    });
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

    // Before any pass no row has a history, so resting on one shows nothing. The list checks
    // the resting pointer once per hover time: the first check after the pointer came finds it
    // moved, the next posts the hover. Each check is waited for until it is due and the
    // program has run it, then the hover itself until it is dispatched.
    t.HoverRow(疆内超级列表框, 0);
    UINT hoverMs = 400;
    SystemParametersInfoW(SPI_GETMOUSEHOVERTIME, 0, &hoverMs, 0);
    for (int check = 0; check < 2; ++check) {
        Sleep(hoverMs + 100);
        ASSERT_TRUE(t.Settle());
    }
    ASSERT_TRUE(t.Sync());
    EXPECT_EQ(t.ShownTip(), nullptr);

    // Eight passes, one click each; a pass has reached the row once its tip counts it (an
    // open tip follows the row's new probes). The interval is far longer than the test, so the
    // timer's own passes never add a ninth on a slow machine.
    t.Click(编辑框秒);
    t.Type("600");
    ASSERT_EQ(t.Text(编辑框秒), "600");
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
    const int shortest = NumberAfter(text, "最短"), mean = NumberAfter(text, "平均"), longest = NumberAfter(text, "最长");
    EXPECT_GE(shortest, 30) << text;
    EXPECT_LE(shortest, mean) << text;
    EXPECT_LE(mean, longest) << text;
    // Six replies in blue, the two losses in red.
    std::string bars;
    EXPECT_TRUE(BarsShown(t, 2, 6, &bars)) << bars;
    if (const char* shot = std::getenv("MG_TIP_SHOT")) {
        RECT list = t.ScreenRect(疆内分组框), tip = {};
        GetWindowRect(t.ShownTip(), &tip);
        RECT both = {};
        UnionRect(&both, &list, &tip);
        InflateRect(&both, 8, 8);
        const RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        IntersectRect(&both, &both, &screen);  // the screen DC gives nothing for an area past its edge
        WriteWholeFile(Wide(shot), BmpFile(CaptureScreen(both)));
    }

    // Moving to the next row shows that row's tip at once; leaving the list hides it.
    t.HoverRow(疆内超级列表框, 1);
    EXPECT_TRUE(WaitUntil([&] { return t.TipText().find("快（127.0.0.2）") == 0; }, kTipWait)) << t.TipText();
    EXPECT_NE(t.TipText().find("最近8次：丢失0次（0%）"), std::string::npos) << t.TipText();
    EXPECT_TRUE(BarsShown(t, 0, 8, &bars)) << bars;
    RECT box = t.ScreenRect(编辑框秒);
    t.MovePointer({(box.left + box.right) / 2, (box.top + box.bottom) / 2});
    EXPECT_TRUE(WaitUntil([&] { return t.ShownTip() == nullptr; }, kTipWait));
    EXPECT_EQ(t.Close(), 0u);
}
