// The monitoring cycle: 开始 runs a pass at once and sets 时钟2 to the interval; each tick
// runs another. A pass starts one worker per row index, holding back while ProbeLimit probes
// are in flight; each worker probes the inside and the outside host of its row and writes
// the time and the lamp.
#include <string_view>

#include "runtime/phase_timing.h"
#include "runtime/value_ops.h"
#include "toolbox/event_handlers.h"
#include "toolbox/lamp_rules.h"
#include "toolbox/network_monitor.h"
#include "toolbox/tool_globals.h"

using namespace rt;
using namespace units;

namespace {

constexpr int32_t kShortestInterval = 5;  // seconds; the message says 6, the form's value
constexpr const char* kProbeData = "aaaaaa";

void CountProbes(int32_t change) {
    Lock lock(g_tools.monitorLock);
    g_tools.probesInFlight.fetch_add(change);
}

// A worker's two probes, counted in while it runs and given back however it ends: the
// runtime ends a worker early, unwinding it, when it reaches for a closed window.
struct ProbesCounted {
    ProbesCounted() { CountProbes(+2); }
    ~ProbesCounted() { CountProbes(-2); }
    ProbesCounted(const ProbesCounted&) = delete;
    ProbesCounted& operator=(const ProbesCounted&) = delete;
};

// Probes the host of row `row` of `addresses` and returns its time text, setting
// `echoed` when the reply carries the probe data and `lost` when no reply came. A row with an
// empty address is not probed (an empty address would probe this computer): it reads as a
// probe without a reply, and so counts as lost.
Text ProbeRow(Unit<ListView> addresses, int32_t row, bool* echoed, bool* lost) {
    Text host = [&] {
        PhaseSpan span(Phase::kCellRead);
        return ListViewCellText(addresses, row, 0);
    }();
    ProbeReply reply;
    // A late reply still counts as a reply; only a failed probe is lost.
    *lost = host.empty() || ProbeHost(host, kProbeData, reply) != 0;
    *echoed = reply.DataText() == kProbeData;
    return ToText(static_cast<int32_t>(reply.roundTripTime));
}

// The row's time and lamp, and the probe in its history, in one trip to the window thread:
// rows whose hosts are silent all come to this point together, one timeout after they
// started, and a trip for each cell would queue them behind each other.
void ShowVerdict(Unit<ListView> results, int32_t row, TextView time, bool lost, RowVerdict verdict) {
    PhaseSpan span(Phase::kCellWrite);
    ListViewBatch(results, [&] {
        ListViewSetCellText(results, row, 2, time);
        ListViewSetCellImage(results, row, 0, verdict.lamp);
        if (verdict.hideTime) ListViewSetCellText(results, row, 2, "...");
        RecordProbeOutcome(results, row, {lost, static_cast<uint32_t>(ToInteger(time)), verdict.lamp});
    });
}

}  // namespace

void StartMonitoring() {
    Text seconds = Get(编辑框秒, EditBox::Content);
    if (seconds.empty() || ToInteger(seconds) < kShortestInterval) {
        MessageBox("请输入大于6的数值");
        return;
    }
    StartThread(&RunMonitorPass);  // the first pass at once
    // Writing the interval it already has leaves the timer running unchanged.
    Set(时钟2, Timer::Interval, DoubleToInt32(ToNumber(seconds) * 1000));
}

// Passes and workers already running finish and still write their rows.
void StopMonitoring() { Set(时钟2, Timer::Interval, 0); }

void ClearIntervalBox(int32_t, int32_t, int32_t) { Set(编辑框秒, EditBox::Content, ""); }

// A tick starts a pass even while an earlier one runs; they share ProbesInFlight.
void OnMonitorTimer() { StartThread(&RunMonitorPass); }

uint32_t MG_STDCALL RunMonitorPass(void*) {
    PhaseSpan pass(Phase::kPass);
    const int32_t rows = ListViewRowCount(超级列表框1) + ListViewRowCount(超级列表框2);
    for (int32_t row = 0; row < rows; ++row) {
        StartThread(&ProbeWorker, row);
        // A new worker counts itself once it runs, so a few more may briefly be running.
        PhaseSpan throttle(Phase::kThrottle);
        while (g_tools.probesInFlight.load() >= g_tools.probeLimit) Sleep(1);
    }
    PhaseSpan finalWait(Phase::kFinalWait);
    while (g_tools.probesInFlight.load() != 0) Sleep(1);
    return 0;
}

uint32_t MG_STDCALL ProbeWorker(void* rowIndex) {
    const auto row = static_cast<int32_t>(reinterpret_cast<intptr_t>(rowIndex));
    ProbesCounted counted;
    // A row index past the end of a list has nothing to probe and no row to write: the list
    // is not asked at all, which spares the window thread a read and three writes that would
    // change nothing.
    bool echoed = false;
    bool lost = false;
    if (row < g_tools.insideHostCount.load()) {
        Text insideTime = ProbeRow(超级列表框1, row, &echoed, &lost);
        RowVerdict verdict = JudgeInsideHost(ToNumber(insideTime), echoed);
        ShowVerdict(疆内超级列表框, row, insideTime, lost, verdict);
    }
    if (row < g_tools.outsideHostCount.load()) {
        Text outsideTime = ProbeRow(超级列表框2, row, &echoed, &lost);  // its echoed data is not looked at
        RowVerdict verdict = JudgeOutsideHost(ToNumber(outsideTime));
        ShowVerdict(疆外超级列表框, row, outsideTime, lost, verdict);
    }
    return 0;
}
