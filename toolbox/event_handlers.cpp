#include "toolbox/event_handlers.h"

void OnMainWindowCreated() {
    // Filled in by the start-up work: host list files, record folder, monitor, clock.
}
