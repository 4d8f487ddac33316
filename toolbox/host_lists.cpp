// The two host lists: read from 疆内.txt and 疆外.txt beside the program, split into label
// and address pairs at the separator that 分割符编辑框 holds, shown one row per host.
#include "runtime/phase_timing.h"
#include "toolbox/event_handlers.h"
#include "toolbox/host_list_rules.h"
#include "toolbox/lamp_rules.h"
#include "toolbox/network_monitor.h"
#include "toolbox/tool_globals.h"

using namespace rt;
using namespace units;

namespace {

// The whole file up to its first NUL, split at the separator with no limit.
void ReadHostList(TextView path, StaticTextArray& parts) {
    Text content = ToText(ReadFile(path));
    Text separator = Get(分割符编辑框, EditBox::Content);
    parts.Replace(SplitText(content, separator));
}

int32_t ColumnsWidth(Unit<ListView> list) {
    return ListViewColumnWidth(list, 0) + ListViewColumnWidth(list, 1) + ListViewColumnWidth(list, 2);
}

void FillRows(Unit<ListView> results, Unit<ListView> addresses, const StaticTextArray& parts, int32_t hosts) {
    for (int32_t host = 0; host < hosts; ++host) {
        int32_t row = ListViewAppendRow(results);
        int32_t addressRow = ListViewAppendRow(addresses);
        ListViewSetCellText(results, row, 1, parts[LabelField(host)]);
        ListViewSetCellText(results, row, 2, "...");
        ListViewSetCellImage(results, row, 0, kLampGrey);
        ListViewSetCellText(addresses, addressRow, 0, parts[AddressField(host)]);
    }
}

}  // namespace

uint32_t MG_STDCALL LoadHostLists(void*) {
    PhaseSpan span(Phase::kLoadHostLists);
    Text directory = GetRunDirectory();
    ReadHostList(Concat({directory, "/疆内.txt"}), g_tools.insideParts);
    ReadHostList(Concat({directory, "/疆外.txt"}), g_tools.outsideParts);
    g_tools.insideHostCount = HostCount(g_tools.insideParts.size());
    g_tools.outsideHostCount = HostCount(g_tools.outsideParts.size());

    Set(疆内分组框, Common::Height, InsideGroupHeight(g_tools.insideHostCount));
    Set(疆内分组框, Common::Width, ColumnsWidth(疆内超级列表框));
    Set(疆外分组框, Common::Height, OutsideGroupHeight(g_tools.outsideHostCount));
    Set(疆外分组框, Common::Width, ColumnsWidth(疆外超级列表框));
    Sleep(3);
    FillHostRows();
    return 0;
}

void FillHostRows() {
    PhaseSpan span(Phase::kFillRows);
    // All rows in one trip to the window thread: sent one by one from the loader, each of
    // the six cells of a row would wait its turn behind the window's first paint.
    ListViewBatch(疆内超级列表框, [] {
        FillRows(疆内超级列表框, 超级列表框1, g_tools.insideParts, g_tools.insideHostCount);
        FillRows(疆外超级列表框, 超级列表框2, g_tools.outsideParts, g_tools.outsideHostCount);
    });
}

// The shell's editor for the list; an edited list takes effect at the next start.
void OpenInsideListFile() { ShellOpen(Concat({GetRunDirectory(), "/疆内.txt"})); }
void OpenOutsideListFile() { ShellOpen(Concat({GetRunDirectory(), "/疆外.txt"})); }
