// The message box command.
#include <string>

#include "runtime/commands/command_args.h"
#include "runtime/commands/core_commands.h"
#include "runtime/gbk_text.h"
#include "runtime/runtime_hooks.h"
#include "runtime/value_text.h"

namespace {

constexpr uint32_t kSystemModal = 0x1000;  // MB_SYSTEMMODAL
constexpr uint32_t kTaskModal = 0x2000;    // MB_TASKMODAL

// Owner: a loaded window given by reference, or a native handle given as an integer.
HWND OwnerOf(const ArgValue& owner) {
    if (owner.tag == kWindowTypeCode) return hook::UnitWindow(owner.low, 0);
    // A stale handle would make the system refuse the box and the caller read "OK" (0).
    if (owner.tag == kTagInt && IsWindow(static_cast<HWND>(owner.Pointer()))) return static_cast<HWND>(owner.Pointer());
    return nullptr;
}

int32_t ResultOfButton(int pressed) {
    switch (pressed) {
        case IDCANCEL: return 1;
        case IDABORT: return 2;
        case IDRETRY: return 3;
        case IDIGNORE: return 4;
        case IDYES: return 5;
        case IDNO: return 6;
        default: return 0;  // OK, and anything the system adds
    }
}

uint32_t MessageBoxStyle(uint32_t flags) {
    // Task-modal unless system-modal was asked for. Set as a bit: adding it to flags that
    // already hold it would carry into 0x4000 and show a Help button nobody handles.
    return (flags & kSystemModal) ? flags : (flags | kTaskModal);
}

}  // namespace

void MessageBox(ArgValue* result, int32_t count, ArgValue* args) {
    std::string text = FormatBasicValue(cmd::Arg(count, args, 0));
    uint32_t flags = static_cast<uint32_t>(cmd::IntOr(count, args, 1, 0));
    const char* caption = cmd::TextOr(count, args, 2, "信息：");
    HWND owner = count >= 4 ? OwnerOf(args[3]) : nullptr;
    int pressed = MessageBoxW(owner, WideFromGbk(text.c_str()).c_str(), WideFromGbk(caption).c_str(),
                              MessageBoxStyle(flags));
    cmd::SetInt(result, ResultOfButton(pressed));
}
