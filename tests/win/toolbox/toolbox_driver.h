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
#include "tests/host_lists.h"
#include "tests/win/child_process.h"

// The program as built, or the copy that MG_PROGRAM_UNDER_TEST names (a sweep runs the program
// as it was when it began, whatever is rebuilt meanwhile).
std::wstring ToolboxExe();

// The program's hidden owner window (class _XR_HideOwner), where its test hooks answer; null
// when it has none.
HWND HiddenOwnerOf(DWORD pid);

// The text as the program holds it (GBK) from UTF-16, and back.
std::string Gbk(const std::wstring& wide);
std::wstring Wide(const std::string& gbk);

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

    // The main window showed (and, when the options ask for it, both result lists loaded).
    bool started() const { return window_ != nullptr && listsLoaded_; }
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
    // Brings the main window to the front; false when it did not get there.
    bool Activate();
    void Click(rt::AnyUnit unit, POINT offset = {-1, -1});  // the unit's centre by default
    void ClickScreen(POINT screen);
    // Presses one key; modifiers 1 Ctrl, 2 Shift, 4 Alt held around it.
    void Press(WORD vk, int modifiers = 0);
    // Types the ASCII text key by key.
    void Type(const std::string& ascii);
    // Opens a combo box's list with a click and clicks item `index` in it; false when the list
    // did not open or close again.
    bool ChooseComboItem(rt::AnyUnit combo, int index);
    // Sets an edit box's text the way pasting does (no keyboard filter), through the clipboard.
    void Paste(rt::AnyUnit box, const std::wstring& text);
    // The tab of page `page` (0-2) clicked.
    void ShowPage(int page);
    // Waits until the program has handled all input sent so far: a sentinel key pressed after
    // it has been taken by the program's message loop (or a message box has come up), and the
    // program waits for more. False when that did not come within 30 s. Every input above
    // settles, asserting it.
    bool Settle();
    // Posts a sentinel to the program's window thread and waits until it has been dispatched:
    // every message posted there before it (a hover, a character) has then been handled. For
    // checks that something did not happen; false when it did not come.
    bool Sync();
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
    // Writes a cell's text or a row's lamp in the program's list, as a sentinel that the
    // program must overwrite; false when the list did not take it.
    bool SetCell(rt::AnyUnit listView, int row, int column, const std::wstring& text);
    bool SetLamp(rt::AnyUnit listView, int row, int image);
    int ColumnWidth(rt::AnyUnit listView, int column) const;
    RECT RowScreenRect(rt::AnyUnit listView, int row) const;  // the whole row; empty when none
    std::wstring ColumnTitle(rt::AnyUnit listView, int column) const;
    // The row tip that shows (window class MgRowTip), or null; its whole text (GBK), as a
    // screen reader reads it.
    HWND ShownTip() const;
    std::string TipText() const;

    // ---- Message boxes and the end ----
    // A message box of the program: waits for it, reads it and presses OK.
    MessageBoxSeen AnswerMessageBox(DWORD timeoutMs = 30000);
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
    bool listsLoaded_ = false;
    HANDLE remote_ = nullptr;  // the process opened for reading list views
    int syncCount_ = 0;
    POINT lastClick_ = {-1, -1};
    DWORD lastClickTime_ = 0;
};
