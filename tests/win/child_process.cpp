#include "tests/win/child_process.h"

#include <cstdio>
#include <fstream>
#include <sstream>

std::wstring TestBinaryDirectory() {
    wchar_t path[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring p(path, n);
    return p.substr(0, p.find_last_of(L'\\'));
}

std::wstring TestBinaryPath(const wchar_t* fileName) { return TestBinaryDirectory() + L"\\" + fileName; }

TempDirectory::TempDirectory() {
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    static unsigned counter = 0;
    for (;;) {
        wchar_t name[64];
        swprintf(name, 64, L"mgtest-%lu-%u", GetCurrentProcessId(), ++counter);
        path_ = std::wstring(base) + name;
        if (CreateDirectoryW(path_.c_str(), nullptr)) break;
    }
}

namespace {
void RemoveTree(const std::wstring& dir) {
    WIN32_FIND_DATAW data;
    HANDLE h = FindFirstFileW((dir + L"\\*").c_str(), &data);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring full = dir + L"\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(full);
            else {
                SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(full.c_str());
            }
        } while (FindNextFileW(h, &data));
        FindClose(h);
    }
    RemoveDirectoryW(dir.c_str());
}
}  // namespace

TempDirectory::~TempDirectory() { RemoveTree(path_); }

std::string ReadWholeFile(const std::wstring& path) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    if (h == INVALID_HANDLE_VALUE) return {};
    std::string out;
    char buf[4096];
    DWORD n;
    while (ReadFile(h, buf, sizeof buf, &n, nullptr) && n) out.append(buf, n);
    CloseHandle(h);
    return out;
}

std::vector<std::wstring> FileNamesIn(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

void WriteWholeFile(const std::wstring& path, const std::string& bytes) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return;
    DWORD n;
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
    CloseHandle(h);
}

ChildProcess::ChildProcess(const std::wstring& exe, const std::vector<std::wstring>& args,
                           const std::wstring& workingDirectory, const std::vector<std::wstring>& environment) {
    std::wstring cmd = L"\"" + exe + L"\"";
    for (const auto& a : args) cmd += L" \"" + a + L"\"";
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    // The environment block: ours, then the additions (NUL after each, one more at the end).
    std::wstring block;
    if (!environment.empty()) {
        wchar_t* own = GetEnvironmentStringsW();
        for (const wchar_t* p = own; *p; p += wcslen(p) + 1) block.append(p, wcslen(p) + 1);
        FreeEnvironmentStringsW(own);
        for (const auto& e : environment) block.append(e.c_str(), e.size() + 1);
        block.push_back(L'\0');
    }
    if (CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE,
                       environment.empty() ? 0 : CREATE_UNICODE_ENVIRONMENT, environment.empty() ? nullptr : block.data(),
                       workingDirectory.empty() ? nullptr : workingDirectory.c_str(), &si, &pi)) {
        process_ = pi.hProcess;
        pid_ = pi.dwProcessId;
        CloseHandle(pi.hThread);
    } else {
        startError_ = GetLastError();
    }
}

ChildProcess::~ChildProcess() {
    if (process_) {
        if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) TerminateProcess(process_, 99);
        CloseHandle(process_);
    }
}

namespace {
struct FindData {
    DWORD pid;
    const wchar_t* className;
    const wchar_t* title;
    HWND found;
};
BOOL CALLBACK FindProc(HWND hwnd, LPARAM lParam) {
    auto* d = reinterpret_cast<FindData*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != d->pid || !IsWindowVisible(hwnd)) return TRUE;
    wchar_t cls[128];
    GetClassNameW(hwnd, cls, 128);
    if (d->className && wcscmp(cls, d->className) != 0) return TRUE;
    if (d->title) {
        wchar_t t[256];
        GetWindowTextW(hwnd, t, 256);
        if (wcscmp(t, d->title) != 0) return TRUE;
    }
    d->found = hwnd;
    return FALSE;
}
// True when an icon control of the box shows the given system icon. Icon handles belong to
// their process, so the check compares what the screen shows with the icon drawn here.
bool ShowsIcon(HWND box, LPCWSTR which) {
    HICON expected = LoadIconW(nullptr, which);
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) continue;
        RedrawWindow(box, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        Sleep(100);
        RECT r;
        GetWindowRect(child, &r);
        const int w = GetSystemMetrics(SM_CXICON), h = GetSystemMetrics(SM_CYICON);
        HDC screen = GetDC(nullptr);
        HDC shot = CreateCompatibleDC(screen), drawn = CreateCompatibleDC(screen);
        HBITMAP shotBm = CreateCompatibleBitmap(screen, w, h), drawnBm = CreateCompatibleBitmap(screen, w, h);
        HGDIOBJ oldShot = SelectObject(shot, shotBm), oldDrawn = SelectObject(drawn, drawnBm);
        BitBlt(shot, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
        RECT all = {0, 0, w, h};
        FillRect(drawn, &all, GetSysColorBrush(COLOR_BTNFACE));
        DrawIconEx(drawn, 0, 0, expected, w, h, 0, nullptr, DI_NORMAL);
        int differing = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (GetPixel(shot, x, y) != GetPixel(drawn, x, y)) ++differing;
        SelectObject(shot, oldShot);
        SelectObject(drawn, oldDrawn);
        DeleteObject(shotBm);
        DeleteObject(drawnBm);
        DeleteDC(shot);
        DeleteDC(drawn);
        ReleaseDC(nullptr, screen);
        if (differing == 0) return true;
    }
    return false;
}

}  // namespace

HWND FindProcessWindow(DWORD pid, const wchar_t* className, const wchar_t* title) {
    FindData d{pid, className, title, nullptr};
    EnumWindows(&FindProc, reinterpret_cast<LPARAM>(&d));
    return d.found;
}

MessageBoxSeen ChildProcess::CloseNextMessageBox(DWORD timeoutMs) {
    MessageBoxSeen seen;
    DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        HWND box = FindProcessWindow(pid_, L"#32770");
        if (box) {
            wchar_t buf[2048];
            GetWindowTextW(box, buf, 2048);
            seen.caption = buf;
            HWND text = GetDlgItem(box, 0xFFFF);
            if (text) {
                GetWindowTextW(text, buf, 2048);
                seen.text = buf;
            }
            seen.stopIcon = ShowsIcon(box, reinterpret_cast<LPCWSTR>(IDI_HAND));
            seen.found = true;
            HWND ok = GetDlgItem(box, IDOK);
            if (ok)
                PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(ok));
            else
                PostMessageW(box, WM_CLOSE, 0, 0);
            seen.gone = WaitUntil(
                [&] {
                    return !IsWindow(box) || !IsWindowVisible(box) || WaitForSingleObject(process_, 0) == WAIT_OBJECT_0;
                },
                30000);
            return seen;
        }
        if (WaitForSingleObject(process_, 20) == WAIT_OBJECT_0) return seen;
    }
    return seen;
}

DWORD ChildProcess::Wait(DWORD timeoutMs) {
    if (!process_) return STILL_ACTIVE;
    if (WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) {
        TerminateProcess(process_, 99);
        WaitForSingleObject(process_, 5000);
        return STILL_ACTIVE;
    }
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    return code;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        if (condition()) return true;
        if (GetTickCount() - start >= timeoutMs) return condition();
        Sleep(15);
    }
}

HWND WaitForOtherProgramWindow(const wchar_t* titlePart, DWORD timeoutMs, const wchar_t* className) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
                wchar_t title[512] = {}, cls[256] = {};
                GetWindowTextW(w, title, 512);
                GetClassNameW(w, cls, 256);
                if (IsWindowVisible(w) && wcsstr(title, titlePart) && (!className || _wcsicmp(cls, className) == 0)) {
                    found = w;
                    return true;
                }
            }
            return false;
        },
        timeoutMs);
    return found;
}

bool CloseProgramOf(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, pid);
    PostMessageW(window, WM_CLOSE, 0, 0);
    if (!process) return false;
    bool ended = WaitForSingleObject(process, 10000) == WAIT_OBJECT_0;
    if (!ended) TerminateProcess(process, 1);
    CloseHandle(process);
    return WaitUntil([&] { return !IsWindow(window); }, 10000) && ended;
}
