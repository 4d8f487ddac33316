// The tools' event handlers, named by the main window's form (toolbox/main_window.toml).
// The form compiler puts each one into the event-code table; the runtime calls them
// with the event's arguments.
#pragma once

// Window 0x52010001, event 0: the main window has been created.
void OnMainWindowCreated();
