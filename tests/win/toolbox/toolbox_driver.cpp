#include "tests/win/toolbox/toolbox_driver.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <iterator>
#include <optional>

#include "runtime/test_hooks.h"
#include "tests/win/real_input.h"

namespace {

constexpr wchar_t kUnitProperty[] = L"MgUnitObject";  // set on every unit's window

// The loader numbers controls 100, 110, ... in creation order: the window's units from the
// last table position down to position 1.
uint32_t ControlIdOf(rt::AnyUnit unit) {
    const size_t count = std::size(units::kAllUnits);
    for (size_t k = 1; k < count; ++k)
        if (units::kAllUnits[k].unit == unit) return static_cast<uint32_t>(100 + 10 * (count - 1 - k));
    return 0;
}

struct OwnerSearch {
    DWORD pid;
    HWND found;
};
BOOL CALLBACK FindHiddenOwner(HWND hwnd, LPARAM lParam) {
    auto* s = reinterpret_cast<OwnerSearch*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    wchar_t cls[64] = {};
    GetClassNameW(hwnd, cls, 64);
    if (pid != s->pid || wcscmp(cls, L"_XR_HideOwner") != 0) return TRUE;
    s->found = hwnd;
    return FALSE;
}

// The input sentinels the program's message loop has taken (its test hook), or nothing when
// it does not answer.
std::optional<DWORD_PTR> InputSentinelsTaken(HWND owner) {
    static const UINT query = RegisterWindowMessageW(kInputSentinelsTaken);
    DWORD_PTR taken = 0;
    if (!owner || !SendMessageTimeoutW(owner, query, 0, 0, SMTO_NORMAL, 1000, &taken)) return std::nullopt;
    return taken;
}

struct ChildSearch {
    UINT id;
    HWND found;
};
BOOL CALLBACK FindChild(HWND hwnd, LPARAM lParam) {
    auto* s = reinterpret_cast<ChildSearch*>(lParam);
    if (static_cast<UINT>(GetDlgCtrlID(hwnd)) == s->id && GetPropW(hwnd, kUnitProperty)) {
        s->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

// A block of memory inside the program, for list-view messages that carry pointers.
class RemoteBuffer {
public:
    RemoteBuffer(HANDLE process, size_t size) : process_(process) {
        p_ = process ? VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE) : nullptr;
    }
    ~RemoteBuffer() {
        if (p_) VirtualFreeEx(process_, p_, 0, MEM_RELEASE);
    }
    char* at(size_t offset) const { return static_cast<char*>(p_) + offset; }
    template <class T>
    void Put(size_t offset, const T& v) const {
        WriteProcessMemory(process_, at(offset), &v, sizeof v, nullptr);
    }
    template <class T>
    T Get(size_t offset) const {
        T v{};
        ReadProcessMemory(process_, at(offset), &v, sizeof v, nullptr);
        return v;
    }
    std::wstring GetText(size_t offset, size_t chars) const {
        std::wstring s(chars, L'\0');
        ReadProcessMemory(process_, at(offset), s.data(), chars * sizeof(wchar_t), nullptr);
        s.resize(wcsnlen(s.c_str(), chars));
        return s;
    }
    bool ok() const { return p_ != nullptr; }

private:
    HANDLE process_;
    void* p_;
};

}  // namespace

std::wstring ToolboxExe() {
    wchar_t chosen[MAX_PATH] = {};
    DWORD n = GetEnvironmentVariableW(L"MG_PROGRAM_UNDER_TEST", chosen, MAX_PATH);
    std::wstring path = n > 0 && n < MAX_PATH ? std::wstring(chosen, n) : std::wstring(L"" MG_TOOLBOX_EXE);
    for (wchar_t& c : path)
        if (c == L'/') c = L'\\';
    return path;
}

std::string Gbk(const std::wstring& wide) {
    int n = WideCharToMultiByte(936, 0, wide.c_str(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(936, 0, wide.c_str(), static_cast<int>(wide.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::wstring Wide(const std::string& gbk) {
    int n = MultiByteToWideChar(936, 0, gbk.c_str(), static_cast<int>(gbk.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(936, 0, gbk.c_str(), static_cast<int>(gbk.size()), out.data(), n);
    return out;
}

Toolbox::Toolbox() : Toolbox(Options{}) {}
Toolbox::Toolbox(const Options& options) { Start(options); }

Toolbox::~Toolbox() {
    if (remote_) CloseHandle(remote_);
    // A test that did not close the program ends it; its directory goes with the test.
}

void Toolbox::Start(const Options& options) {
    where_ = options.directory.empty() ? dir_.path() : options.directory;
    std::wstring exe = File(L"minggui.exe");
    if (!CopyFileW(ToolboxExe().c_str(), exe.c_str(), FALSE)) return;
    for (const auto& [name, bytes] : options.files) WriteWholeFile(File(name), bytes);
    std::vector<std::wstring> environment = options.environment;
    if (!options.clock.empty()) {
        clockFile_ = clockDir_.File(L"clock.txt");
        WriteWholeFile(clockFile_, options.clock);
        environment.push_back(L"MG_CLOCK_FILE=" + clockFile_);
    }
    if (options.beforeStart) options.beforeStart(where_);
    child_ = std::make_unique<ChildProcess>(exe, std::vector<std::wstring>{}, where_, environment);
    if (!child_->started()) return;
    remote_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION,
                          FALSE, child_->pid());
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindProcessWindow(child_->pid(), nullptr, L"茗柜")) != nullptr; }, 60000);
    window_ = found;
    if (!window_) return;
    WaitForInputIdle(child_->handle(), 10000);
    // The loader sizes the group boxes to their rows, then fills the rows.
    auto loaded = [&] {
        RECT in = ScreenRect(units::疆内分组框), out = ScreenRect(units::疆外分组框);
        int insideRows = (in.bottom - in.top - 12) / 18, outsideRows = (out.bottom - out.top) / 18;
        return in.bottom - in.top != 200 && Rows(units::疆内超级列表框) == insideRows &&
               Rows(units::疆外超级列表框) == outsideRows && Rows(units::超级列表框2) == outsideRows;
    };
    listsLoaded_ = !options.waitForLists || WaitUntil(loaded, 30000);
    EXPECT_TRUE(Activate()) << "the program's window did not come to the front";
}

HWND Toolbox::Handle(rt::AnyUnit unit) const {
    if (!window_) return nullptr;
    if (unit == units::主窗口.Any()) return window_;
    ChildSearch s{ControlIdOf(unit), nullptr};
    EnumChildWindows(window_, &FindChild, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

void Toolbox::SetClock(const std::string& time) { WriteWholeFile(clockFile_, time); }

bool Toolbox::ChooseComboItem(rt::AnyUnit combo, int index) {
    // Each step waits for the box to show it has taken the last one: under load a click can
    // land before the list of the previous choice has closed, or before this one has opened.
    HWND box = Handle(combo);
    auto dropped = [&] { return SendMessageW(box, CB_GETDROPPEDSTATE, 0, 0) != 0; };
    if (!box || !WaitUntil([&] { return !dropped(); })) return false;
    RECT r = ScreenRect(combo);
    ClickScreen({r.right - 6, r.top + 8});  // the drop-down button
    HWND list = nullptr;
    if (!WaitUntil([&] { return dropped() && (list = FindProcessWindow(pid(), L"ComboLBox")) != nullptr; })) return false;
    RECT item = {};  // a standard list box message: the platform carries the rectangle across
    if (SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)) == LB_ERR) return false;
    POINT p = {(item.left + item.right) / 2, (item.top + item.bottom) / 2};
    ClientToScreen(list, &p);
    ClickScreen(p);
    return WaitUntil([&] { return !dropped(); });
}

bool Toolbox::Activate() {
    if (!window_) return false;
    SetForegroundWindow(window_);
    bool front = WaitUntil(
        [&] { return GetForegroundWindow() == window_ || GetAncestor(GetForegroundWindow(), GA_ROOT) == window_; }, 10000);
    return Settle() && front;
}

void Toolbox::ClickScreen(POINT screen) {
    // A second click at the same place within the double-click time would be a double click.
    DWORD since = GetTickCount() - lastClickTime_;
    if (screen.x == lastClick_.x && screen.y == lastClick_.y && since <= GetDoubleClickTime())
        Sleep(GetDoubleClickTime() - since + 50);
    lastClick_ = screen;
    ClickScreenPoint(screen);
    lastClickTime_ = GetTickCount();
    EXPECT_TRUE(Settle()) << "a click was not handled";
}

void Toolbox::Click(rt::AnyUnit unit, POINT offset) {
    RECT r = ScreenRect(unit);
    POINT p = offset.x < 0 ? POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}
                           : POINT{r.left + offset.x, r.top + offset.y};
    ClickScreen(p);
}

void Toolbox::Press(WORD vk, int modifiers) {
    Tap(vk, modifiers);
    EXPECT_TRUE(Settle()) << "a key was not handled";
}

void Toolbox::Type(const std::string& ascii) {
    TypeAscii(ascii.c_str());
    EXPECT_TRUE(Settle()) << "typing was not handled";
}

void Toolbox::Paste(rt::AnyUnit box, const std::wstring& text) {
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        HGLOBAL g = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
        std::memcpy(GlobalLock(g), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
        GlobalUnlock(g);
        SetClipboardData(CF_UNICODETEXT, g);
        CloseClipboard();
    }
    Click(box);
    Press(VK_END);
    Press(VK_HOME, 2);  // the whole text selected: the paste replaces it
    Press('V', 1);
}

void Toolbox::ShowPage(int page) {
    HWND tabs = Handle(units::茗柜);
    RemoteBuffer buffer(remote_, sizeof(RECT));
    if (!tabs || !buffer.ok()) return;
    if (!SendMessageW(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(page), reinterpret_cast<LPARAM>(buffer.at(0)))) return;
    RECT r = buffer.Get<RECT>(0);
    POINT p = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(tabs, &p);
    ClickScreen(p);
}

// A message sent to the window is answered before the input queued ahead of it is handled, so
// the wait for input idle is what makes the input done; on a CPU-bound machine, under qemu,
// that can take seconds.
bool Toolbox::Settle() {
    if (!child_ || !window_) return false;
    // Posted messages come before input, so only input sent after it tells that the input
    // before has been taken, and the loop takes one message at a time. A key goes to the
    // window in front when it is sent: after another program's window (an editor, the record
    // folder) a click brings the program back first.
    const HWND owner = HiddenOwnerOf(pid());
    const auto inFront = [&] {
        DWORD front = 0;
        GetWindowThreadProcessId(GetForegroundWindow(), &front);
        return front == pid();
    };
    const std::optional<DWORD_PTR> before = InputSentinelsTaken(owner);
    if (before && WaitUntil(inFront, 10000)) {
        Tap(kInputSentinelKey);
        const DWORD start = GetTickCount();
        for (;;) {
            const std::optional<DWORD_PTR> now = InputSentinelsTaken(owner);
            if ((now && *now != *before) || MessageBoxShowing()) break;
            if (WaitForSingleObject(child_->handle(), 0) == WAIT_OBJECT_0 || GetTickCount() - start > 30000)
                return false;
            Sleep(10);
        }
    }
    for (int i = 0; i < 2; ++i) {
        DWORD_PTR ignored;
        if (!SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &ignored)) return false;
        if (WaitForInputIdle(child_->handle(), 30000) != 0) return false;
        Sleep(10);
    }
    return true;
}

// The sentinel: a typing limit posted to the hidden separator box, which no one types into,
// and read back once the program has dispatched it.
bool Toolbox::Sync() {
    HWND box = Handle(units::分割符编辑框);
    if (!box) return false;
    const LRESULT mark = 0x7000 + (++syncCount_ % 0x1000);
    PostMessageW(box, EM_SETLIMITTEXT, static_cast<WPARAM>(mark), 0);
    return WaitUntil([&] { return SendMessageW(box, EM_GETLIMITTEXT, 0, 0) == mark; }, 30000);
}

void Toolbox::MovePointer(POINT screen) {
    Mouse(screen, MOUSEEVENTF_MOVE);
    EXPECT_TRUE(Settle()) << "the pointer's move was not handled";
}

RECT Toolbox::RowScreenRect(rt::AnyUnit listView, int row) const {
    HWND h = Handle(listView);
    RemoteBuffer buffer(remote_, sizeof(RECT));
    if (!h || !buffer.ok()) return {};
    RECT r = {};
    r.left = LVIR_BOUNDS;
    buffer.Put(0, r);
    if (!SendMessageW(h, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(buffer.at(0)))) return {};
    r = buffer.Get<RECT>(0);
    MapWindowPoints(h, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void Toolbox::HoverRow(rt::AnyUnit listView, int row) {
    RECT r = RowScreenRect(listView, row);
    if (IsRectEmpty(&r)) return;
    POINT p = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    MovePointer({p.x - 4, p.y});
    MovePointer(p);
}

std::vector<COLORREF> ScreenPixels(const RECT& r) {
    const int width = r.right - r.left, height = r.bottom - r.top;
    if (width <= 0 || height <= 0) return {};
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    const auto* p = static_cast<const uint32_t*>(bits);
    std::vector<COLORREF> pixels(p, p + static_cast<size_t>(width) * static_cast<size_t>(height));
    for (COLORREF& c : pixels) c = RGB((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF);  // 0x00RRGGBB
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

HWND Toolbox::ShownTip() const { return child_ ? FindProcessWindow(child_->pid(), L"MgRowTip") : nullptr; }

std::string Toolbox::TipText() const {
    HWND tip = ShownTip();
    if (!tip) return "";
    wchar_t buffer[2048] = {};
    SendMessageW(tip, WM_GETTEXT, std::size(buffer), reinterpret_cast<LPARAM>(buffer));
    return Gbk(buffer);
}

std::string Toolbox::Text(rt::AnyUnit unit) const {
    HWND h = Handle(unit);
    if (!h) return "<no window>";
    wchar_t buffer[4096] = {};
    SendMessageW(h, WM_GETTEXT, std::size(buffer), reinterpret_cast<LPARAM>(buffer));
    return Gbk(buffer);
}

HWND Toolbox::Focus() const {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    DWORD thread = GetWindowThreadProcessId(window_, nullptr);
    return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

RECT Toolbox::ScreenRect(rt::AnyUnit unit) const {
    RECT r = {};
    if (HWND h = Handle(unit)) GetWindowRect(h, &r);
    return r;
}

int Toolbox::Rows(rt::AnyUnit listView) const {
    HWND h = Handle(listView);
    return h ? static_cast<int>(SendMessageW(h, LVM_GETITEMCOUNT, 0, 0)) : -1;
}

std::string Toolbox::Cell(rt::AnyUnit listView, int row, int column) const {
    HWND h = Handle(listView);
    constexpr size_t kChars = 1024;
    RemoteBuffer buffer(remote_, sizeof(LVITEMW) + kChars * sizeof(wchar_t));
    if (!h || !buffer.ok()) return "<no list>";
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = reinterpret_cast<wchar_t*>(buffer.at(sizeof(LVITEMW)));
    item.cchTextMax = kChars;
    buffer.Put(0, item);
    SendMessageW(h, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(buffer.at(0)));
    return Gbk(buffer.GetText(sizeof(LVITEMW), kChars));
}

int Toolbox::Lamp(rt::AnyUnit listView, int row) const {
    HWND h = Handle(listView);
    RemoteBuffer buffer(remote_, sizeof(LVITEMW));
    if (!h || !buffer.ok()) return -2;
    LVITEMW item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    buffer.Put(0, item);
    if (!SendMessageW(h, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(buffer.at(0)))) return -2;
    return buffer.Get<LVITEMW>(0).iImage;
}

bool Toolbox::SetCell(rt::AnyUnit listView, int row, int column, const std::wstring& text) {
    HWND h = Handle(listView);
    RemoteBuffer buffer(remote_, sizeof(LVITEMW) + (text.size() + 1) * sizeof(wchar_t));
    if (!h || !buffer.ok()) return false;
    for (size_t i = 0; i <= text.size(); ++i) buffer.Put(sizeof(LVITEMW) + i * sizeof(wchar_t), text.c_str()[i]);
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = reinterpret_cast<wchar_t*>(buffer.at(sizeof(LVITEMW)));
    buffer.Put(0, item);
    return SendMessageW(h, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(buffer.at(0))) != 0;
}

bool Toolbox::SetLamp(rt::AnyUnit listView, int row, int image) {
    HWND h = Handle(listView);
    RemoteBuffer buffer(remote_, sizeof(LVITEMW));
    if (!h || !buffer.ok()) return false;
    LVITEMW item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    item.iImage = image;
    buffer.Put(0, item);
    return SendMessageW(h, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(buffer.at(0))) != 0;
}

int Toolbox::ColumnWidth(rt::AnyUnit listView, int column) const {
    HWND h = Handle(listView);
    return h ? static_cast<int>(SendMessageW(h, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0)) : -1;
}

std::wstring Toolbox::ColumnTitle(rt::AnyUnit listView, int column) const {
    HWND h = Handle(listView);
    constexpr size_t kChars = 256;
    RemoteBuffer buffer(remote_, sizeof(LVCOLUMNW) + kChars * sizeof(wchar_t));
    if (!h || !buffer.ok()) return L"<no list>";
    LVCOLUMNW c = {};
    c.mask = LVCF_TEXT;
    c.pszText = reinterpret_cast<wchar_t*>(buffer.at(sizeof(LVCOLUMNW)));
    c.cchTextMax = kChars;
    buffer.Put(0, c);
    if (!SendMessageW(h, LVM_GETCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(buffer.at(0))))
        return L"<no column>";
    return buffer.GetText(sizeof(LVCOLUMNW), kChars);
}

MessageBoxSeen Toolbox::AnswerMessageBox(DWORD timeoutMs) {
    MessageBoxSeen seen = child_ ? child_->CloseNextMessageBox(timeoutMs) : MessageBoxSeen{};
    if (seen.found) {
        EXPECT_TRUE(seen.gone) << "the message box stayed after OK";
    }
    EXPECT_TRUE(Settle()) << "the program did not go on after its message box";
    return seen;
}

bool Toolbox::MessageBoxShowing() const { return child_ && FindProcessWindow(child_->pid(), L"#32770"); }

DWORD Toolbox::Close(DWORD timeoutMs) {
    if (!child_) return STILL_ACTIVE;
    EXPECT_TRUE(Activate()) << "the program's window did not come to the front to be closed";
    Tap(VK_F4, 4);  // the program ends: nothing is left to settle
    DWORD code = child_->Wait(timeoutMs);
    window_ = nullptr;
    return code;
}

HWND HiddenOwnerOf(DWORD pid) {
    OwnerSearch s{pid, nullptr};
    EnumWindows(&FindHiddenOwner, reinterpret_cast<LPARAM>(&s));
    return s.found;
}
