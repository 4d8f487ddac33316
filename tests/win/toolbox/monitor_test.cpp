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
constexpr int kNoLamp = 9;  // an image index the lists do not have: the sentinel
const wchar_t kNoTime[] = L"?";

// A host of the lab and what its row must show after a pass. The delays lie well inside the
// bands of the lamp tables, so a reply read late on a busy machine keeps its lamp; "..." rows
// show no time, the others a time never below the delay.
struct Expected {
    const char* label;
    const char* address;
    int lamp;
    int delayMs;      // -1: the time is hidden ("...")
    bool timeIsZero;  // no reply: the platform reports 0
    // An answer at once lies under the inside list's 8 ms, a band too narrow for a busy
    // machine: read 8 ms or more late, the row turns red, never anything else.
    int lateLamp = -1;
};

// Inside: under 8 ms with the data echoed green, 8 to 99 red, 100 and more grey with "...".
const Expected kInside[] = {
    {"零", "127.0.0.1", kGreen, 0, false, kRed},   {"红", "127.1.0.40", kRed, 40, false},
    {"慢", "127.1.1.44", kGrey, -1, false},  // 300 ms
    {"静", "127.2.0.1", kGrey, 0, true},     {"名", "localhost", kGreen, 0, false, kRed},
};
// Outside: under 80 ms green, to 119 yellow, to 1999 red; no reply (time 0) grey with "...".
const Expected kOutside[] = {
    {"绿", "127.1.0.30", kGreen, 30, false}, {"黄", "127.1.0.85", kYellow, 85, false},
    {"红", "127.1.0.200", kRed, 200, false}, {"静", "127.2.0.1", kGrey, -1, false},
    {"迟", "127.1.2.88", kGrey, -1, false},  // 600 ms: after the probe's time-out of 500 ms
};

std::string Hosts(const Expected* hosts, size_t count) {
    std::vector<std::pair<std::string, std::string>> list;
    for (size_t i = 0; i < count; ++i) list.push_back({hosts[i].label, hosts[i].address});
    return HostList(list);
}

// What is wrong with the row, or "" when it shows what `e` expects.
std::string RowFault(const Toolbox& t, rt::AnyUnit list, int row, const Expected& e) {
    const std::string time = t.Cell(list, row, 2);
    const int lamp = t.Lamp(list, row);
    std::string shown = "lamp " + std::to_string(lamp) + ", time \"" + time + "\"";
    const bool late = e.lateLamp >= 0 && lamp == e.lateLamp && std::atoi(time.c_str()) >= 8;
    if (lamp != e.lamp && !late) return shown + ": expected lamp " + std::to_string(e.lamp);
    if (e.delayMs < 0) return time == "..." ? "" : shown + ": expected \"...\"";
    if (time.empty() || time.find_first_not_of("0123456789") != std::string::npos) return shown + ": expected a time";
    if (e.timeIsZero) return time == "0" ? "" : shown + ": expected 0";
    // The platform measures whole milliseconds and may round down by one.
    return std::atoi(time.c_str()) + 1 >= e.delayMs ? "" : shown + ": earlier than the delay";
}

}  // namespace

TEST(Monitor, APassWritesEachHostsTimeAndLamp) {
    Toolbox::Options options;
    options.files = {{L"疆内.txt", Hosts(kInside, std::size(kInside))}, {L"疆外.txt", Hosts(kOutside, std::size(kOutside))}};
    Toolbox t(options);
    ASSERT_TRUE(t.started());
    ASSERT_EQ(t.Rows(疆内超级列表框), static_cast<int>(std::size(kInside)));
    ASSERT_EQ(t.Rows(疆外超级列表框), static_cast<int>(std::size(kOutside)));
    t.ShowPage(1);
    ASSERT_EQ(t.Text(编辑框秒), "6");

    // Every row starts from a state no probe leaves behind, so a row the pass never wrote
    // cannot pass for one it did (grey and "..." is also what loading shows).
    for (auto [list, count] : {std::pair{疆内超级列表框.Any(), std::size(kInside)}, {疆外超级列表框.Any(), std::size(kOutside)}})
        for (int row = 0; row < static_cast<int>(count); ++row) {
            ASSERT_TRUE(t.SetCell(list, row, 2, kNoTime));
            ASSERT_TRUE(t.SetLamp(list, row, kNoLamp));
        }

    t.Click(开始);  // the form's interval is accepted: a pass at once
    EXPECT_FALSE(t.MessageBoxShowing());
    auto allShown = [&] {
        for (size_t i = 0; i < std::size(kInside); ++i)
            if (!RowFault(t, 疆内超级列表框, static_cast<int>(i), kInside[i]).empty()) return false;
        for (size_t i = 0; i < std::size(kOutside); ++i)
            if (!RowFault(t, 疆外超级列表框, static_cast<int>(i), kOutside[i]).empty()) return false;
        return true;
    };
    EXPECT_TRUE(WaitUntil(allShown, 30000));
    t.Click(停止);
    for (size_t i = 0; i < std::size(kInside); ++i)
        EXPECT_EQ(RowFault(t, 疆内超级列表框, static_cast<int>(i), kInside[i]), "") << "inside " << kInside[i].address;
    for (size_t i = 0; i < std::size(kOutside); ++i)
        EXPECT_EQ(RowFault(t, 疆外超级列表框, static_cast<int>(i), kOutside[i]), "") << "outside " << kOutside[i].address;
    // The labels are left as loaded.
    EXPECT_EQ(t.Cell(疆内超级列表框, 0, 1), "零");
    EXPECT_EQ(t.Cell(疆外超级列表框, 4, 1), "\r\n迟");

    // The host list buttons open the files in the shell's editor.
    // The program is brought to the front again after each editor, which took the focus.
    t.Click(内网配置文件);
    HWND editor = WaitForOtherProgramWindow(L"疆内");
    ASSERT_NE(editor, nullptr) << "no editor showed 疆内.txt";
    EXPECT_TRUE(CloseProgramOf(editor));
    ASSERT_TRUE(t.Activate());
    t.Click(外网配置文件);
    editor = WaitForOtherProgramWindow(L"疆外");
    ASSERT_NE(editor, nullptr) << "no editor showed 疆外.txt";
    EXPECT_TRUE(CloseProgramOf(editor));
    ASSERT_TRUE(t.Activate());

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

namespace {

// About `bytes` bytes of characters of every kind, random: single bytes (1 to 0x80, and 0xFF)
// and two-byte characters (a lead byte 0x81 to 0xFE with any second byte but NUL), among them
// never the separator "，" (A3 AC) itself, though its two bytes often meet across two
// characters; and `separators` separators between characters, spread over the text. So the
// fields are known: a separator ends each, and the text after the last is one more.
std::string NoisyHostFile(size_t bytes, int separators, uint32_t seed) {
    std::mt19937 random(seed);
    std::vector<std::string> characters;
    for (size_t size = 0; size < bytes;) {
        uint8_t first = static_cast<uint8_t>(1 + random() % 255);
        std::string c(1, static_cast<char>(first));
        if (first >= 0x81 && first <= 0xFE) {
            uint8_t second = static_cast<uint8_t>(1 + random() % 255);
            if (first == 0xA3 && second == 0xAC) continue;
            c += static_cast<char>(second);
        }
        size += c.size();
        characters.push_back(std::move(c));
    }
    std::string file;
    const size_t step = characters.size() / static_cast<size_t>(separators + 1);
    for (size_t i = 0; i < characters.size(); ++i) {
        if (i > 0 && i % step == 0 && i / step <= static_cast<size_t>(separators)) file += "，";
        file += characters[i];
    }
    return file;
}

}  // namespace

// Host list files of odd shapes load without a crash, with the hosts their fields pair into.
TEST(HostLists, OddFilesLoadAsTheirFieldsPair) {
    struct Start {
        std::string inside, outside;
        int insideRows, outsideRows;
        std::string firstInsideLabel, firstInsideAddress;
    };
    const Start starts[] = {
        // The examples: a pair without a line break; a third field without a separator; two
        // separators enclosing an empty address.
        {"A，B，", "A，B，C", 1, 1, "A", "B"},
        {"A，，B，", "A,127.0.0.1,\r\n", 1, 0, "A", ""},  // ASCII commas separate nothing
        // A NUL ends the text; a lone lead byte at the end is a field of its own.
        {std::string("甲，127.0.0.1，\0乙，丙，", 18), "A，B，\xB0", 1, 1, "甲", "127.0.0.1"},
        // Ten megabytes of random characters with 41 separators: 42 fields, 21 hosts; and a
        // file without any separator.
        {NoisyHostFile(10 * 1024 * 1024, 41, 7), "no separators at all\r\n", 21, 0, "", ""},
    };
    for (const Start& s : starts) {
        SCOPED_TRACE(s.inside.substr(0, 12));
        Toolbox::Options options;
        options.files = {{L"疆内.txt", s.inside}, {L"疆外.txt", s.outside}};
        Toolbox t(options);
        ASSERT_TRUE(t.started());
        EXPECT_EQ(t.Rows(疆内超级列表框), s.insideRows);
        EXPECT_EQ(t.Rows(超级列表框1), s.insideRows);
        EXPECT_EQ(t.Rows(疆外超级列表框), s.outsideRows);
        if (!s.firstInsideLabel.empty()) {
            EXPECT_EQ(t.Cell(疆内超级列表框, 0, 1), s.firstInsideLabel);
            EXPECT_EQ(t.Cell(超级列表框1, 0, 0), s.firstInsideAddress);
        }
        RECT in = t.ScreenRect(疆内分组框), out = t.ScreenRect(疆外分组框);
        EXPECT_EQ(in.bottom - in.top, s.insideRows * 18 + 12);
        EXPECT_EQ(out.bottom - out.top, s.outsideRows * 18);
        EXPECT_EQ(ReadWholeFile(t.File(L"疆内.txt")), s.inside) << "an existing file is never rewritten";
        EXPECT_EQ(t.Close(), 0u);
    }
}
