// A result row's probe history: the ring of the last 100 probes, the statistics over the
// probes that got a reply, the lamp's age, the tip's lines and the graph's scale. Narrow
// literals are GBK, like the program's texts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "toolbox/lamp_rules.h"
#include "toolbox/probe_history.h"

namespace {

constexpr double kDay = 46000;  // some day; the fraction is the time of day
double At(int h, int m, int s) { return kDay + (h * 3600 + m * 60 + s) / 86400.0; }

TEST(ProbeHistory, KeepsTheLast100ProbesInOrder) {
    ProbeHistory h;
    EXPECT_TRUE(h.Empty());
    for (uint32_t i = 0; i < 250; ++i) h.Add(i % 10 == 9, i, kLampGreen, At(8, 0, 0));
    ASSERT_EQ(h.Count(), ProbeHistory::kCapacity);
    for (int32_t i = 0; i < h.Count(); ++i) {
        const uint32_t probe = 150 + static_cast<uint32_t>(i);
        EXPECT_EQ(h.LostAt(i), probe % 10 == 9) << i;
        if (!h.LostAt(i)) {
            EXPECT_EQ(h.TimeAt(i), probe) << i;
        }
    }
    const ProbeSummary s = Summarise(h);
    EXPECT_EQ(s.lost, 10);
    EXPECT_EQ(s.lossPercent, 10);
    EXPECT_EQ(s.shortest, 150u);
    EXPECT_EQ(s.longest, 248u);
    EXPECT_TRUE(s.lastLost);  // probe 249
    // A time beyond 16 bits is kept as the longest one held, never read back as lost.
    h.Add(false, 70000, kLampGrey, At(8, 0, 1));
    EXPECT_FALSE(h.LostAt(h.Count() - 1));
    EXPECT_EQ(h.TimeAt(h.Count() - 1), 65534u);
}

TEST(ProbeHistory, TipLinesCountLossesAndTimeOnlyTheReplies) {
    ProbeHistory h;
    // Every fourth lost; a reply that came back too slowly still counts with its time.
    const struct {
        bool lost;
        uint32_t ms;
        int32_t lamp;
        double at;
    } probes[] = {{false, 30, kLampGreen, At(9, 5, 7)}, {false, 31, kLampGreen, At(9, 5, 13)},
                  {false, 30, kLampGreen, At(9, 5, 19)}, {true, 0, kLampGrey, At(9, 5, 25)},
                  {false, 29, kLampGreen, At(9, 5, 31)}, {false, 33, kLampGreen, At(9, 5, 37)},
                  {false, 130, kLampGreen, At(9, 5, 43)}, {true, 0, kLampGrey, At(14, 0, 9)}};
    for (const auto& p : probes) h.Add(p.lost, p.ms, p.lamp, p.at);
    const std::vector<std::string> lines = ProbeTipLines("\r\n落", "127.3.4.30", h);
    const std::vector<std::string> expected = {"落（127.3.4.30）", "最近8次：丢失2次（25%）",
                                               "最短29毫秒，平均47毫秒，最长130毫秒，上次丢失", "灯色自14时0分9秒起"};
    EXPECT_EQ(lines, expected);

    // The lamp keeps its time while its colour stays; the first probe's lamp counts.
    h.Add(false, 40, kLampGrey, At(15, 0, 0));
    EXPECT_EQ(ProbeTipLines("落", "", h)[3], "灯色自14时0分9秒起");
    h.Add(false, 41, kLampGreen, At(15, 30, 59));
    EXPECT_EQ(ProbeTipLines("落", "", h)[3], "灯色自15时30分59秒起");
    EXPECT_EQ(ProbeTipLines("落", "", h)[0], "落（无地址）");

    ProbeHistory silent;
    silent.Add(true, 0, kLampGrey, At(0, 0, 0));
    silent.Add(true, 0, kLampGrey, At(0, 0, 6));
    EXPECT_EQ(ProbeTipLines("静", "127.2.0.1", silent),
              (std::vector<std::string>{"静（127.2.0.1）", "最近2次：丢失2次（100%）", "最短—，平均—，最长—，上次丢失",
                                        "灯色自0时0分0秒起"}));
}

TEST(ProbeHistory, GraphTopLeavesTheThresholdThatMattersBelowIt) {
    const std::vector<uint32_t> inside = {8, 100}, outside = {80, 120, 2000};
    ProbeHistory fast;
    fast.Add(false, 30, kLampGreen, 0);
    fast.Add(true, 0, kLampGrey, 0);
    EXPECT_DOUBLE_EQ(GraphTop(fast, inside), 125);  // 30 ms under 100 ms
    EXPECT_DOUBLE_EQ(GraphTop(fast, outside), 100);  // 30 ms under 80 ms
    ProbeHistory slow;
    slow.Add(false, 300, kLampGrey, 0);
    EXPECT_DOUBLE_EQ(GraphTop(slow, inside), 375);  // past every threshold: the time itself
    ProbeHistory lostOnly;
    lostOnly.Add(true, 0, kLampGrey, 0);
    EXPECT_DOUBLE_EQ(GraphTop(lostOnly, inside), 10);  // only the lowest threshold
}

}  // namespace
