// The monitoring cycle inside the program's own process, where the timer's period and the
// probes in flight can be read: the real tools on the real main window in a fresh directory,
// clicked and typed at with real input through the message loop.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>

#include "forms/unit_object.h"
#include "forms/window_list.h"
#include "runtime/app.h"
#include "runtime/entries.h"
#include "runtime/gbk_text.h"
#include "runtime/program_descriptor.h"
#include "tests/win/box_answerer.h"
#include "tests/win/child_process.h"
#include "tests/win/controls/control_test_util.h"
#include "tests/win/forms/form_fixture.h"
#include "tests/win/toolbox/toolbox_driver.h"
#include "toolbox/rt.h"
#include "toolbox/tool_globals.h"

extern const ProgramDescriptor kProgramDescriptor;

using namespace units;

namespace {

HWND HandleOf(rt::AnyUnit unit) {
    UnitObject* u = FindUnitObject(unit.windowId, unit.unitId == kWindowRecordId ? 0 : unit.unitId);
    return u ? u->hwnd() : nullptr;
}

void Click(rt::AnyUnit unit) {
    HWND h = HandleOf(unit);
    RECT r;
    GetClientRect(h, &r);
    ASSERT_TRUE(ClickAt(h, {r.right / 2, r.bottom / 2}));
    ASSERT_TRUE(SettleInput()) << "the click was not handled";
}

// A click whose handler shows a box. The messages are pumped without RunLoopFor's timed quit,
// which would end the box's own loop before it is answered, until the answerer is done.
void ClickIntoBox(rt::AnyUnit unit, const BoxAnswerer& answer) {
    HWND h = HandleOf(unit);
    RECT r;
    GetClientRect(h, &r);
    POINT p = {r.right / 2, r.bottom / 2};
    ClientToScreen(h, &p);
    ClickScreenPoint(p);
    while (!answer.finished()) Pump(25);
    // The click's handler returned once the box's loop ended; no window of the program is
    // active any more to take a sentinel key.
    ASSERT_TRUE(SettlePosted());
}

void Press(WORD vk) {
    Tap(vk);
    ASSERT_TRUE(SettleInput()) << "the key was not handled";
}

int32_t Interval() { return rt::Get(时钟2, rt::Timer::Interval); }
int Lamp(rt::AnyUnit list, int row) {
    LVITEMW item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    return ListView_GetItem(HandleOf(list), &item) ? item.iImage : -1;
}
int32_t InFlight() { return g_tools.probesInFlight.load(); }

// Runs the loop until the condition holds or the time is up; the largest number of probes
// in flight seen meanwhile goes to *most.
bool LoopUntil(const std::function<bool()>& condition, DWORD timeoutMs, int32_t* most = nullptr) {
    return RunLoopUntil(
        [&] {
            if (most) *most = std::max(*most, InFlight());
            return condition();
        },
        timeoutMs);
}

class MonitorCycle : public ::testing::Test {
protected:
    TempDirectory dir;
    void SetUp() override {
        std::vector<std::pair<std::string, std::string>> inside, outside;
        for (int i = 0; i < 6; ++i) inside.push_back({"内", "127.2.0.1"});
        for (int i = 0; i < 21; ++i) outside.push_back({"外", i % 2 ? "127.2.0.2" : "127.1.0.200"});
        WriteWholeFile(dir.File(L"疆内.txt"), HostList(inside));
        WriteWholeFile(dir.File(L"疆外.txt"), HostList(outside));
        UseProgramDescriptor(&kProgramDescriptor);
        RtEntries().otherHelp(kServiceInitialise, 0, 0, 0, 0, 0, 0);
        App().runDirectory = GbkFromWide(dir.path().c_str());  // the program as if it lay there
        InitToolGlobals();
        RtEntries().loadStartWindow(主窗口.windowId);
        ASSERT_TRUE(LoopUntil([] { return rt::ListViewRowCount(超级列表框2) == 21; }, 5000));
        HWND tabs = HandleOf(茗柜);
        RECT r;
        TabCtrl_GetItemRect(tabs, 1, &r);
        ASSERT_TRUE(ClickAt(tabs, {(r.left + r.right) / 2, (r.top + r.bottom) / 2}));
    }
    void TearDown() override {
        EXPECT_TRUE(LoopUntil([] { return InFlight() == 0; }, 20000)) << "probes still in flight at the end";
        DestroyWindow(HandleOf(主窗口));
    }
};

}  // namespace

TEST_F(MonitorCycle, TheIntervalIsTheBoxsSecondsAndARefusedOneChangesNothing) {
    EXPECT_EQ(Interval(), 0);
    Click(开始);  // the form's 6
    EXPECT_EQ(Interval(), 6000);
    EXPECT_TRUE(LoopUntil([] { return InFlight() > 0; }, 2000)) << "a pass starts at once";

    Click(编辑框秒);
    EXPECT_EQ(rt::Get(编辑框秒, rt::EditBox::Content), "");
    Press('5');
    Click(开始);
    EXPECT_EQ(Interval(), 5000);

    // The box rewrites 5.5 as an integer when the focus goes to 开始, so a click gives 5000;
    // a text of 5.5 read at the click itself (the focus already on the button) gives 5500.
    Click(编辑框秒);
    rt::Set(编辑框秒, rt::EditBox::Content, "5.5");
    Click(开始);
    EXPECT_EQ(rt::Get(编辑框秒, rt::EditBox::Content), "5");
    EXPECT_EQ(Interval(), 5000);
    rt::Set(编辑框秒, rt::EditBox::Content, "5.5");
    Press(VK_SPACE);
    EXPECT_EQ(Interval(), 5500);

    // Refused: below 5 as an integer, letters, nothing. The box says so and the timer keeps
    // its period.
    for (const char* text : {"4", "4.9", "abc", ""}) {
        SCOPED_TRACE(text);
        rt::Set(编辑框秒, rt::EditBox::Content, text);
        BoxAnswerer answer(GetCurrentThreadId(), IDOK, nullptr);
        // A click: the closed box leaves no window of the program active to take a key.
        ClickIntoBox(开始, answer);
        BoxSeen seen = answer.seen();
        EXPECT_TRUE(seen.found);
        EXPECT_EQ(seen.text, L"请输入大于6的数值");
        EXPECT_EQ(seen.caption, L"信息：");
        EXPECT_EQ(Interval(), 5500);
    }
    Click(停止);
    EXPECT_EQ(Interval(), 0);
}

TEST_F(MonitorCycle, StopLetsThePassFinishAndOverlappingPassesShareTheThrottle) {
    // 停止 right after 开始: the pass runs to its end (its last row written, nothing in
    // flight), and no other starts.
    auto lastRowWritten = [] { return !rt::ListViewCellText(疆外超级列表框, 20, 2).empty(); };
    rt::ListViewSetCellText(疆外超级列表框, 20, 2, "");
    Click(开始);
    Click(停止);
    EXPECT_EQ(Interval(), 0);
    int32_t most = 0;
    EXPECT_TRUE(LoopUntil([] { return InFlight() > 0; }, 2000, &most));
    EXPECT_TRUE(LoopUntil(lastRowWritten, 8000, &most)) << "the pass ends";
    EXPECT_TRUE(LoopUntil([] { return InFlight() == 0; }, 5000, &most));
    // The 200 ms host of row 0, never early; red, as 200 ms is for the outside list.
    EXPECT_GE(std::atoi(rt::ListViewCellText(疆外超级列表框, 0, 2).c_str()), 200) << "the pass wrote its rows";
    EXPECT_EQ(Lamp(疆外超级列表框, 0), 3);
    // No tick after 停止: not within a period of the form's 6 s and some.
    EXPECT_FALSE(LoopUntil([] { return InFlight() > 0; }, 6500)) << "no pass after 停止";

    // Passes share one throttle. While another pass holds 30 probes in flight (held here in
    // the shared count), a new pass starts its first worker and then waits, however loaded the
    // machine: a throttle of its own would start all 27. (A worker counts its probes only once
    // it runs, so the highest count of two free passes says nothing under load.)
    auto hold = [](int32_t probes) {
        rt::Lock lock(g_tools.monitorLock);
        g_tools.probesInFlight.fetch_add(probes);
    };
    rt::ListViewSetCellText(疆外超级列表框, 20, 2, "");
    rt::ListViewSetCellText(疆外超级列表框, 0, 2, "");
    hold(30);
    most = 0;
    Click(开始);
    Click(停止);
    // The first worker runs its two probes to their end (its outside row written, the count
    // back at the held 30); all that time no second worker may start.
    EXPECT_TRUE(LoopUntil([] { return !rt::ListViewCellText(疆外超级列表框, 0, 2).empty() && InFlight() == 30; }, 20000, &most));
    EXPECT_EQ(most, 32) << "the held 30 and the first worker's 2";
    EXPECT_TRUE(rt::ListViewCellText(疆外超级列表框, 20, 2).empty()) << "the pass went on past the full throttle";
    hold(-30);
    // The count alone cannot tell the pass's end: it is 0 for a moment whenever the pass has
    // started a worker that has not counted yet. Its last row tells.
    EXPECT_TRUE(LoopUntil(lastRowWritten, 8000)) << "the pass goes on once the other ends";
    EXPECT_GE(std::atoi(rt::ListViewCellText(疆外超级列表框, 20, 2).c_str()), 200);
    EXPECT_TRUE(LoopUntil([] { return InFlight() == 0; }, 8000));

    // Two passes at once run side by side to their ends.
    most = 0;
    Click(开始);
    Click(开始);
    EXPECT_TRUE(LoopUntil([] { return InFlight() > 0; }, 2000, &most));
    Click(停止);
    EXPECT_TRUE(LoopUntil([] { return InFlight() == 0; }, 8000, &most));
    EXPECT_GE(most, 30);
}
