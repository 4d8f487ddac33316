// Runs a test program as a child process and talks to its message boxes, so that tests can
// check fatal reports (which end the process) from the outside; finds and closes the windows
// of other programs.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Directory of the running test executable (where the helper programs are built too).
std::wstring TestBinaryDirectory();
std::wstring TestBinaryPath(const wchar_t* fileName);

// A unique empty directory under the temporary directory, removed by the destructor.
class TempDirectory {
public:
    TempDirectory();
    ~TempDirectory();
    const std::wstring& path() const { return path_; }
    std::wstring File(const wchar_t* name) const { return path_ + L"\\" + name; }

private:
    std::wstring path_;
};

std::string ReadWholeFile(const std::wstring& path);
// The names of the files in a folder (its folders left out).
std::vector<std::wstring> FileNamesIn(const std::wstring& folder);
void WriteWholeFile(const std::wstring& path, const std::string& bytes);

struct MessageBoxSeen {
    bool found = false;
    std::wstring caption;
    std::wstring text;
    bool stopIcon = false;
    bool gone = false;  // after OK it went (OK is only posted: until then clicks and keys reach the box)
};

class ChildProcess {
public:
    // Starts `exe` with the given arguments (each quoted), in the working directory when one
    // is given, with this process's environment plus `environment` ("NAME=value" each).
    ChildProcess(const std::wstring& exe, const std::vector<std::wstring>& args,
                 const std::wstring& workingDirectory = L"", const std::vector<std::wstring>& environment = {});
    ~ChildProcess();
    bool started() const { return process_ != nullptr; }
    DWORD pid() const { return pid_; }
    DWORD startError() const { return startError_; }  // GetLastError of a failed start
    HANDLE handle() const { return process_; }

    // Waits for a message box of the child, reads caption and text, presses OK.
    MessageBoxSeen CloseNextMessageBox(DWORD timeoutMs = 10000);
    // Waits for the child to end; returns its exit code, or STILL_ACTIVE after the timeout
    // (the child is then killed).
    DWORD Wait(DWORD timeoutMs = 20000);

private:
    HANDLE process_ = nullptr;
    DWORD pid_ = 0;
    DWORD startError_ = 0;
};

// Finds a visible top-level window of the given class owned by the process, or null.
HWND FindProcessWindow(DWORD pid, const wchar_t* className, const wchar_t* title = nullptr);

// Polls `condition` until it holds or `timeoutMs` passed; the last result. The default is
// generous: the 32-bit program under qemu on a CPU-bound machine takes seconds for one export.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 20000);

// Another program's window, as the shell opened it for a file or folder: the first visible
// top-level window of any process whose title contains `titlePart` (and whose class is
// `className`, when given). Waits up to `timeoutMs` (another program starting is slow on a busy
// machine); null when none came.
HWND WaitForOtherProgramWindow(const wchar_t* titlePart, DWORD timeoutMs = 60000, const wchar_t* className = nullptr);

// Closes the program that owns the window and waits for it to end and the window to go; it is
// ended by force after 10 s. False when it had to be ended by force or the window stayed.
bool CloseProgramOf(HWND window);
