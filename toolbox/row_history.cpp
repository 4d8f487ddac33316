// Each result row's recent history and the tip that shows it: the workers hand every probe's
// outcome to the row's list, whose window thread keeps it, as it keeps the cells they write;
// resting the pointer on a row shows its history (controls/row_tip.h), kept by the list view unit.
#include <memory>
#include <string>
#include <vector>

#include "controls/list_view_unit.h"
#include "toolbox/network_monitor.h"
#include "toolbox/probe_history.h"

using namespace rt;
using namespace units;

namespace {

// One result list's rows: their histories and what their tips say and draw.
class ResultRowHistories final : public RowTipSource {
public:
    ResultRowHistories(Unit<ListView> results, Unit<ListView> addresses, std::vector<uint32_t> thresholds)
        : results_(results), addresses_(addresses), thresholds_(std::move(thresholds)) {}

    void Record(int32_t row, const void* record) override {
        if (row < 0) return;
        const auto& outcome = *static_cast<const ProbeOutcome*>(record);
        if (rows_.size() <= static_cast<size_t>(row)) rows_.resize(static_cast<size_t>(row) + 1);
        rows_[static_cast<size_t>(row)].Add(outcome.lost, outcome.milliseconds, outcome.lamp,
                                            GetCurrentDateTime().days);
    }

    bool Describe(int32_t row, RowTipContent& content) override {
        if (row < 0 || static_cast<size_t>(row) >= rows_.size()) return false;
        const ProbeHistory& history = rows_[static_cast<size_t>(row)];
        if (history.Empty()) return false;
        Text label = ListViewCellText(results_, row, 1);
        Text address = ListViewCellText(addresses_, row, 0);
        content.lines = ProbeTipLines(std::string(label.view()), std::string(address.view()), history);
        content.bars.clear();
        for (int32_t i = 0; i < history.Count(); ++i) content.bars.push_back({history.TimeAt(i), history.LostAt(i)});
        content.guides = thresholds_;
        content.top = GraphTop(history, thresholds_);
        return true;
    }

private:
    Unit<ListView> results_;
    Unit<ListView> addresses_;  // the host list whose row i is result row i's host
    std::vector<uint32_t> thresholds_;
    std::vector<ProbeHistory> rows_;  // grows to the highest row probed, never shrinks
};

}  // namespace

void AttachRowHistories() {
    // The lamp thresholds of each list (lamp_rules.cpp), drawn as the graph's guides.
    AttachRowTips(GetWindowHandle(疆内超级列表框),
                  std::make_unique<ResultRowHistories>(疆内超级列表框, 超级列表框1, std::vector<uint32_t>{8, 100}));
    AttachRowTips(GetWindowHandle(疆外超级列表框),
                  std::make_unique<ResultRowHistories>(疆外超级列表框, 超级列表框2, std::vector<uint32_t>{80, 120, 2000}));
}

void RecordProbeOutcome(Unit<ListView> results, int32_t row, const ProbeOutcome& outcome) {
    SendRowRecord(GetWindowHandle(results), row, &outcome);
}
