// The top-up calculator as the front desk uses it: amounts typed and walked with Enter, the
// decimal boxes rewritten when they are left, 计算 by click and by Enter, 清除数据.
#include <gtest/gtest.h>

#include <windows.h>

#include "tests/win/toolbox/toolbox_driver.h"

using namespace units;

namespace {

// Types the three inputs the way the page is meant to be used: a click into the amount,
// then Enter after each value, and a last Enter on 计算按钮.
void Compute(Toolbox& t, const char* amount, const char* bonus, const char* rate) {
    t.Click(编辑框1);
    t.Type(amount);
    t.Press(VK_RETURN);
    t.Type(bonus);
    t.Press(VK_RETURN);
    t.Type(rate);
    t.Press(VK_RETURN);
    t.Press(VK_RETURN);
}

}  // namespace

TEST(TopUp, ResultsRewritingAndClearing) {
    Toolbox t;
    ASSERT_TRUE(t.started());
    t.ShowPage(2);
    ASSERT_TRUE(WaitUntil([&] { return t.HasFocus(清除按钮); }));

    // The walk: Enter moves on and empties the box entered; the last box hands the focus to
    // 计算按钮 without emptying it; Down there does nothing, Enter computes.
    t.Click(编辑框1);
    t.Type("100");
    t.Press(VK_RETURN);
    EXPECT_TRUE(WaitUntil([&] { return t.HasFocus(编辑框2); }));
    t.Type("50");
    t.Press(VK_DOWN);
    EXPECT_TRUE(WaitUntil([&] { return t.HasFocus(编辑框3); }));
    t.Type("3");
    t.Press(VK_RETURN, 2);  // Shift+Enter advances too
    EXPECT_TRUE(WaitUntil([&] { return t.HasFocus(计算按钮); }));
    EXPECT_EQ(t.Text(编辑框3), "3");
    t.Press(VK_DOWN);
    EXPECT_TRUE(t.HasFocus(计算按钮));
    EXPECT_EQ(t.Text(编辑框4), "");
    t.Press(VK_RETURN);
    EXPECT_EQ(t.Text(编辑框4), "2");

    struct Case {
        const char *amount, *bonus, *rate, *result;
    };
    const Case cases[] = {
        {"100", "20", "3", "2.5"},
        {"200", "50", "5", "4"},
        {"100", "30", "2", "1.538461538462"},  // 13 significant digits
        {"100", "0", "3", "3"},                // no bonus: the rate itself
        {"100", "20", "0", "0"},               // 100 divided by an infinite quotient
        {"100", "50", "2.9", "1.333333333333"},  // the rate is used as 2
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.amount) + " " + c.bonus + " " + c.rate);
        Compute(t, c.amount, c.bonus, c.rate);
        EXPECT_EQ(t.Text(编辑框4), c.result);
    }
    EXPECT_EQ(t.Text(编辑框3), "2.9") << "the box keeps what was typed";

    // A 0 bonus and Enter: the box is left empty and the emptied rate box entered.
    t.Click(编辑框2);
    t.Type("0");
    t.Press(VK_RETURN);
    EXPECT_EQ(t.Text(编辑框2), "");
    EXPECT_TRUE(WaitUntil([&] { return t.HasFocus(编辑框3); }));
    EXPECT_EQ(t.Text(编辑框3), "");

    // Leaving a decimal box writes its leading number back; zero becomes empty.
    const std::pair<const char*, const char*> rewrites[] = {
        {"2.50", "2.5"}, {"007", "7"}, {"100.0", "100"}, {"0", ""}, {"-", ""}, {"1.5.5", "1.5"}, {"3-4", "3"}};
    for (const auto& [typed, left] : rewrites) {
        SCOPED_TRACE(typed);
        t.Click(编辑框1);
        t.Type(typed);
        EXPECT_EQ(t.Text(编辑框1), typed);
        t.Press(VK_RETURN);
        EXPECT_EQ(t.Text(编辑框1), left);
    }
    // The filter: digits, "-" and "." only.
    t.Click(编辑框1);
    t.Type("1a.5 b");
    EXPECT_EQ(t.Text(编辑框1), "1.5");

    // A click empties an input every time, also when it holds a value.
    for (rt::AnyUnit box : {编辑框1.Any(), 编辑框2.Any(), 编辑框3.Any()}) {
        t.Click(box);
        t.Type("42");
        t.Click(计算按钮);
        t.Click(box);
        EXPECT_EQ(t.Text(box), "");
    }

    // All boxes empty: 0 / 0, and the calculation still completes without a word, showing the
    // not-a-number as the program writes it.
    t.Click(计算按钮);
    EXPECT_EQ(t.Text(编辑框4), "nan");
    EXPECT_FALSE(t.MessageBoxShowing());

    // 清除数据 empties the page's four boxes and the monitor's interval box, and leaves the
    // hidden separator box alone.
    Compute(t, "100", "50", "3");
    ASSERT_EQ(t.Text(编辑框4), "2");
    EXPECT_EQ(t.Text(编辑框秒), "6");
    t.Click(清除按钮);
    for (rt::AnyUnit box : {编辑框1.Any(), 编辑框2.Any(), 编辑框3.Any(), 编辑框4.Any(), 编辑框秒.Any()})
        EXPECT_EQ(t.Text(box), "");
    EXPECT_EQ(t.Text(分割符编辑框), "，");
    EXPECT_EQ(t.Close(), 0u);
}
