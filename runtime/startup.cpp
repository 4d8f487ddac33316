#include "runtime/startup.h"

#include <objbase.h>
#include <ole2.h>

#include <cfloat>
#include <cstdlib>

#include "runtime/app.h"
#include "runtime/entries.h"
#include "runtime/gbk_text.h"
#include "runtime/heap.h"
#include "runtime/phase_timing.h"
#include "runtime/program_descriptor.h"
#include "runtime/program_path.h"
#include "runtime/runtime_errors.h"
#include "runtime/runtime_hooks.h"
#include "runtime/test_hooks.h"

namespace {

const wchar_t kHiddenOwnerClass[] = L"_XR_HideOwner";

std::string ModulePath(HMODULE module) {
    wchar_t path[MAX_PATH + 1] = {};
    DWORD n = GetModuleFileNameW(module, path, MAX_PATH);
    return GbkFromWide(path, n);
}

LRESULT CALLBACK HiddenOwnerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kShutdownRequestMessage) RtExitProcess(static_cast<int32_t>(wParam));
#if MG_TEST_HOOKS
    if (LRESULT answer = 0; AnswerTestHookMessage(message, wParam, &answer)) return answer;
#endif
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void CreateHiddenOwner(Application& app) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = &HiddenOwnerProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    wc.lpszClassName = kHiddenOwnerClass;
    RegisterClassW(&wc);
    app.hiddenOwner.reset(CreateWindowExW(WS_EX_TOOLWINDOW, kHiddenOwnerClass, L"", 0, 0, 0, 0, 0, nullptr, nullptr,
                                          wc.hInstance, nullptr));
}

}  // namespace

void ResetFloatingPointUnit() { _fpreset(); }

int RunApplication(HINSTANCE instance, const ProgramDescriptor* descriptor, int32_t (*entryRoutine)()) {
    UseProgramDescriptor(descriptor);
    Application& app = App();
    app.moduleDirectory = DirectoryWithBackslash(ModulePath(instance));
    int result = entryRoutine();
    // The framework's exit hook.
    app.idleWindows.clear();
    app.idleRoutines.clear();
    app.idleParameters.clear();
    return result;
}

intptr_t InitialiseRuntime() {
    PhaseSpan span(Phase::kRuntimeInitialise);
    Application& app = App();
    const ProgramDescriptor* d = ActiveProgramDescriptor();

    app.heap = GetProcessHeap();
    if (d) {
        app.versionMajor = d->versionMajor;
        app.versionMinor = d->versionMinor;
        app.versionBuild = d->build + 1;
    }
    if (!app.oleInitialised) {
        OleInitialize(nullptr);
        app.oleInitialised = true;
    }

    ProgramPath path = SplitProgramPath(ModulePath(nullptr));
    app.runDirectory = path.runDirectory;
    app.programFileName = path.fileName;
    SetCurrentDirectoryW(WideFromGbk(app.runDirectory.c_str()).c_str());

    CreateHiddenOwner(app);
    app.mainThreadId = GetCurrentThreadId();

    if (d) {
        SetConstantBlock(d->constantBlock, d->constantBlockLength);
        app.userCodeBase = d->userCodeBase;

        app.dllLibraryNames.assign(d->dllLibraryNames, d->dllLibraryNames + d->dllCommandCount);
        app.dllCommandNames.assign(d->dllCommandNames, d->dllCommandNames + d->dllCommandCount);
        app.dllModules.clear();
        app.dllModules.resize(d->dllCommandCount);
        app.dllRoutines.assign(d->dllCommandCount, nullptr);

        for (uint32_t i = 0; i < d->supportLibraryCount; ++i) {
            const LibraryInfo* lib = d->supportLibraries[i];
            if (lib && lib->notifyHook) lib->notifyHook(1, reinterpret_cast<intptr_t>(&RtNotify), 0);
        }
        app.libraries = d->supportLibraries;
        app.libraryCount = d->supportLibraryCount;
        for (intptr_t& data : app.libraryData) data = 0;
    }
    if (!app.initialised) std::atexit(&EndOfProgramShutdown);
    app.initialised = true;

    const uint8_t* image = d ? d->windowTemplate : nullptr;
    size_t imageLength = d ? d->windowTemplateLength : 0;
#if MG_TEST_HOOKS
    if (d) TestTemplateImage(&image, &imageLength);
#endif
    PhaseSpan read(Phase::kTemplateRead);
    if (image && !hook::LoadTemplate(image, imageLength, d->userCodeBase, d->userCodeLength))
        FatalReport(fatal_text::kTemplateUnreadable, 0);
    return 0;
}

void RtLoadStartWindow(uint32_t windowId) {
    if (!hook::LoadStartWindow(windowId)) FatalReport(fatal_text::kStartWindowFailed, 0);
}
