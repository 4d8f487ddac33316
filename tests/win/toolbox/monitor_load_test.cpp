// The monitor of the real program under clicks far faster than a cashier's: every pass they
// start ends, and the threads they started with it.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/win/toolbox/monitor_load.h"

using namespace units;

TEST(MonitorUnderLoad, AHundredClicksOnStartWithinTwoSecondsLeaveNoThreadBehind) {
    Toolbox::Options options;
    // Outside hosts all answer after a while: a row that shows a time was probed.
    options.files = {{L"疆内.txt", HostList(LabHosts(6, 0, 40))}, {L"疆外.txt", HostList(LabHosts(21, 5, 90))}};
    Toolbox t(options);
    ASSERT_TRUE(t.started());
    ASSERT_EQ(t.Rows(疆外超级列表框), 21);
    t.ShowPage(1);
    const DWORD before = ThreadCountOf(t.pid());

    ClickRapidly(t, 开始, 100, 2000);
    t.Click(停止);  // no tick adds a pass; those started run to their end
    // 100 passes of 27 workers, at most about 15 probing at a time.
    DWORD most = 0, now = 0;
    auto settled = [&] {
        now = ThreadCountOf(t.pid());
        most = std::max(most, now);
        return now <= before;
    };
    EXPECT_TRUE(WaitUntil(settled, 120000)) << now << " threads, " << before << " before";
    EXPECT_GT(most, before + 15) << "the passes did not run";
    EXPECT_FALSE(t.MessageBoxShowing());
    for (int row = 0; row < 21; ++row) EXPECT_NE(t.Cell(疆外超级列表框, row, 2), "...") << "row " << row;
    EXPECT_EQ(t.Close(), 0u);
}
