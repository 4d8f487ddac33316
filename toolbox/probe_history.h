// What a result row of the network monitor remembers of its host: the outcome of its last
// 100 probes (a round-trip time, or lost) and when its lamp last changed colour; and what its
// tip says and draws from that. Portable.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class ProbeHistory {
public:
    static constexpr int32_t kCapacity = 100;

    // A probe's outcome. `days` is the date-time of its arrival (days since 30 December 1899,
    // the fraction the time of day); only the lamp's changes keep it.
    void Add(bool lost, uint32_t milliseconds, int32_t lamp, double days);

    int32_t Count() const { return count_; }
    bool Empty() const { return count_ == 0; }
    // Probe i of Count(), the oldest first.
    bool LostAt(int32_t i) const { return samples_[Slot(i)] == kLost; }
    uint32_t TimeAt(int32_t i) const { return LostAt(i) ? 0 : samples_[Slot(i)]; }
    // When the lamp took its present colour; the first probe's lamp counts as a change.
    double LampSince() const { return lampSince_; }

private:
    // Times are kept in 16 bits: a probe times out long before 65 seconds.
    static constexpr uint16_t kLost = 0xFFFF;
    static constexpr uint16_t kLongest = kLost - 1;
    int32_t Slot(int32_t i) const { return (next_ + kCapacity - count_ + i) % kCapacity; }

    std::array<uint16_t, kCapacity> samples_{};
    uint8_t next_ = 0;   // where the next probe goes
    uint8_t count_ = 0;  // up to kCapacity
    int8_t lamp_ = -1;   // none yet
    double lampSince_ = 0;
};

struct ProbeSummary {
    int32_t count = 0;
    int32_t lost = 0;
    int32_t lossPercent = 0;  // rounded to the nearest whole percent
    // Over the probes that were not lost; only when `answered` is above 0.
    int32_t answered = 0;
    uint32_t shortest = 0, longest = 0;
    double average = 0;
    bool lastLost = false;
    uint32_t last = 0;
};
ProbeSummary Summarise(const ProbeHistory& history);

// The tip's lines (GBK): the host, the loss share, the times, the lamp's age. A host that never
// answered shows "—" for its times; a lost last probe shows "上次丢失".
std::vector<std::string> ProbeTipLines(const std::string& label, const std::string& address,
                                       const ProbeHistory& history);

// The time at the top of the tip's graph: a quarter above the first lamp threshold at or
// above the longest time shown, or above the longest time once that passes every threshold,
// so the threshold that matters is drawn below the top and no bar is cut off.
// `thresholds` ascend.
double GraphTop(const ProbeHistory& history, const std::vector<uint32_t>& thresholds);
