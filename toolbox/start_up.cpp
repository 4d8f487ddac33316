// What happens when the main window has been created: the default host files, the record
// folder, the monitor's state, the host list loader, the result lists and the clock.
#include <optional>

#include "runtime/phase_timing.h"
#include "toolbox/event_handlers.h"
#include "toolbox/network_monitor.h"
#include "toolbox/tool_globals.h"

using namespace rt;
using namespace units;

namespace {

constexpr int32_t kReportView = 3;

struct ResultColumn {
    const char* title;
    int32_t width;
};
// Lamp, host label, round-trip time: 168 pixels together, which the loader reads back to
// size the group boxes.
constexpr ResultColumn kResultColumns[] = {{" ", 18}, {"服务器", 110}, {"延时", 40}};

// The list box's items, one line each in list order, each ended by CR LF, in a new file.
void WriteDefaultHostFile(TextView path, Unit<ListBox> defaults) {
    WriteFile(path, Bytes());
    File file = File::Open(path);
    for (int32_t j = 0, n = ListBoxCount(defaults); j < n; ++j)
        file.WriteBytes(ToBytes(Concat({ListBoxItemText(defaults, j), "\r\n"})));
    file.Close();
}

// Report view filling its group box from the top left, three centred columns. The list view
// is at least as large as the group box, which clips it to the rows it has.
void SetUpResultList(Unit<ListView> list) {
    Set(list, ListView::ViewType, kReportView);
    Set(list, Common::Left, 0);
    Set(list, Common::Top, 0);
    Set(list, Common::Height, GetClientHeight(主窗口));
    Set(list, Common::Width, GetClientWidth(主窗口));
    Set(list, ListView::GridLines, false);
    Set(list, ListView::FullRowSelect, true);
    for (const ResultColumn& column : kResultColumns)
        ListViewAppendColumn(list, column.title, column.width, Alignment::Centre);
}

void SetUpResultLists() {
    SetUpResultList(疆内超级列表框);
    SetUpResultList(疆外超级列表框);
}

}  // namespace

void OnMainWindowCreated() {
    std::optional<PhaseSpan> step(std::in_place, Phase::kHostFiles);
    Text directory = GetRunDirectory();
    // A host list file that exists, even empty, is never rewritten.
    Text insideFile = Concat({directory, "\\疆内.txt"});
    if (!FileExists(insideFile)) WriteDefaultHostFile(insideFile, 列表框1);
    Text outsideFile = Concat({directory, "\\疆外.txt"});
    if (!FileExists(outsideFile)) WriteDefaultHostFile(outsideFile, 列表框2);
    Text records = Concat({directory, "\\盘货记录\\"});
    if (!FileExists(records)) CreateDirectory(records);

    g_tools.probeLimit = 30;
    g_tools.monitorLock = CriticalSection::Create();
    // The loader reads the result lists' columns through the window thread, which handles
    // its requests once this handler has returned: after SetUpResultLists.
    StartThread(&LoadHostLists);
    Sleep(2);
    step.emplace(Phase::kSetUpLists);
    SetUpResultLists();
    AttachRowHistories();
    Set(时钟1, Timer::Interval, 1000);
}
