#include "tests/win/toolbox/action_failure.h"

#include <cstring>
#include <functional>

#include <gtest/gtest.h>

#include "runtime/test_hooks.h"
#include "tests/win/toolbox/monitor_load.h"

using namespace units;

namespace {

constexpr char kClock[] = "2026-12-08 14:05:09";
constexpr wchar_t kRecordName[] = L"2026年12月8日14时5分9秒.jpg";

bool SendHook(const Toolbox& t, const wchar_t* name, WPARAM wParam, DWORD_PTR* answer) {
    HWND owner = HiddenOwnerOf(t.pid());
    return owner && SendMessageTimeoutW(owner, RegisterWindowMessageW(name), wParam, 0, SMTO_NORMAL, 20000, answer);
}

// The Nth allocation from the next press fails; with 0 the press only starts the count.
bool ArmAtNextPress(const Toolbox& t, uint64_t n) {
    DWORD_PTR armed = 0;
    return SendHook(t, kFailAllocationAtInput, static_cast<WPARAM>(n), &armed) && armed == 1;
}

// Allocations since the armed press; -1 before it came or when the program does not answer.
int64_t AllocationsSincePress(const Toolbox& t) {
    DWORD_PTR since = 0;
    if (!SendHook(t, kAllocationsSinceInput, 0, &since)) return -1;
    return static_cast<int64_t>(static_cast<LONG_PTR>(since));
}

uint32_t BmpDeclaredSize(const std::string& bytes) {
    uint32_t size = 0;
    if (bytes.size() >= 6 && bytes[0] == 'B' && bytes[1] == 'M') std::memcpy(&size, bytes.data() + 2, 4);
    return size;
}

// A record is either whole or missing; no temporary file stays beside it.
std::string RecordFolderProblem(const std::wstring& folder) {
    std::string problem;
    for (const std::wstring& name : FileNamesIn(folder)) {
        std::string bytes = ReadWholeFile(folder + L"\\" + name);
        if (name != kRecordName)
            problem += "a file left beside the record: " + Gbk(name) + "; ";
        else if (bytes.empty() || BmpDeclaredSize(bytes) != bytes.size())
            problem += "a record of " + std::to_string(bytes.size()) + " bytes that should have " +
                       std::to_string(BmpDeclaredSize(bytes)) + "; ";
    }
    return problem;
}

// Brings the program to the moment before the action; the test that tells its work is done.
std::function<bool()> Prepare(Toolbox& t, ToolAction action) {
    switch (action) {
        case ToolAction::MonitorPass: {
            t.ShowPage(1);
            t.Click(编辑框秒);  // emptied by the click: no second pass comes in the sweep's time
            t.Type("600");
            const DWORD threads = ThreadCountOf(t.pid());
            // The last outside host answers: its row shows a time once the pass wrote it.
            return [&t, threads] { return t.Cell(疆外超级列表框, 20, 2) != "..." && ThreadCountOf(t.pid()) <= threads; };
        }
        case ToolAction::Export: {
            t.ShowPage(0);
            const std::wstring record = t.File(L"盘货记录\\") + kRecordName;
            return [record] {
                std::string bytes = ReadWholeFile(record);
                return !bytes.empty() && BmpDeclaredSize(bytes) == bytes.size();
            };
        }
        case ToolAction::Calculate:
            t.ShowPage(0);
            t.Click(盘饮料2);
            t.Type("3");
            t.Click(盘小吃5);
            t.Type("2");
            t.Click(盘香烟4);
            t.Type("1");
            t.Press(VK_RETURN);  // the last box hands over to 计算
            EXPECT_TRUE(WaitUntil([&t] { return t.HasFocus(计算); })) << "Enter did not reach 计算";
            return [&t] { return !t.Text(总额).empty(); };
        case ToolAction::TopUp:
            t.ShowPage(2);
            t.Click(编辑框1);
            for (const char* amount : {"100", "50", "3"}) {
                t.Type(amount);
                t.Press(VK_RETURN);
            }
            EXPECT_TRUE(WaitUntil([&t] { return t.HasFocus(计算按钮); })) << "Enter did not reach 计算按钮";
            return [&t] { return !t.Text(编辑框4).empty(); };
    }
    return [] { return false; };
}

void Perform(Toolbox& t, ToolAction action) {
    switch (action) {
        case ToolAction::MonitorPass: t.Click(开始); break;
        case ToolAction::Export: t.Click(导出); break;
        case ToolAction::Calculate:
        case ToolAction::TopUp: t.Press(VK_RETURN); break;
    }
}

}  // namespace

const char* ActionName(ToolAction action) {
    switch (action) {
        case ToolAction::MonitorPass: return "pass";
        case ToolAction::Export: return "export";
        case ToolAction::Calculate: return "calculate";
        case ToolAction::TopUp: return "top-up";
    }
    return "?";
}

std::optional<ToolAction> ActionNamed(const std::string& name) {
    for (ToolAction a : kAllToolActions)
        if (name == ActionName(a)) return a;
    return std::nullopt;
}

Toolbox::Options ActionProgramOptions() {
    Toolbox::Options options;
    // 127.2.x.y never answers; the last outside host does, so that its row tells the pass's end.
    options.files = {
        {L"疆内.txt", HostList({{"路由器", "127.0.0.1"}, {"游戏A", "127.1.0.20"}, {"游戏B", "127.2.0.1"},
                                {"电影", "127.1.0.90"}, {"管家", "127.0.0.3"}, {"DNS", "127.2.0.2"}})},
        {L"疆外.txt", HostList({{"门户", "127.0.0.2"},  {"本机", "localhost"},   {"一", "127.1.0.40"},
                                {"二", "127.2.1.1"},    {"三", "127.1.0.85"},    {"四", "127.1.0.130"},
                                {"五", "127.2.1.2"},    {"六", "127.1.0.10"},    {"七", "127.0.0.4"},
                                {"八", "127.1.0.60"},   {"九", "127.2.1.3"},     {"十", "127.1.0.100"},
                                {"十一", "127.1.0.5"},  {"十二", "127.2.1.4"},   {"十三", "127.1.0.150"},
                                {"十四", "127.0.0.5"},  {"十五", "127.1.0.70"},  {"十六", "127.2.1.5"},
                                {"十七", "127.1.0.25"}, {"十八", "127.1.0.120"}, {"十九", "127.1.0.30"}})},
    };
    options.clock = kClock;
    return options;
}

uint64_t CountActionAllocations(Toolbox& t, ToolAction action) {
    std::function<bool()> done = Prepare(t, action);
    if (!ArmAtNextPress(t, 0)) return 0;
    Perform(t, action);
    if (!WaitUntil(done, 60000)) return 0;
    t.Settle();
    int64_t since = AllocationsSincePress(t);
    return since > 0 ? static_cast<uint64_t>(since) : 0;
}

ActionRun FailActionAllocation(ToolAction action, uint64_t n) {
    ActionRun result;
    Toolbox t(ActionProgramOptions());
    ChildProcess* child = t.process();
    if (!t.started() || !child) return result;
    result.run.started = true;
    result.run.windowShown = true;
    Prepare(t, action);
    if (!ArmAtNextPress(t, n)) {
        result.recordLeft = "the program did not take the hook";
        return result;
    }
    Perform(t, action);
    RunOptions watch;
    watch.timeoutMs = action == ToolAction::MonitorPass ? 30000 : 15000;
    bool ended = WatchToTheEnd(*child, result.run, watch);
    if (!ended && result.run.boxes.empty()) {
        int64_t since = AllocationsSincePress(t);
        result.reached = since < 0 || static_cast<uint64_t>(since) >= n;
        if (!result.reached) ended = t.Close() != STILL_ACTIVE;
    }
    result.run.exitCode = child->Wait(ended ? 5000 : 0);
    result.recordLeft += RecordFolderProblem(t.File(L"盘货记录"));
    return result;
}

std::string ActionFailureMisbehaviour(const ActionRun& run) {
    if (!run.reached) return "";
    std::string why = AllocationFailureMisbehaviour(run.run);
    if (!run.recordLeft.empty()) why += (why.empty() ? "" : "; ") + run.recordLeft;
    return why;
}
