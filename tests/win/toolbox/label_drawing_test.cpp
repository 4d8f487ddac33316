// Every host label after the first in a host file starts with the CR LF that ends the line
// before it. The result lists draw a label without those characters, exactly as the same
// label without them, while reading the cell still gives the label as the file has it.
#include <gtest/gtest.h>

#include <windows.h>

#include <set>
#include <string>

#include "tests/win/toolbox/toolbox_driver.h"

using namespace units;

TEST(ResultLists, ALabelIsDrawnWithoutTheLineBreakItStartsWith) {
    // Row 1's label follows row 0's address on the same line; row 2's starts a new line. The
    // list shows the last row only in part.
    const std::string hosts = "腾讯，127.2.0.1，腾讯，127.2.0.1，\r\n腾讯，127.2.0.1，\r\n腾讯，127.2.0.1，";
    Toolbox::Options options;
    options.files = {{L"疆内.txt", hosts}, {L"疆外.txt", hosts}};
    Toolbox t(options);
    ASSERT_TRUE(t.started());
    t.ShowPage(1);
    t.Settle();
    for (rt::AnyUnit list : {rt::AnyUnit(疆内超级列表框), rt::AnyUnit(疆外超级列表框)}) {
        ASSERT_EQ(t.Rows(list), 4);
        EXPECT_EQ(t.Cell(list, 1, 1), "腾讯");
        EXPECT_EQ(t.Cell(list, 2, 1), "\r\n腾讯");
        const RECT plain = t.RowScreenRect(list, 1), broken = t.RowScreenRect(list, 2);
        ASSERT_FALSE(IsRectEmpty(&plain));
        const RECT shown = t.ScreenRect(list);
        ASSERT_LE(broken.bottom, shown.bottom) << "row 2 is not fully in view";
        ASSERT_EQ(broken.right - broken.left, plain.right - plain.left);
        ASSERT_EQ(broken.bottom - broken.top, plain.bottom - plain.top);
        // The row shows something (lamp, label, time), so equal rows are no accident of blank ones.
        const std::vector<COLORREF> expected = ScreenPixels(plain);
        EXPECT_GT(std::set<COLORREF>(expected.begin(), expected.end()).size(), 3u);
        EXPECT_TRUE(WaitUntil([&] { return ScreenPixels(broken) == ScreenPixels(plain); }))
            << "the row whose label starts with CR LF is drawn differently";
    }
}
