// The stock-count sheet as a cashier uses it: counts typed and walked with Enter and Down,
// the other money, the cashier picker, 清除, 计算 with its five money lines, the clock, and
// the picture records with their names. One program start per test case; the cases inside
// run one after another on the same window.
#include <gtest/gtest.h>

#include <windows.h>

#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "tests/win/toolbox/toolbox_driver.h"

using namespace units;

namespace {

const rt::Unit<rt::EditBox> kDrinks[] = {盘饮料1, 盘饮料2, 盘饮料3, 盘饮料4,  盘饮料5,  盘饮料6,  盘饮料7,
                                         盘饮料8, 盘饮料9, 盘饮料10, 盘饮料11, 盘饮料12, 盘饮料13, 盘饮料14};
const rt::Unit<rt::EditBox> kSnacks[] = {盘小吃1, 盘小吃2, 盘小吃3, 盘小吃4,  盘小吃5,  盘小吃6,  盘小吃7,
                                         盘小吃8, 盘小吃9, 盘小吃10, 盘小吃11, 盘小吃12, 盘小吃13, 盘小吃14};
const rt::Unit<rt::EditBox> kCigarettes[] = {盘香烟1, 盘香烟2, 盘香烟3, 盘香烟4};

std::vector<rt::AnyUnit> CountBoxes() {
    std::vector<rt::AnyUnit> all;
    for (auto b : kDrinks) all.push_back(b);
    for (auto b : kSnacks) all.push_back(b);
    for (auto b : kCigarettes) all.push_back(b);
    return all;
}

using Lines = std::array<std::string, 5>;

Lines Shown(const Toolbox& t) { return {t.Text(饮料标签), t.Text(小吃标签), t.Text(香烟标签), t.Text(其它标签), t.Text(总额)}; }

Lines Expected(const char* drinks, const char* snacks, const char* cigarettes, const char* other, const char* all) {
    return {std::string("饮料盘货金额为：") + drinks + "元", std::string("小吃盘货金额为：") + snacks + "元",
            std::string("香烟盘货金额为：") + cigarettes + "元", std::string("其它货物金额为：") + other + "元",
            std::string("所有货物金额为：") + all + "元"};
}

// Empties every count box through the sheet's own 清除 button.
void ClearSheet(Toolbox& t) { t.Click(盘清除); }

void Calculate(Toolbox& t) { t.Click(计算); }

// The BMP's width and height from its information header.
SIZE BitmapSize(const std::string& bmp) {
    int32_t w = 0, h = 0;
    if (bmp.size() >= 26) {
        std::memcpy(&w, bmp.data() + 18, 4);
        std::memcpy(&h, bmp.data() + 22, 4);
    }
    return {w, h};
}

std::vector<std::wstring> FilesIn(const std::wstring& dir) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW d;
    HANDLE h = FindFirstFileW((dir + L"\\*").c_str(), &d);
    if (h == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(d.cFileName);
    } while (FindNextFileW(h, &d));
    FindClose(h);
    return names;
}

}  // namespace

TEST(InventorySheet, AWholeCountWithTheKeyboardAloneAndTheWalkOfTheChain) {
    Toolbox t;
    ASSERT_TRUE(t.started());
    // The window opens with the cursor in the first count box.
    ASSERT_TRUE(WaitUntil([&] { return t.HasFocus(盘饮料1); }));

    // The worked example typed box after box; Enter on an empty box just moves on, the last
    // Enter on 计算 computes. 其它钱数 is no part of the chain and keeps its hint.
    const std::vector<std::string> counts = {"3", "3", "", "", "", "", "", "", "", "", "", "", "", "1",
                                             "3", "", "", "", "", "", "", "", "1", "", "", "", "", "",
                                             "", "", "2", ""};
    std::vector<rt::AnyUnit> boxes = CountBoxes();
    for (size_t i = 0; i < boxes.size(); ++i) {
        SCOPED_TRACE(i);
        ASSERT_TRUE(WaitUntil([&] { return t.HasFocus(boxes[i]); }));
        EXPECT_EQ(t.Text(boxes[i]), "");  // entered boxes are emptied
        t.Type(counts[i]);
        t.Press(VK_RETURN);
    }
    ASSERT_TRUE(WaitUntil([&] { return t.HasFocus(计算); }));
    EXPECT_EQ(t.Text(盘香烟4), "");  // the last box is left as it was
    EXPECT_EQ(t.Text(饮料标签), "");  // nothing computed yet
    t.Press(VK_RETURN);
    EXPECT_EQ(Shown(t), Expected("22.5", "6", "46", "0", "74.5"));
    EXPECT_EQ(t.Text(其它钱数), "此处填写钱数");

    // The other money by mouse: a click empties the box, every time.
    t.Click(其它钱数);
    EXPECT_EQ(t.Text(其它钱数), "");
    t.Type("20");
    t.Click(其它钱数);
    EXPECT_EQ(t.Text(其它钱数), "");
    t.Type("12");
    t.Click(计算);
    EXPECT_EQ(Shown(t), Expected("22.5", "6", "46", "12", "86.5"));
    t.Press(VK_RETURN);  // Enter on 计算 a second time: the same lines again
    EXPECT_EQ(Shown(t), Expected("22.5", "6", "46", "12", "86.5"));

    // Down on 计算 does nothing; Enter there computes.
    t.Click(盘香烟3);
    t.Press(VK_END);
    t.Type("0");  // 20 packs now
    t.Press(VK_RETURN);
    t.Press(VK_RETURN);
    ASSERT_TRUE(WaitUntil([&] { return t.HasFocus(计算); }));
    t.Press(VK_DOWN);
    ASSERT_TRUE(t.Sync());
    EXPECT_TRUE(t.HasFocus(计算));
    EXPECT_EQ(t.Text(香烟标签), "香烟盘货金额为：46元");
    t.Press(VK_RETURN);
    EXPECT_EQ(t.Text(香烟标签), "香烟盘货金额为：460元");

    // A mouse click into a filled box empties nothing; Enter from there empties the next one,
    // so walking a filled column clears it ready for a fresh count.
    t.Click(盘饮料1);
    EXPECT_EQ(t.Text(盘饮料1), "3");
    EXPECT_EQ(t.Text(盘饮料2), "3");
    t.Press(VK_RETURN);
    EXPECT_TRUE(WaitUntil([&] { return t.HasFocus(盘饮料2); }));
    EXPECT_EQ(t.Text(盘饮料2), "");
    EXPECT_EQ(t.Text(盘饮料1), "3");

    // Down is Enter, whatever the modifiers; Up and other keys are not.
    t.Press(VK_DOWN);
    EXPECT_TRUE(WaitUntil([&] { return t.HasFocus(盘饮料3); }));
    t.Press(VK_RETURN, 2);  // Shift+Enter
    EXPECT_TRUE(WaitUntil([&] { return t.HasFocus(盘饮料4); }));
    t.Press(VK_DOWN, 1);  // Ctrl+Down
    EXPECT_TRUE(WaitUntil([&] { return t.HasFocus(盘饮料5); }));
    t.Press(VK_UP);
    t.Press(VK_RIGHT);
    ASSERT_TRUE(t.Sync());
    EXPECT_TRUE(t.HasFocus(盘饮料5));

    // The column ends: 盘饮料14 goes on to 盘小吃1, 盘小吃14 to 盘香烟1, each emptied.
    t.Click(盘小吃1);
    t.Type("7");
    t.Click(盘饮料14);
    t.Press(VK_RETURN);
    EXPECT_TRUE(WaitUntil([&] { return t.HasFocus(盘小吃1); }));
    EXPECT_EQ(t.Text(盘小吃1), "");
    t.Click(盘香烟1);
    t.Type("7");
    t.Click(盘小吃14);
    t.Press(VK_DOWN);
    EXPECT_TRUE(WaitUntil([&] { return t.HasFocus(盘香烟1); }));
    EXPECT_EQ(t.Text(盘香烟1), "");

    // The keyboard filter of the count boxes and of 其它钱数: digits and "-" anywhere.
    t.Click(盘香烟2);
    t.Type("a.5b-3 x");
    EXPECT_EQ(t.Text(盘香烟2), "5-3");
    t.Click(其它钱数);
    t.Type("-1.5");
    EXPECT_EQ(t.Text(其它钱数), "-15");

    // 清除 empties the 32 count boxes and nothing else.
    Lines before = Shown(t);
    t.Click(盘香烟4);
    t.Type("9");
    ClearSheet(t);
    for (rt::AnyUnit box : CountBoxes()) EXPECT_EQ(t.Text(box), "") << "a count box kept its text";
    EXPECT_EQ(t.Text(其它钱数), "-15");
    EXPECT_EQ(Shown(t), before);
    EXPECT_EQ(t.Close(), 0u);
}

TEST(InventorySheet, ValuationEdgesAndTheCashierHeading) {
    Toolbox t;
    ASSERT_TRUE(t.started());

    // Nothing counted and the hint still in 其它钱数: every line shows 0.
    Calculate(t);
    EXPECT_EQ(Shown(t), Expected("0", "0", "0", "0", "0"));

    struct Case {
        rt::AnyUnit box;
        std::wstring text;  // pasted: no keyboard filter
        int line;           // 0 drinks ... 4 all
        const char* shown;
    };
    const Case cases[] = {
        {盘饮料2, L"3", 0, "饮料盘货金额为：4.5元"},          // no trailing zero, no rounding
        {盘饮料14, L"0.5", 0, "饮料盘货金额为：7.5元"},       // a pasted fraction counts
        {盘香烟1, L"-3", 2, "香烟盘货金额为：-33元"},         // negative counts give negative amounts
        {盘小吃2, L"5-3", 1, "小吃盘货金额为：5元"},          // the leading number
        {盘小吃2, L"-", 1, "小吃盘货金额为：0元"},            // a lone minus counts 0
        {盘小吃2, L"１２", 1, "小吃盘货金额为：12元"},        // full-width digits read as digits
        {其它钱数, L"12.9", 3, "其它货物金额为：12元"},       // truncated toward zero
        {其它钱数, L"-3.7", 3, "其它货物金额为：-3元"},
        {其它钱数, L"此处填写钱数12", 3, "其它货物金额为：0元"},  // digits after the hint
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Gbk(c.text));
        ClearSheet(t);
        t.Paste(c.box, c.text);
        ASSERT_EQ(t.Text(c.box), Gbk(c.text));
        Calculate(t);
        EXPECT_EQ(Shown(t)[static_cast<size_t>(c.line)], c.shown);
    }
    // The other money adds in whole yuan to the total: 12.9 adds 12.
    ClearSheet(t);
    t.Paste(盘饮料1, L"1");
    t.Paste(其它钱数, L"12.9");
    Calculate(t);
    EXPECT_EQ(t.Text(总额), "所有货物金额为：13元");

    // The cashier heading: chosen from the list, again the same, typed (which changes nothing).
    EXPECT_EQ(t.Text(标签1), "盘货信息统计");
    ASSERT_TRUE(t.ChooseComboItem(收银员组合框, 1));
    EXPECT_TRUE(WaitUntil([&] { return t.Text(标签1) == "收银二盘货信息统计"; })) << t.Text(标签1);
    ASSERT_TRUE(t.ChooseComboItem(收银员组合框, 1));
    ASSERT_TRUE(t.Sync());
    EXPECT_EQ(t.Text(标签1), "收银二盘货信息统计");
    ASSERT_TRUE(t.ChooseComboItem(收银员组合框, 2));
    EXPECT_TRUE(WaitUntil([&] { return t.Text(标签1) == "收银三盘货信息统计"; })) << t.Text(标签1);
    t.Click(收银员组合框, {10, 10});  // into the field
    t.Type("abc");
    ASSERT_TRUE(t.Sync());
    EXPECT_NE(t.Text(收银员组合框).find("abc"), std::string::npos) << "the typing reached the field";
    EXPECT_EQ(t.Text(标签1), "收银三盘货信息统计");
    // Clearing the counts leaves the cashier and the lines as they were.
    ClearSheet(t);
    EXPECT_EQ(t.Text(标签1), "收银三盘货信息统计");
    EXPECT_EQ(t.Close(), 0u);
}

TEST(InventoryRecords, PicturesNamedAfterTheTimeBesideTheProgram) {
    Toolbox::Options options;
    options.clock = "2026-12-08 14:05:09";
    Toolbox t(options);
    ASSERT_TRUE(t.started());
    const std::wstring folder = t.File(L"盘货记录");
    RECT outer;
    GetWindowRect(t.window(), &outer);

    // A BMP under the ".jpg" name, the size of the whole window, frame included.
    t.Click(导出);
    std::wstring first = folder + L"\\2026年12月8日14时5分9秒.jpg";
    ASSERT_TRUE(WaitUntil([&] { return !ReadWholeFile(first).empty(); })) << Gbk(first);
    std::string bmp = ReadWholeFile(first);
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    SIZE size = BitmapSize(bmp);
    EXPECT_EQ(size.cx, outer.right - outer.left);
    EXPECT_EQ(size.cy, outer.bottom - outer.top);

    // Whole minute, whole hour, midnight: the name leaves out the zero parts.
    const std::pair<const char*, const wchar_t*> stamps[] = {
        {"2026-12-08 14:05:00", L"2026年12月8日14时5分.jpg"},
        {"2026-12-08 14:00:00", L"2026年12月8日14时.jpg"},
        {"2026-12-09 00:00:00", L"2026年12月9日.jpg"},
    };
    for (const auto& [clock, name] : stamps) {
        t.SetClock(clock);
        t.Click(导出);
        EXPECT_TRUE(WaitUntil([&] { return !ReadWholeFile(folder + L"\\" + name).empty(); })) << Gbk(name);
    }
    EXPECT_EQ(FilesIn(folder).size(), 4u);

    // Two exports in the same second: the second picture replaces the first.
    t.SetClock("2026-12-08 14:05:09");
    t.Click(盘饮料1);
    t.Type("888");
    t.Click(导出);
    EXPECT_TRUE(WaitUntil([&] { return ReadWholeFile(first) != bmp; }));
    EXPECT_EQ(FilesIn(folder).size(), 4u);

    // The folder removed while the program runs: the record is still kept, the folder made
    // again, and nothing is said.
    for (const std::wstring& name : FilesIn(folder)) DeleteFileW((folder + L"\\" + name).c_str());
    ASSERT_TRUE(RemoveDirectoryW(folder.c_str()));
    t.Click(导出);
    EXPECT_TRUE(WaitUntil([&] { return !ReadWholeFile(first).empty(); }));
    EXPECT_FALSE(t.MessageBoxShowing());

    // 打开 opens the folder in the shell's file browser (closed again here: it would outlive
    // the test).
    t.Click(打开);
    HWND browser = WaitForOtherProgramWindow(L"盘货记录");
    ASSERT_NE(browser, nullptr) << "no window showed the record folder";
    EXPECT_TRUE(CloseProgramOf(browser));
    EXPECT_EQ(t.Close(), 0u);
}
