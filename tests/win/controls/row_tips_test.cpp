// The tips of a list view unit's rows, in this process with real pointer input: where a tip
// shows (beside the list, level with its row, on the left when the right has no room), that
// it follows the pointer from row to row and goes when the pointer leaves, and that a record
// for the row whose tip is open redraws the tip at once while one for another row does not.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <map>
#include <string>
#include <vector>

#include "controls/list_view_data.h"
#include "controls/list_view_unit.h"
#include "controls/row_tip.h"
#include "controls/unit_types.h"
#include "forms/forms_runtime.h"
#include "tests/win/controls/control_test_util.h"
#include "tests/win/forms/form_fixture.h"

namespace {

constexpr uint32_t kList = 0x16010002;

// Tips as the test sets them: lines and bars per row; a record adds a lost probe's bar and a
// line naming the record. Rows without an entry have no tip.
class TestSource final : public RowTipSource {
public:
    std::map<int32_t, RowTipContent> tips;
    std::vector<int32_t> recorded;

    void Record(int32_t row, const void* record) override {
        recorded.push_back(row);
        RowTipContent& tip = tips[row];
        tip.lines.push_back("record " + std::to_string(*static_cast<const int*>(record)));
        tip.bars.push_back({0, true});
    }
    bool Describe(int32_t row, RowTipContent& content) override {
        auto it = tips.find(row);
        if (it == tips.end()) return false;
        content = it->second;
        return true;
    }
};

RowTipContent Tip(const std::string& line, int bars) {
    RowTipContent c;
    c.lines = {line};
    for (int i = 0; i < bars; ++i) c.bars.push_back({static_cast<uint32_t>(10 * (i + 1)), false});
    c.top = 100;
    return c;
}

class RowTipsTest : public testing::Test {
protected:
    // A report list of four rows, rows 0 to 2 with a tip, in a window at `windowLeft`.
    void Load(int windowLeft) {
        ListViewData d;
        d.viewType = 3;
        d.columns = {{0, -1, 0, 120, "主机"}};
        for (const char* text : {"甲", "乙", "丙", "丁"}) {
            ListViewCell cell;
            cell.text = text;
            d.rows.push_back({cell});
        }
        StartRuntime(ImageBytes(OneWindow({WindowRecord(PlainWindowData(), windowLeft, 40, 300, 260),
                                           Unit(kList, kTypeListView, 10, 10, 200, 150, ListViewData::Write(d))})));
        ASSERT_TRUE(LoadStartWindowById(kTestWindowId));
        SetForegroundWindow(FormHandle());
        auto owned = std::make_unique<TestSource>();
        source = owned.get();
        source->tips = {{0, Tip("甲的提示", 2)}, {1, Tip("乙的提示", 3)}, {2, Tip("丙的提示", 1)}};
        ASSERT_TRUE(AttachRowTips(reinterpret_cast<intptr_t>(List()), std::move(owned)));
        Mouse({0, 0}, MOUSEEVENTF_MOVE);  // away from the list
        ASSERT_TRUE(SettleInput());
    }
    void TearDown() override { Mouse({0, 0}, MOUSEEVENTF_MOVE); }

    static HWND List() { return UnitHandle(kList); }
    // The screen rectangle of a row.
    static RECT RowRect(int row) {
        RECT r = {};
        r.left = LVIR_BOUNDS;
        SendMessageW(List(), LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r));
        MapWindowPoints(List(), nullptr, reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    static HWND ShownTip() {
        HWND tip = FindWindowW(L"MgRowTip", nullptr);
        return tip && IsWindowVisible(tip) ? tip : nullptr;
    }
    static std::wstring TipText() {
        wchar_t text[512] = {};
        if (HWND tip = ShownTip()) GetWindowTextW(tip, text, 512);
        return text;
    }
    // Rests the pointer on a row, coming from a few pixels to its left.
    static void RestOn(int row) {
        RECT r = RowRect(row);
        const POINT p = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        Mouse({p.x - 4, p.y}, MOUSEEVENTF_MOVE);
        Mouse(p, MOUSEEVENTF_MOVE);
    }
    static bool TipShows(const std::wstring& first) {
        return RunLoopUntil([&] { return TipText().rfind(first, 0) == 0; });
    }

    TestSource* source = nullptr;
};

// Runs of adjacent pixel columns that hold a pixel `pick` likes: one per bar.
int ColumnRuns(const Shot& shot, bool (*pick)(COLORREF)) {
    int runs = 0;
    bool inRun = false;
    for (int x = 0; x < shot.width; ++x) {
        bool hit = false;
        for (int y = 0; y < shot.height && !hit; ++y) hit = pick(shot.At(x, y));
        if (hit && !inRun) ++runs;
        inRun = hit;
    }
    return runs;
}
bool Red(COLORREF c) { return GetRValue(c) > 180 && GetGValue(c) < 90 && GetBValue(c) < 90; }
bool Blue(COLORREF c) { return GetBValue(c) > 150 && GetRValue(c) < 100; }

Shot TipShot(HWND tip) {
    RECT r = {};
    GetWindowRect(tip, &r);
    return CaptureScreen(r);
}

}  // namespace

TEST_F(RowTipsTest, ATipShowsBesideTheListLevelWithItsRowAndFollowsThePointer) {
    Load(40);
    RestOn(1);
    ASSERT_TRUE(TipShows(L"乙的提示")) << "no tip after resting on row 1";
    RECT tip = {}, list = {};
    GetWindowRect(ShownTip(), &tip);
    GetWindowRect(List(), &list);
    EXPECT_GE(tip.left, list.right) << "the tip covers the list";
    EXPECT_LE(tip.left, list.right + 8) << "the tip stands away from the list";
    EXPECT_EQ(tip.top, RowRect(1).top) << "level with its row";

    // With a tip open, the tip follows the pointer to the next row at once.
    RestOn(2);
    ASSERT_TRUE(TipShows(L"丙的提示"));
    GetWindowRect(ShownTip(), &tip);
    EXPECT_EQ(tip.top, RowRect(2).top);
    // Row 3 has no tip: none shows.
    RestOn(3);
    ASSERT_TRUE(RunLoopUntil([] { return ShownTip() == nullptr; })) << "a row without a tip kept one";
}

TEST_F(RowTipsTest, WithoutRoomOnTheRightTheTipShowsOnTheListsLeft) {
    // The window pushed to the screen's right edge: the list ends near it.
    Load(GetSystemMetrics(SM_CXSCREEN) - 300);
    RestOn(0);
    ASSERT_TRUE(TipShows(L"甲的提示"));
    RECT tip = {}, list = {};
    GetWindowRect(ShownTip(), &tip);
    GetWindowRect(List(), &list);
    EXPECT_LE(tip.right, list.left) << "the tip covers the list";
    EXPECT_LE(tip.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(tip.top, RowRect(0).top);
}

TEST_F(RowTipsTest, RestingOnARowWithoutATipShowsNothingAndLeavingTheListHidesATip) {
    Load(40);
    // The hover itself is the sentinel: once the list has had it, the tip would be there.
    {
        MessageLog hovers({List()}, {WM_MOUSEHOVER});
        RestOn(3);
        ASSERT_TRUE(RunLoopUntil([&] { return !hovers.entries().empty(); })) << "the list never saw the pointer rest";
        ASSERT_TRUE(SettlePosted());
        EXPECT_EQ(ShownTip(), nullptr);
    }
    RestOn(0);
    ASSERT_TRUE(TipShows(L"甲的提示"));
    RECT list = {};
    GetWindowRect(List(), &list);
    Mouse({list.left + 5, list.bottom + 40}, MOUSEEVENTF_MOVE);  // below the list, still on the window
    EXPECT_TRUE(RunLoopUntil([] { return ShownTip() == nullptr; })) << "the tip stayed after the pointer left the list";
}

TEST_F(RowTipsTest, ARecordForTheShownRowRedrawsTheOpenTipAndOneForAnotherRowDoesNot) {
    Load(40);
    RestOn(1);
    ASSERT_TRUE(TipShows(L"乙的提示"));
    HWND tip = ShownTip();
    ASSERT_TRUE(RunLoopUntil([&] { return ColumnRuns(TipShot(tip), &Blue) == 3; })) << "the row's three bars";
    EXPECT_EQ(ColumnRuns(TipShot(tip), &Red), 0);
    RECT before = {};
    GetWindowRect(tip, &before);

    MessageLog paints({tip}, {WM_PAINT});
    const int other = 7;
    SendRowRecord(reinterpret_cast<intptr_t>(List()), 0, &other);  // another row's
    ASSERT_TRUE(SettlePosted());
    EXPECT_TRUE(paints.entries().empty()) << "a record for another row redrew the tip";
    EXPECT_EQ(TipText(), L"乙的提示");

    const int lost = 8;
    SendRowRecord(reinterpret_cast<intptr_t>(List()), 1, &lost);  // the shown row's: a lost probe
    EXPECT_EQ(source->recorded, (std::vector<int32_t>{0, 1}));
    EXPECT_FALSE(paints.entries().empty()) << "the open tip was not redrawn";
    EXPECT_EQ(TipText(), L"乙的提示\r\nrecord 8");
    EXPECT_TRUE(RunLoopUntil([&] { return ColumnRuns(TipShot(tip), &Red) == 1; })) << "the lost probe's bar";
    EXPECT_EQ(ColumnRuns(TipShot(tip), &Blue), 3);
    RECT after = {};
    GetWindowRect(tip, &after);
    EXPECT_EQ(after.left, before.left) << "the redrawn tip stays where it was";
    EXPECT_EQ(after.top, before.top);
    EXPECT_GT(after.bottom, before.bottom) << "and grows by its new line";
}
