#include "tests/win/toolbox/program_run.h"

#include <commctrl.h>

#include <cwctype>
#include <memory>

#include "runtime/test_hooks.h"
#include "tests/win/toolbox/toolbox_driver.h"

namespace {

std::string Utf8(const std::wstring& wide) {
    int n = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), static_cast<int>(wide.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::string Hex(DWORD v) {
    char buffer[16];
    wsprintfA(buffer, "0x%08lX", v);
    return buffer;
}

// "" when the run showed exactly one box, captioned 错误, whose text `matches`, and ended
// with -1.
template <typename Matches>
std::string OneFatalBox(const ProgramRun& run, Matches matches) {
    if (!run.started) return "the program did not start (" + run.notStarted + ")";
    if (run.boxes.empty()) return "no message box: " + Describe(run);
    if (run.boxes.size() > 1) return "more than one message box: " + Describe(run);
    const MessageBoxSeen& box = run.boxes[0];
    if (box.caption != L"错误" || !matches(box.text)) return "not the expected report: " + Describe(run);
    if (run.exitCode != 0xFFFFFFFF) return "exit code " + Hex(run.exitCode) + ", not -1: " + Describe(run);
    return "";
}

struct ListRows {
    int rows;
};

BOOL CALLBACK CountListRows(HWND hwnd, LPARAM lParam) {
    wchar_t cls[64] = {};
    GetClassNameW(hwnd, cls, 64);
    if (wcscmp(cls, WC_LISTVIEWW) == 0)
        reinterpret_cast<ListRows*>(lParam)->rows += static_cast<int>(SendMessageW(hwnd, LVM_GETITEMCOUNT, 0, 0));
    return TRUE;
}

}  // namespace

std::vector<std::pair<std::wstring, std::string>> LabHostFiles() {
    return {
        {L"疆内.txt", HostList({{"路由器", "127.0.0.1"}, {"服务器", "127.1.0.20"}, {"静", "127.2.0.1"}})},
        {L"疆外.txt", HostList({{"门户", "127.0.0.2"}, {"游戏", "127.1.0.90"}, {"静", "127.2.0.2"}, {"本机", "localhost"}})},
    };
}

bool WatchToTheEnd(ChildProcess& child, ProgramRun& run, const RunOptions& options) {
    const DWORD start = GetTickCount();
    DWORD quietSince = start;
    HWND window = nullptr;
    while (GetTickCount() - start < options.timeoutMs) {
        if (FindProcessWindow(child.pid(), L"#32770")) {
            // Closing waits until the box has gone, so it is not counted twice.
            MessageBoxSeen box = child.CloseNextMessageBox(100);
            if (box.found) run.boxes.push_back(box);
            quietSince = GetTickCount();
            continue;
        }
        Sleep(50);
        if (WaitForSingleObject(child.handle(), 0) == WAIT_OBJECT_0) return true;
        if (!window && (window = FindProcessWindow(child.pid(), nullptr, L"茗柜")) != nullptr) {
            run.windowShown = true;
            quietSince = GetTickCount();
        }
        if (window && options.closeAfterQuietMs && !run.closedByUs && run.boxes.empty() &&
            GetTickCount() - quietSince >= options.closeAfterQuietMs) {
            PostMessageW(window, WM_CLOSE, 0, 0);
            run.closedByUs = true;
        }
    }
    return false;
}

ProgramRun RunProgram(const RunOptions& options) {
    ProgramRun run;
    TempDirectory dir;
    std::wstring exe = dir.File(L"minggui.exe");
    if (!CopyFileW(ToolboxExe().c_str(), exe.c_str(), FALSE)) {
        run.notStarted = "copying the program: error " + std::to_string(GetLastError());
        return run;
    }
    for (const auto& [name, bytes] : LabHostFiles()) WriteWholeFile(dir.File(name.c_str()), bytes);
    // A start that Wine refuses under the suite's load is tried once more: none of the program's
    // code has run by the time CreateProcess answers, so this retries the platform only.
    auto child = std::make_unique<ChildProcess>(exe, std::vector<std::wstring>{}, dir.path(), options.environment);
    if (!child->started()) {
        run.notStarted = "CreateProcess: error " + std::to_string(child->startError());
        child = std::make_unique<ChildProcess>(exe, std::vector<std::wstring>{}, dir.path(), options.environment);
        if (!child->started()) {
            run.notStarted += ", then error " + std::to_string(child->startError());
            return run;
        }
    }
    run.started = true;
    bool ended = WatchToTheEnd(*child, run, options);
    run.exitCode = child->Wait(ended ? 5000 : 0);
    return run;
}

std::wstring FatalText(const std::wstring& message) { return L"运行时出错!\r\n\r\n错误信息：" + message + L"\r\n"; }

std::string AllocationFailureMisbehaviour(const ProgramRun& run) {
    return OneFatalBox(run, [](const std::wstring& text) {
        const std::wstring head = FatalText(L"分配 "), tail = L" 字节内存失败!\r\n";
        const std::wstring prefix = head.substr(0, head.size() - 2);  // the message's start
        if (text.size() <= prefix.size() + tail.size() || text.compare(0, prefix.size(), prefix) != 0 ||
            text.compare(text.size() - tail.size(), tail.size(), tail) != 0)
            return false;
        std::wstring count = text.substr(prefix.size(), text.size() - prefix.size() - tail.size());
        for (wchar_t c : count)
            if (!std::iswdigit(c)) return false;
        return true;
    });
}

std::string TemplateFailureMisbehaviour(const ProgramRun& run) {
    return OneFatalBox(run, [](const std::wstring& text) { return text == FatalText(L"载入窗口模板数据段出错!"); });
}

std::string AcceptedTemplateMisbehaviour(const ProgramRun& run) {
    if (!run.started) return "the program did not start (" + run.notStarted + ")";
    if (run.boxes.empty()) {
        if (run.exitCode != 0) return "no box, but exit code " + Hex(run.exitCode) + ": " + Describe(run);
        return "";
    }
    return OneFatalBox(run, [](const std::wstring& text) { return text.rfind(L"运行时出错!\r\n\r\n", 0) == 0; });
}

std::string Describe(const ProgramRun& run) {
    std::string s;
    for (const MessageBoxSeen& box : run.boxes) s += "[" + Utf8(box.caption) + ": " + Utf8(box.text) + "] ";
    if (run.windowShown) s += run.closedByUs ? "window shown and closed, " : "window shown, ";
    s += run.exitCode == STILL_ACTIVE ? std::string("did not end") : "exit " + Hex(run.exitCode);
    return s;
}

uint64_t AllocationsUntilListsLoaded() {
    TempDirectory dir;
    std::wstring exe = dir.File(L"minggui.exe");
    if (!CopyFileW(ToolboxExe().c_str(), exe.c_str(), FALSE)) return 0;
    for (const auto& [name, bytes] : LabHostFiles()) WriteWholeFile(dir.File(name.c_str()), bytes);
    ChildProcess child(exe, {}, dir.path());
    if (!child.started()) return 0;
    // Both result lists and both address lists hold a row per host once the lists are loaded.
    const int rows = 2 * (3 + 4);
    HWND window = nullptr;
    bool loaded = WaitUntil(
        [&] {
            window = FindProcessWindow(child.pid(), nullptr, L"茗柜");
            ListRows count{0};
            if (window) EnumChildWindows(window, &CountListRows, reinterpret_cast<LPARAM>(&count));
            return count.rows == rows;
        },
        60000);
    HWND owner = HiddenOwnerOf(child.pid());
    DWORD_PTR count = 0;
    UINT query = RegisterWindowMessageW(kAllocationCountQuery);
    if (!loaded || !owner || !SendMessageTimeoutW(owner, query, 0, 0, SMTO_NORMAL, 10000, &count)) count = 0;
    if (window) PostMessageW(window, WM_CLOSE, 0, 0);
    child.Wait(10000);
    return count;
}

ProgramRun RunWithTemplate(const std::vector<uint8_t>& image, DWORD closeAfterQuietMs) {
    TempDirectory dir;
    std::wstring file = dir.File(L"template.bin");
    WriteWholeFile(file, std::string(image.begin(), image.end()));
    RunOptions options;
    options.environment = {L"MG_TEMPLATE_FILE=" + file};
    options.closeAfterQuietMs = closeAfterQuietMs;
    return RunProgram(options);
}
