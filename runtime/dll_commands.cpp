// Declared DLL commands: resolved on the first successful call and cached per index.
#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <string>

#include "runtime/app.h"
#include "runtime/dll_modules.h"
#include "runtime/entries.h"
#include "runtime/fatal.h"
#include "runtime/gbk_text.h"
#include "runtime/runtime_errors.h"

namespace {

const wchar_t* const kSystemLibraries[] = {L"Kernel32.dll", L"Gdi32.dll",   L"User32.dll",
                                            L"Advapi32.dll", L"Mpr.dll",     L"Shell32.dll"};

// An exported name "#N" names ordinal N modulo 65536.
FARPROC LookUp(HMODULE module, const char* name) {
    if (name[0] == '#') {
        unsigned long ordinal = std::strtoul(name + 1, nullptr, 10) % 65536;
        return GetProcAddress(module, MAKEINTRESOURCEA(ordinal));
    }
    return GetProcAddress(module, name);
}

win::Module LoadFrom(const std::string& path) { return win::Module(LoadLibraryW(WideFromGbk(path.c_str()).c_str())); }

// Search order for a name without a drive: extra directory, run directory, module
// directory, then the platform's own search.
win::Module LoadDeclaredLibrary(const Application& app, const std::string& file) {
    win::Module module;
    if (file.find(':') == std::string::npos) {
        if (!app.extraDllDirectory.empty()) module = LoadFrom(app.extraDllDirectory + "\\" + file);
        if (!module) module = LoadFrom(app.runDirectory + "\\" + file);
        if (!module && !app.moduleDirectory.empty()) module = LoadFrom(app.moduleDirectory + file);
    }
    if (!module) module = LoadFrom(file);
    return module;
}

// Sequentially consistent on purpose: a call counts itself in and then looks at the flags,
// the shutdown sets the flag and then looks at the count, so one of them always sees the other.
// Modules that a call was inside at the shutdown stay loaded to the process's end, and calls
// go on being made (a worker's destructors still release what it opened); once they are
// freed, no call is made.
std::atomic<int> g_callsInFlight{0};
std::atomic<bool> g_ending{false};
std::atomic<bool> g_modulesKept{false};

}  // namespace

bool BeginDllCall() {
    g_callsInFlight.fetch_add(1);
    if (!g_ending.load() || g_modulesKept.load()) return true;
    g_callsInFlight.fetch_sub(1);
    return false;
}

void EndDllCall() { g_callsInFlight.fetch_sub(1); }

void ReleaseDllModules() {
    g_ending.store(true);
    if (g_callsInFlight.load() != 0) {
        g_modulesKept.store(true);
        return;
    }
    Application& app = App();
    app.dllModules.clear();  // each module freed by its owner
    app.dllRoutines.clear();
    app.dllLibraryNames.clear();
    app.dllCommandNames.clear();
}

void* RtCallDllCommand(int32_t index) {
    Application& app = App();
    if (index < 0 || static_cast<size_t>(index) >= app.dllRoutines.size()) RtReportError(11);
    if (void* cached = app.dllRoutines[static_cast<size_t>(index)]) return cached;

    const char* name = app.dllCommandNames[static_cast<size_t>(index)];
    const char* file = app.dllLibraryNames[static_cast<size_t>(index)];
    if (!name) name = "";
    if (!file) file = "";

    if (*file == 0) {
        for (const wchar_t* lib : kSystemLibraries) {
            win::Module module(LoadLibraryW(lib));
            if (!module) continue;
            if (FARPROC routine = LookUp(module.get(), name)) {
                // Kept like a declared library's: not every one of them is loaded by the process anyway.
                app.dllModules[static_cast<size_t>(index)] = std::move(module);
                app.dllRoutines[static_cast<size_t>(index)] = reinterpret_cast<void*>(routine);
                return reinterpret_cast<void*>(routine);
            }
        }
        FatalReport(FormatFatalMessage(fatal_text::kDllCommandMissingSystem, name).c_str(), 0);
    }

    if (win::Module module = LoadDeclaredLibrary(app, file)) {
        if (FARPROC routine = LookUp(module.get(), name)) {
            app.dllModules[static_cast<size_t>(index)] = std::move(module);
            app.dllRoutines[static_cast<size_t>(index)] = reinterpret_cast<void*>(routine);
            return reinterpret_cast<void*>(routine);
        }
    }
    FatalReport(FormatFatalMessage(fatal_text::kDllCommandMissing, file, name).c_str(), 0);
}
