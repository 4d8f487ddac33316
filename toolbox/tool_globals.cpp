#include "toolbox/tool_globals.h"

ToolGlobals g_tools;

void InitToolGlobals() {
    g_tools.insideParts.Replace(rt::TextArray::Empty());
    g_tools.outsideParts.Replace(rt::TextArray::Empty());
}

void FreeToolGlobals(int32_t /*position*/) {
    g_tools.insideParts.Free();
    g_tools.outsideParts.Free();
}
