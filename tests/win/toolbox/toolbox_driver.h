// Drives the real toolbox from outside, as a cashier does: the program copied into a fresh
// directory and started there, real mouse and keyboard input (SendInput), and what its
// windows show read back across the process boundary (window texts, list view cells and
// lamps), plus the files it writes. Units are found by the references generated from the
// form, so tests name them as tool code does.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "main_window_units.h"
#include "tests/win/child_process.h"

// The program as built, or the copy that MG_PROGRAM_UNDER_TEST names (a sweep runs the program
// as it was when it began, whatever is rebuilt meanwhile).
std::wstring ToolboxExe();

// The text as the program holds it (GBK) from UTF-16, and back.
std::string Gbk(const std::wstring& wide);
std::wstring Wide(const std::string& gbk);

// A host list file as the program writes them: label，address， and CR LF per host (GBK).
std::string HostList(const std::vector<std::pair<std::string, std::string>>& hosts);

// Closes the program that owns the window and waits for it to end (ended by force after 10 s).
void CloseProgramOf(HWND window);

// Polls `condition` until it holds or `timeoutMs` passed; the last result. The default is
// generous: the 32-bit program under qemu on a CPU-bound machine takes seconds for one export.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 20000);

// What the screen shows in `r`, as COLORREF values, row by row.
std::vector<COLORREF> ScreenPixels(const RECT& r);

class Toolbox {
public:
    struct Options {
        // Files put beside the program before it starts: name (UTF-16) and bytes.
        std::vector<std::pair<std::wstring, std::string>> files;
        // Environment of the program, "NAME=value" (for example a fixed clock).
        std::vector<std::wstring> environment;
        bool waitForLists = true;  // until both result lists have their rows
        std::string clock;         // "YYYY-MM-DD HH:MM:SS": the program's clock held there
        // The program's folder instead of a fresh one (the test clears it afterwards).
        std::wstring directory;
        // Called with the folder once the program and the files are in it, before it starts.
        std::function<void(const std::wstring& directory)> beforeStart;
    };
    Toolbox();
    explicit Toolbox(const Options& options);
    ~Toolbox();
    Toolbox(const Toolbox&) = delete;
    Toolbox& operator=(const Toolbox&) = delete;

    bool started() const { return window_ != nullptr; }
    DWORD pid() const { return child_ ? child_->pid() : 0; }
    ChildProcess* process() const { return child_.get(); }
    HWND window() const { return window_; }
    const std::wstring& directory() const { return where_; }
    std::wstring File(const std::wstring& name) const { return where_ + L"\\" + name; }

    // The native window of a unit (found by its control id), null when it has none.
    HWND Handle(rt::AnyUnit unit) const;

    // Holds the program's clock at "YYYY-MM-DD HH:MM:SS" from now on (the program was started
    // with a clock).
    void SetClock(const std::string& time);

    // ---- Input (real, through the program's message loop) ----
    void Activate();
    void Click(rt::AnyUnit unit, POINT offset = {-1, -1});  // the unit's centre by default
    void ClickScreen(POINT screen);
    // Presses one key; modifiers 1 Ctrl, 2 Shift, 4 Alt held around it.
    void Press(WORD vk, int modifiers = 0);
    // Types the ASCII text key by key.
    void Type(const std::string& ascii);
    // Opens a combo box's list with a click and clicks item `index` in it.
    void ChooseComboItem(rt::AnyUnit combo, int index);
    // Sets an edit box's text the way pasting does (no keyboard filter), through the clipboard.
    void Paste(rt::AnyUnit box, const std::wstring& text);
    // The tab of page `page` (0-2) clicked.
    void ShowPage(int page);
    // Waits until the program has handled all input (it waits for more).
    void Settle();
    // Moves the pointer there with real mouse input and rests it, without a click.
    void MovePointer(POINT screen);
    // Rests the pointer on row `row` of a list view, at its centre; it arrives from a few
    // pixels away, so the list sees it move in.
    void HoverRow(rt::AnyUnit listView, int row);

    // ---- What the windows show ----
    std::string Text(rt::AnyUnit unit) const;  // GBK
    HWND Focus() const;                         // the window with the keyboard focus
    bool HasFocus(rt::AnyUnit unit) const { return Focus() == Handle(unit); }
    RECT ScreenRect(rt::AnyUnit unit) const;
    int Rows(rt::AnyUnit listView) const;
    std::string Cell(rt::AnyUnit listView, int row, int column) const;  // GBK
    int Lamp(rt::AnyUnit listView, int row) const;                       // image index of column 0
    int ColumnWidth(rt::AnyUnit listView, int column) const;
    RECT RowScreenRect(rt::AnyUnit listView, int row) const;  // the whole row; empty when none
    std::wstring ColumnTitle(rt::AnyUnit listView, int column) const;
    // The row tip that shows (window class MgRowTip), or null; its whole text (GBK), as a
    // screen reader reads it.
    HWND ShownTip() const;
    std::string TipText() const;

    // ---- Message boxes and the end ----
    // A message box of the program: waits for it, reads it and presses OK.
    MessageBoxSeen AnswerMessageBox(DWORD timeoutMs = 5000);
    bool MessageBoxShowing() const;
    // Closes the main window with Alt+F4 and waits for the process; its exit code.
    DWORD Close(DWORD timeoutMs = 20000);

private:
    void Start(const Options& options);
    TempDirectory dir_;
    std::wstring where_;  // the program's folder: dir_ unless the options name another
    TempDirectory clockDir_;  // outside the program's directory, which tests list
    std::wstring clockFile_;
    std::unique_ptr<ChildProcess> child_;
    HWND window_ = nullptr;
    HANDLE remote_ = nullptr;
    POINT lastClick_ = {-1, -1};
    DWORD lastClickTime_ = 0;  // the process opened for reading list views
};
