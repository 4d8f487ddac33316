#include "toolbox/probe_history.h"

#include <algorithm>
#include <cmath>

void ProbeHistory::Add(bool lost, uint32_t milliseconds, int32_t lamp, double days) {
    samples_[next_] = lost ? kLost : static_cast<uint16_t>(std::min<uint32_t>(milliseconds, kLongest));
    next_ = static_cast<uint8_t>((next_ + 1) % kCapacity);
    if (count_ < kCapacity) ++count_;
    if (lamp != lamp_) {
        lamp_ = static_cast<int8_t>(lamp);
        lampSince_ = days;
    }
}

ProbeSummary Summarise(const ProbeHistory& history) {
    ProbeSummary s;
    s.count = history.Count();
    uint64_t total = 0;
    for (int32_t i = 0; i < s.count; ++i) {
        if (history.LostAt(i)) {
            ++s.lost;
            continue;
        }
        const uint32_t t = history.TimeAt(i);
        s.shortest = s.answered == 0 ? t : std::min(s.shortest, t);
        s.longest = std::max(s.longest, t);
        total += t;
        ++s.answered;
    }
    if (s.count > 0) {
        s.lossPercent = (s.lost * 200 + s.count) / (s.count * 2);
        s.lastLost = history.LostAt(s.count - 1);
        s.last = history.TimeAt(s.count - 1);
    }
    if (s.answered > 0) s.average = static_cast<double>(total) / s.answered;
    return s;
}

namespace {

std::string Ms(uint32_t t) { return std::to_string(t) + "毫秒"; }

// The time of day of a date-time, as the program writes times: 14时5分9秒.
std::string TimeOfDay(double days) {
    double fraction = days - std::floor(days);
    auto seconds = static_cast<int64_t>(std::llround(fraction * 86400)) % 86400;
    return std::to_string(seconds / 3600) + "时" + std::to_string(seconds / 60 % 60) + "分" +
           std::to_string(seconds % 60) + "秒";
}

// Labels come from the host file as they are; a line break in one would split the tip's line.
std::string OneLine(const std::string& text) {
    std::string out;
    for (char c : text)
        if (c != '\r' && c != '\n') out += c;
    return out;
}

}  // namespace

std::vector<std::string> ProbeTipLines(const std::string& label, const std::string& address,
                                       const ProbeHistory& history) {
    const ProbeSummary s = Summarise(history);
    std::vector<std::string> lines;
    lines.push_back(OneLine(label) + "（" + (address.empty() ? std::string("无地址") : OneLine(address)) + "）");
    lines.push_back("最近" + std::to_string(s.count) + "次：丢失" + std::to_string(s.lost) + "次（" +
                    std::to_string(s.lossPercent) + "%）");
    const std::string last = s.lastLost ? "上次丢失" : "上次" + Ms(s.last);
    if (s.answered > 0) {
        const auto average = static_cast<uint32_t>(std::lround(s.average));
        lines.push_back("最短" + Ms(s.shortest) + "，平均" + Ms(average) + "，最长" + Ms(s.longest) + "，" + last);
    } else {
        lines.push_back("最短—，平均—，最长—，" + last);
    }
    lines.push_back("灯色自" + TimeOfDay(history.LampSince()) + "起");
    return lines;
}

double GraphTop(const ProbeHistory& history, const std::vector<uint32_t>& thresholds) {
    const uint32_t longest = Summarise(history).longest;
    uint32_t reference = longest;
    for (uint32_t threshold : thresholds) {
        if (threshold >= longest) {
            reference = threshold;
            break;
        }
    }
    return std::max<double>(reference, 1) * 1.25;
}
