// A finished count is kept as a picture of the main window in 盘货记录 beside the program,
// named after the date and time of the export.
#include "toolbox/event_handlers.h"
#include "toolbox/rt.h"

using namespace rt;
using namespace units;

namespace {

Text RecordFolder() { return Concat({GetRunDirectory(), "\\盘货记录\\"}); }

}  // namespace

// The bytes are the BMP image the capture gives, written unchanged under the ".jpg" name.
void ExportInventoryImage() {
    intptr_t window = GetWindowHandle(主窗口);
    Text folder = RecordFolder();
    Text stamp = ToText(GetCurrentDateTime());  // before the picture: the clock line may lag it
    Text path = Concat({folder, stamp, ".jpg"});
    Bytes image = CaptureWindowImage(window);
    if (WriteFile(path, image)) return;
    // The folder was removed while the program ran: a record that silently goes nowhere is a
    // lost count, so the folder is made again as at start-up, and a record that still cannot
    // be written is reported.
    CreateDirectory(folder);
    if (!WriteFile(path, image)) MessageBox(Concat({"盘货记录未能保存：", path}));
}

void OpenRecordDirectory() { ShellOpen(RecordFolder()); }
