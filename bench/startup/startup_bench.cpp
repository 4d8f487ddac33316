// Start-up benchmark: from process start to the main window painted, for the program, a
// direct baseline that creates the same controls by plain CreateWindowExW calls, and a
// bare window of the same size, and optionally an earlier build of the program. They
// alternate round by round (the order rotating), each started in a fresh directory of its
// own, so that the program writes its default host files as on a first start.
//   startup_bench PROGRAM.exe DIRECT.exe BARE.exe [ROUNDS [BEFORE.exe]]
// "Painted" means: a visible top-level window of the process, its list views holding the
// expected rows in its result lists (27 for the program and the direct baseline, the default host
// lists; none for the bare window), and no window of the process with anything left to
// paint. "Shown" is the first moment that window is seen visible.
// The program's starts also write where their time went (MG_PHASE_LOG, runtime/phase_timing.h);
// the bench prints the medians of those phases, in ms from the process's creation.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int kDefaultRows = 6 + 21;
constexpr DWORD kGiveUpMs = 20000;

// One phase of one start: count, summed ms, first start, last start, last end (ms from
// the process's creation).
struct PhaseTimes {
    double count, total, first, last, end;
};
using PhaseKey = std::pair<std::string, std::string>;  // name, key
using StartPhases = std::vector<std::pair<PhaseKey, PhaseTimes>>;

struct Candidate {
    const char* name;
    std::wstring exe;
    int rows;
    std::vector<double> ms;
    std::vector<double> shownMs;
    std::vector<StartPhases> phases;
};

struct ProcessWindows {
    DWORD pid;
    HWND top = nullptr;
};

BOOL CALLBACK FindTop(HWND h, LPARAM p) {
    auto* w = reinterpret_cast<ProcessWindows*>(p);
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    if (pid == w->pid && IsWindowVisible(h) && (GetWindowLongW(h, GWL_STYLE) & WS_CAPTION) == WS_CAPTION) {
        w->top = h;
        return FALSE;
    }
    return TRUE;
}

struct Settled {
    int rows = 0;
    bool pending = false;
};

void Inspect(HWND h, Settled* s) {
    if (IsWindowVisible(h) && GetUpdateRect(h, nullptr, FALSE)) s->pending = true;
    // The result lists (lamp, host, time) sit on a page that is not shown at start: their rows
    // count all the same. The program's other list views hold the addresses.
    wchar_t cls[64] = {};
    GetClassNameW(h, cls, 64);
    if (lstrcmpiW(cls, WC_LISTVIEWW) != 0) return;
    auto header = reinterpret_cast<HWND>(SendMessageW(h, LVM_GETHEADER, 0, 0));
    if (header && SendMessageW(header, HDM_GETITEMCOUNT, 0, 0) == 3)
        s->rows += static_cast<int>(SendMessageW(h, LVM_GETITEMCOUNT, 0, 0));
}

BOOL CALLBACK InspectChild(HWND h, LPARAM p) {
    Inspect(h, reinterpret_cast<Settled*>(p));
    return TRUE;
}

bool IsPainted(HWND top, int rows) {
    Settled s;
    Inspect(top, &s);
    EnumChildWindows(top, InspectChild, reinterpret_cast<LPARAM>(&s));
    return s.rows == rows && !s.pending;
}

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

std::wstring FreshDirectory(const std::wstring& exe, std::wstring* copy) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    static int serial = 0;
    std::wstring dir = std::wstring(temp) + L"mg-startup-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                       std::to_wstring(++serial);
    CreateDirectoryW(dir.c_str(), nullptr);
    *copy = dir + exe.substr(exe.find_last_of(L"\\/"));
    CopyFileW(exe.c_str(), copy->c_str(), FALSE);
    return dir;
}

void RemoveDirectoryTree(const std::wstring& dir) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((dir + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring path = dir + L"\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveDirectoryTree(path);
            else
                DeleteFileW(path.c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(dir.c_str());
}

// The phases the program wrote into `path`, their points made relative to `origin` (ms).
StartPhases ReadPhases(const std::wstring& path, double origin) {
    StartPhases phases;
    FILE* f = _wfopen(path.c_str(), L"r");
    if (!f) return phases;
    char name[64], key[16];
    PhaseTimes t;
    while (std::fscanf(f, " phase %63s %15s %lf %lf %lf %lf %lf", name, key, &t.count, &t.total, &t.first, &t.last,
                       &t.end) == 7) {
        t.first -= origin;
        t.last -= origin;
        t.end -= origin;
        phases.push_back({{name, key}, t});
    }
    std::fclose(f);
    return phases;
}

// One start: the time to the window painted, or a negative value when it never was; the
// time it was first seen shown and, for the program, its phases.
double StartOnce(Candidate& c, bool keep = true) {
    std::wstring exe;
    std::wstring dir = FreshDirectory(c.exe, &exe);
    const std::wstring phaseLog = dir + L"\\phases.txt";
    SetEnvironmentVariableW(L"MG_PHASE_LOG", phaseLog.c_str());
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    std::wstring command = L"\"" + exe + L"\"";
    double start = Now();
    if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si, &pi)) {
        RemoveDirectoryTree(dir);
        return -1;
    }
    SetEnvironmentVariableW(L"MG_PHASE_LOG", nullptr);
    double took = -1, shown = -1;
    ProcessWindows w{pi.dwProcessId};
    while (Now() - start < kGiveUpMs) {
        if (!w.top) {
            EnumWindows(FindTop, reinterpret_cast<LPARAM>(&w));
            if (w.top) shown = Now() - start;
        }
        if (w.top && IsPainted(w.top, c.rows)) {
            took = Now() - start;
            break;
        }
        Sleep(1);
    }
    if (w.top) PostMessageW(w.top, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi.hProcess, 5000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    if (keep && took >= 0) {
        c.ms.push_back(took);
        c.shownMs.push_back(shown);
        StartPhases phases = ReadPhases(phaseLog, start);
        if (!phases.empty()) c.phases.push_back(std::move(phases));
    }
    RemoveDirectoryTree(dir);
    return took;
}

const char* TypeName(const std::string& key) {
    static const std::map<std::string, const char*> names = {
        {"00010005", "EditBox"},  {"00010009", "GroupBox"},    {"0001000A", "Label"},
        {"0001000B", "Button"},   {"0001000E", "ComboBox"},    {"0001000F", "ListBox"},
        {"00010020", "Timer"},    {"00020002", "PageControl"}, {"00030002", "StatusBar"},
        {"00030004", "ListView"}, {"00030005", "TransLabel"},
    };
    auto found = names.find(key);
    return found == names.end() ? "" : found->second;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    size_t n = v.size();
    return n == 0 ? 0 : (n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2);
}

// Medians over the starts of each phase, in the order the first start wrote them.
void PrintPhases(const Candidate& c) {
    if (c.phases.empty()) return;
    std::vector<PhaseKey> order;
    for (const StartPhases& start : c.phases)
        for (const auto& [key, times] : start)
            if (std::find(order.begin(), order.end(), key) == order.end()) order.push_back(key);
    std::printf("\n%s: where a start's time goes (medians of %zu starts; ms from the process's creation)\n", c.name,
                c.phases.size());
    std::printf("  %-20s %-12s %5s %9s %8s %8s\n", "phase", "unit type", "count", "summed", "from", "to");
    for (const PhaseKey& key : order) {
        std::vector<double> count, total, first, end;
        for (const StartPhases& start : c.phases)
            for (const auto& [k, t] : start)
                if (k == key) {
                    count.push_back(t.count);
                    total.push_back(t.total);
                    first.push_back(t.first);
                    end.push_back(t.end);
                }
        std::printf("  %-20s %-12s %5.0f %9.1f %8.1f %8.1f\n", key.first.c_str(), TypeName(key.second), Median(count),
                    Median(total), Median(first), Median(end));
    }
    std::printf("  %-20s %-12s %5s %9s %8s %8.1f\n", "window seen shown", "", "", "", "", Median(c.shownMs));
    std::printf("  %-20s %-12s %5s %9s %8s %8.1f\n", "seen painted, rows", "", "", "", "", Median(c.ms));
}

std::wstring Absolute(const wchar_t* path) {
    wchar_t full[MAX_PATH];
    GetFullPathNameW(path, MAX_PATH, full, nullptr);
    return full;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: startup_bench PROGRAM.exe DIRECT.exe BARE.exe [ROUNDS [BEFORE.exe]]\n");
        return 2;
    }
    int rounds = argc > 4 ? _wtoi(argv[4]) : 15;
    std::vector<Candidate> candidates = {{"program", Absolute(argv[1]), kDefaultRows, {}},
                                         {"direct", Absolute(argv[2]), kDefaultRows, {}},
                                         {"bare", Absolute(argv[3]), 0, {}}};
    if (argc > 5) candidates.push_back({"before", Absolute(argv[5]), kDefaultRows, {}});
    // One unmeasured start of each first: the first start of a program under Wine also loads
    // its DLLs from disk.
    for (Candidate& c : candidates) StartOnce(c, false);
    int failures = 0;
    for (int round = 0; round < rounds; ++round) {
        for (size_t k = 0; k < candidates.size(); ++k) {
            Candidate& c = candidates[(k + static_cast<size_t>(round)) % candidates.size()];
            double ms = StartOnce(c);
            if (ms < 0) {
                ++failures;
                std::printf("%s: no painted window within %lu ms\n", c.name, kGiveUpMs);
            }
        }
    }
    for (const Candidate& c : candidates) {
        std::vector<double> sorted = c.ms;
        std::sort(sorted.begin(), sorted.end());
        std::printf("%-8s median %7.1f ms  min %7.1f ms  shown %7.1f ms  (%zu starts)\n", c.name, Median(c.ms),
                    sorted.empty() ? 0.0 : sorted.front(), Median(c.shownMs), c.ms.size());
    }
    const double direct = Median(candidates[1].ms), bare = Median(candidates[2].ms);
    for (const Candidate& c : candidates) {
        if (c.rows == 0 || &c == &candidates[1] || direct <= 0 || bare <= 0) continue;
        std::printf("%s/direct %.2f (goal 1.30 at most)  %s/bare %.2f  shown: %s/direct %.2f\n", c.name,
                    Median(c.ms) / direct, c.name, Median(c.ms) / bare, c.name,
                    Median(c.shownMs) / Median(candidates[1].shownMs));
    }
    for (const Candidate& c : candidates) PrintPhases(c);
    return failures == 0 ? 0 : 1;
}
