// The command line of a test child program, split as the platform splits it.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

inline std::vector<std::wstring> ChildArguments() {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::vector<std::wstring> args(argv, argv + (argv ? argc : 0));
    LocalFree(argv);
    return args;
}
