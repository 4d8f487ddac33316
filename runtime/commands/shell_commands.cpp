// The operating-system interface library: handing files and folders to the shell.
#include "runtime/commands/core_commands.h"

#include <shellapi.h>

#include <string>

#include "runtime/commands/command_args.h"
#include "runtime/gbk_text.h"

namespace {

const wchar_t* VerbOf(int32_t verb) {
    switch (verb) {
        case 1: return L"edit";
        case 2: return L"explore";
        case 3: return L"find";
        case 4: return L"open";
        case 5: return L"print";
        default: return nullptr;  // the shell's default action
    }
}

int ShowStateOf(int32_t mode) {
    static const int kStates[] = {SW_HIDE, SW_SHOWNORMAL, SW_SHOWMINIMIZED, SW_SHOWMAXIMIZED, SW_SHOWNA, SW_MINIMIZE};
    return mode >= 1 && mode <= 6 ? kStates[mode - 1] : SW_SHOWNORMAL;
}

const CommandRoutine kShellCommands[] = {&ShellOpen};

}  // namespace

void ShellOpen(ArgValue* result, int32_t count, ArgValue* args) {
    const wchar_t* verb = VerbOf(cmd::IntOr(count, args, 0, 0));
    std::wstring file = WideFromGbk(cmd::TextOr(count, args, 1, ""));
    bool hasParameters = cmd::Given(count, args, 2);
    std::wstring parameters = WideFromGbk(cmd::TextOr(count, args, 2, ""));
    std::wstring directory = WideFromGbk(cmd::TextOr(count, args, 3, ""));
    int show = count >= 5 ? ShowStateOf(cmd::IntOr(count, args, 4, 0)) : SW_SHOWNORMAL;
    HINSTANCE done = ShellExecuteW(nullptr, verb, file.c_str(), hasParameters ? parameters.c_str() : nullptr,
                                   directory.c_str(), show);
    cmd::SetInt(result, static_cast<int32_t>(reinterpret_cast<intptr_t>(done)));
}

const LibraryInfo kShellLibrary = {
    "Shell", nullptr, 0, nullptr, sizeof kShellCommands / sizeof kShellCommands[0],
    kShellCommands,
};
