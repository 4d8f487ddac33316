#include "toolbox/start_tools.h"

#include "runtime/startup.h"
#include "toolbox/rt.h"
#include "toolbox/tool_globals.h"

int32_t StartTools() {
    rt::InitialiseRuntime();
    ResetFloatingPointUnit();
    InitToolGlobals();
    rt::RegisterExitRoutine(&FreeToolGlobals);
    rt::LoadStartWindow(units::主窗口);  // runs OnMainWindowCreated before it returns
    rt::MessageLoop();
    return 0;
}
