// The tools' work after the window has come up, with one of its allocations failed: the real
// program started on the lab's hosts, brought to the moment before one action, its test hook
// armed to fail the Nth allocation counted from the action's key or button press, the action
// done with real input, and then watched to its end. Used by the reliability test and the
// sweep tool.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "tests/win/toolbox/program_run.h"
#include "tests/win/toolbox/toolbox_driver.h"

enum class ToolAction {
    MonitorPass,  // a click on 开始, until the pass's last row is written (6 and 21 hosts, some silent)
    Export,       // a click on 导出文件, until the record is written
    Calculate,    // Enter on 计算 with counts typed, until the totals show
    TopUp,        // Enter on the top-up 计算按钮 with the three amounts typed, until the rate shows
};
inline constexpr ToolAction kAllToolActions[] = {ToolAction::MonitorPass, ToolAction::Export, ToolAction::Calculate,
                                                 ToolAction::TopUp};

const char* ActionName(ToolAction action);  // pass, export, calculate, top-up
std::optional<ToolAction> ActionNamed(const std::string& name);

// The program's files and clock for the actions.
Toolbox::Options ActionProgramOptions();

// Does the action on a started program with no failure armed and answers the allocations it
// made from its press until its work was done; 0 when that could not be told. Actions may
// follow one another on one program.
uint64_t CountActionAllocations(Toolbox& toolbox, ToolAction action);

struct ActionRun {
    ProgramRun run;
    bool reached = true;      // false: the action ended before it made N allocations
    std::string recordLeft;   // a record folder that is not as it should be, described
};

// A program of its own, the action's Nth allocation failed, watched to its end.
ActionRun FailActionAllocation(ToolAction action, uint64_t n);

// Empty when the run ended the way a failed allocation must (one report box, exit code -1)
// and left no half-written record or temporary file behind; otherwise what went wrong.
std::string ActionFailureMisbehaviour(const ActionRun& run);
