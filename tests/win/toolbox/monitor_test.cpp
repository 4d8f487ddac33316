// The network monitor of the real program against the lab's hosts (127.0.x.y answer at
// once, 127.1.H.L after H*256+L ms, 127.2.x.y never): the lamps and times a pass writes, the
// interval box and its refusals, the host list buttons, host list files of every odd shape,
// and closing the window while workers are probing.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <random>
#include <string>

#include "tests/win/toolbox/toolbox_driver.h"

using namespace units;

namespace {

constexpr int kGrey = 0, kGreen = 1, kYellow = 2, kRed = 3;

struct Verdict {
    int lamp;
    bool dots;
};

// What a row shows for the time t that the probe reported, as the lamp tables say.
Verdict Inside(int t, bool echoed) {
    if (t >= 100) return {kGrey, true};
    if (t >= 8) return {kRed, false};
    return {echoed ? kGreen : kGrey, false};
}
Verdict Outside(int t) {
    if (t == 0) return {kGrey, true};
    if (t < 80) return {kGreen, false};
    if (t < 120) return {kYellow, false};
    if (t < 2000) return {kRed, false};
    return {kGrey, true};
}

std::string Label(const Toolbox& t, rt::AnyUnit list, int row) { return t.Cell(list, row, 1); }

// A notepad window whose title names the file, closed again.
bool EditorOpened(const wchar_t* fileTitle) {
    HWND editor = nullptr;
    bool found = WaitUntil(
        [&] {
            for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
                wchar_t title[512] = {};
                GetWindowTextW(w, title, 512);
                if (IsWindowVisible(w) && wcsstr(title, fileTitle)) {
                    editor = w;
                    return true;
                }
            }
            return false;
        },
        60000);  // another program starting: slow on a busy machine
    if (editor) CloseProgramOf(editor);
    return found;
}

}  // namespace

TEST(Monitor, APassWritesEachHostsTimeAndLamp) {
    Toolbox::Options options;
    options.files = {
        {L"疆内.txt", HostList({{"零", "127.0.0.1"}, {"八", "127.1.0.8"}, {"百", "127.1.0.100"},
                                {"静", "127.2.0.1"}, {"名", "localhost"}, {"三", "127.1.0.3"}})},
        {L"疆外.txt", HostList({{"五十", "127.1.0.50"}, {"七九", "127.1.0.79"}, {"八十", "127.1.0.80"},
                                {"百十九", "127.1.0.119"}, {"百二", "127.1.0.120"}, {"静", "127.2.0.1"},
                                {"零", "127.0.0.1"}, {"迟", "127.1.2.88"}})},
    };
    Toolbox t(options);
    ASSERT_TRUE(t.started());
    ASSERT_EQ(t.Rows(疆内超级列表框), 6);
    ASSERT_EQ(t.Rows(疆外超级列表框), 8);
    t.ShowPage(1);
    ASSERT_EQ(t.Text(编辑框秒), "6");

    t.Click(开始);  // the form's interval is accepted: a pass at once
    EXPECT_FALSE(t.MessageBoxShowing());
    // Outside row 3 is probed after inside row 3's silent host has timed out, so once it and
    // row 4 show a lamp the pass is all but done; the last silent probes end soon after.
    ASSERT_TRUE(WaitUntil([&] { return t.Lamp(疆外超级列表框, 3) != kGrey && t.Lamp(疆外超级列表框, 4) != kGrey; }, 30000));
    Sleep(1500);
    t.Click(停止);

    struct Row {
        int row;
        int low, high;  // the configured delay and the slack allowed above it
        bool answers;
    };
    // The slack covers a loaded machine, where the first replies of a burst read tens of
    // milliseconds late; the lamp is judged from the time the row shows, so a late echo still
    // has to get the lamp of its time.
    constexpr int kSlack = 150;
    const Row inside[] = {{0, 0, kSlack, true},  {1, 8, 8 + kSlack, true}, {2, 100, 100 + kSlack, true},
                          {3, 0, 0, false},      {4, 0, kSlack, true},     {5, 3, 3 + kSlack, true}};
    for (const Row& r : inside) {
        SCOPED_TRACE("inside row " + std::to_string(r.row));
        std::string time = t.Cell(疆内超级列表框, r.row, 2);
        int lamp = t.Lamp(疆内超级列表框, r.row);
        if (!r.answers) {  // no reply: grey, with whatever time the platform reported
            EXPECT_EQ(lamp, kGrey);
            continue;
        }
        if (time == "...") {  // 100 ms or more: only a host that may have taken that long
            EXPECT_TRUE(Inside(r.high, true).dots) << "row " << r.row;
            EXPECT_EQ(lamp, kGrey);
            continue;
        }
        int ms = std::atoi(time.c_str());
        EXPECT_GE(ms, r.low) << time;
        EXPECT_LE(ms, r.high) << time;
        EXPECT_EQ(lamp, Inside(ms, true).lamp) << time;
    }
    // Row 7 answers after the probe's time-out of 500 ms.
    const Row outside[] = {{0, 50, 50 + kSlack, true},   {1, 79, 79 + kSlack, true},   {2, 80, 80 + kSlack, true},
                           {3, 119, 119 + kSlack, true}, {4, 120, 120 + kSlack, true}, {5, 0, 0, false},
                           {6, 0, kSlack, true},         {7, 600, 0, false}};
    for (const Row& r : outside) {
        SCOPED_TRACE("outside row " + std::to_string(r.row));
        std::string time = t.Cell(疆外超级列表框, r.row, 2);
        int lamp = t.Lamp(疆外超级列表框, r.row);
        if (!r.answers || time == "...") {
            // Silent, too slow for the time-out, or an answer in 0 ms: grey and "...".
            EXPECT_TRUE(!r.answers || r.low == 0) << time;
            EXPECT_EQ(time, "...");
            EXPECT_EQ(lamp, kGrey);
            continue;
        }
        int ms = std::atoi(time.c_str());
        EXPECT_GE(ms, r.low) << time;
        EXPECT_LE(ms, r.high) << time;
        EXPECT_EQ(lamp, Outside(ms).lamp) << time;
    }
    // The labels are left as loaded.
    EXPECT_EQ(Label(t, 疆内超级列表框, 0), "零");
    EXPECT_EQ(Label(t, 疆外超级列表框, 7), "\r\n迟");

    // The host list buttons open the files in the shell's editor.
    // The program is brought to the front again after each editor, which took the focus.
    t.Click(内网配置文件);
    EXPECT_TRUE(EditorOpened(L"疆内"));
    t.Activate();
    t.Click(外网配置文件);
    EXPECT_TRUE(EditorOpened(L"疆外"));
    t.Activate();

    // A click empties the interval box; 开始 then refuses, as it does below 5.
    t.Click(编辑框秒);
    EXPECT_EQ(t.Text(编辑框秒), "");
    for (const char* typed : {"", "4", "-7"}) {
        SCOPED_TRACE(typed);
        t.Click(编辑框秒);
        t.Type(typed);
        t.Click(开始);
        MessageBoxSeen box = t.AnswerMessageBox();
        EXPECT_TRUE(box.found);
        EXPECT_EQ(box.text, L"请输入大于6的数值");
        EXPECT_EQ(box.caption, L"信息：");
    }
    EXPECT_EQ(t.Close(), 0u);
    EXPECT_FALSE(t.MessageBoxShowing());
}

// Closing the main window while a pass runs and its workers wait for their echoes: a normal
// end every time, with no message box.
TEST(Monitor, ClosingTheWindowDuringAPassIsANormalEnd) {
    std::vector<std::pair<std::string, std::string>> inside, outside;
    for (int i = 0; i < 6; ++i) inside.push_back({"内" + std::to_string(i), i % 2 ? "127.2.0.1" : "127.1.0.150"});
    for (int i = 0; i < 21; ++i)
        outside.push_back({"外" + std::to_string(i), i % 3 ? "127.2.0." + std::to_string(i) : "127.1.0.90"});
    std::mt19937 random(20261209);
    // The 32-bit program runs emulated, at about half the speed: fewer rounds keep its run short.
    constexpr int kRounds = sizeof(void*) == 4 ? 8 : 20;
    for (int round = 0; round < kRounds; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        Toolbox::Options options;
        options.files = {{L"疆内.txt", HostList(inside)}, {L"疆外.txt", HostList(outside)}};
        Toolbox t(options);
        ASSERT_TRUE(t.started());
        t.ShowPage(1);
        t.Click(开始);
        Sleep(50 + random() % 700);  // the pass, its throttle or its last wave under way
        EXPECT_EQ(t.Close(10000), 0u);
    }
}

// Host list files of odd shapes load without a crash, with the hosts their fields pair into.
TEST(HostLists, OddFilesLoadAsTheirFieldsPair) {
    struct Start {
        std::string inside, outside;
        int insideRows, outsideRows;
        std::string firstInsideLabel, firstInsideAddress;
    };
    std::string big;
    {
        std::mt19937 random(7);
        big.resize(10 * 1024 * 1024);
        for (char& c : big) c = static_cast<char>(1 + random() % 255);  // no NUL: all of it is read
    }
    const Start starts[] = {
        // The examples: a pair without a line break; a third field without a separator; two
        // separators enclosing an empty address.
        {"A，B，", "A，B，C", 1, 1, "A", "B"},
        {"A，，B，", "A,127.0.0.1,\r\n", 1, 0, "A", ""},  // ASCII commas separate nothing
        // A NUL ends the text; a lone lead byte at the end is a field of its own.
        {std::string("甲，127.0.0.1，\0乙，丙，", 18), "A，B，\xB0", 1, 1, "甲", "127.0.0.1"},
        // Ten megabytes of random bytes, and a file without any separator.
        {big, "no separators at all\r\n", -1, 0, "", ""},
    };
    for (const Start& s : starts) {
        SCOPED_TRACE(s.inside.substr(0, 12));
        Toolbox::Options options;
        options.files = {{L"疆内.txt", s.inside}, {L"疆外.txt", s.outside}};
        Toolbox t(options);
        ASSERT_TRUE(t.started());
        if (s.insideRows >= 0) {
            EXPECT_EQ(t.Rows(疆内超级列表框), s.insideRows);
            EXPECT_EQ(t.Rows(超级列表框1), s.insideRows);
        }
        EXPECT_EQ(t.Rows(疆外超级列表框), s.outsideRows);
        if (!s.firstInsideLabel.empty()) {
            EXPECT_EQ(t.Cell(疆内超级列表框, 0, 1), s.firstInsideLabel);
            EXPECT_EQ(t.Cell(超级列表框1, 0, 0), s.firstInsideAddress);
        }
        RECT in = t.ScreenRect(疆内分组框), out = t.ScreenRect(疆外分组框);
        if (s.insideRows >= 0) {
            EXPECT_EQ(in.bottom - in.top, s.insideRows * 18 + 12);
        }
        EXPECT_EQ(out.bottom - out.top, s.outsideRows * 18);
        EXPECT_EQ(ReadWholeFile(t.File(L"疆内.txt")), s.inside) << "an existing file is never rewritten";
        EXPECT_EQ(t.Close(), 0u);
    }
}
