#include "controls/row_tip.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>

#include "runtime/gbk_text.h"
#include "runtime/win32_handles.h"

namespace {

constexpr wchar_t kTipClass[] = L"MgRowTip";
constexpr int kPadding = 6;
constexpr int kLineGap = 2;
constexpr int kSlotWidth = 3;  // a bar of 2 pixels and a gap of 1, so adjacent bars stay apart
constexpr int kGraphWidth = kRowTipBarSlots * kSlotWidth;
constexpr int kGraphHeight = 60;
constexpr COLORREF kBackground = RGB(255, 255, 240);
constexpr COLORREF kTextColour = RGB(0, 0, 0);
constexpr COLORREF kFrameColour = RGB(160, 160, 160);
constexpr COLORREF kGuideColour = RGB(215, 215, 215);
constexpr COLORREF kBarColour = RGB(40, 110, 200);
constexpr COLORREF kLostColour = RGB(220, 30, 30);

}  // namespace

struct RowTips::State {
    HWND list = nullptr;
    std::unique_ptr<RowTipSource> source;
    win::Window tip;  // created with the first tip, destroyed with the list
    int32_t shownRow = -1;
    bool hoverArmed = false;
    RowTipContent content;
};

namespace {

using Attachment = RowTips::State;

HFONT TipFont() { return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

// The whole text, lines joined by CR LF.
std::wstring TipText(const RowTipContent& c) {
    std::wstring text;
    for (size_t i = 0; i < c.lines.size(); ++i) {
        if (i) text += L"\r\n";
        text += WideFromGbk(c.lines[i].c_str());
    }
    return text;
}

int LineHeight(HDC dc) {
    TEXTMETRICW m = {};
    GetTextMetricsW(dc, &m);
    return m.tmHeight + kLineGap;
}

SIZE TipSize(HWND tip, const RowTipContent& c) {
    win::WindowDc dc(tip);
    win::Selection font(dc.get(), TipFont());
    int width = kGraphWidth;
    for (const std::string& line : c.lines) {
        std::wstring w = WideFromGbk(line.c_str());
        SIZE s = {};
        GetTextExtentPoint32W(dc.get(), w.c_str(), static_cast<int>(w.size()), &s);
        width = std::max<int>(width, s.cx);
    }
    const int textHeight = static_cast<int>(c.lines.size()) * LineHeight(dc.get());
    return {width + 2 * kPadding + 2, textHeight + kGraphHeight + 3 * kPadding + 2};
}

void PaintRect(HDC dc, RECT r, COLORREF colour) {
    win::Brush brush(CreateSolidBrush(colour));
    FillRect(dc, &r, brush.get());
}

int ValueY(const RECT& graph, double value, double top) {
    const double share = std::clamp(value / top, 0.0, 1.0);
    return graph.bottom - static_cast<int>(share * (graph.bottom - graph.top) + 0.5);
}

void PaintTip(HWND tip, const RowTipContent& c) {
    win::PaintDc paint(tip);
    HDC dc = paint.get();
    RECT client;
    GetClientRect(tip, &client);
    PaintRect(dc, client, kBackground);
    win::Selection font(dc, TipFont());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kTextColour);
    const int lineHeight = LineHeight(dc);
    int y = kPadding;
    for (const std::string& line : c.lines) {
        std::wstring w = WideFromGbk(line.c_str());
        TextOutW(dc, kPadding, y, w.c_str(), static_cast<int>(w.size()));
        y += lineHeight;
    }
    // The graph: a frame, the guides, then one bar per probe from the left.
    const RECT frame = {kPadding, y + kPadding, kPadding + kGraphWidth + 2, y + kPadding + kGraphHeight + 2};
    const RECT graph = {frame.left + 1, frame.top + 1, frame.right - 1, frame.bottom - 1};
    {
        win::Brush border(CreateSolidBrush(kFrameColour));
        FrameRect(dc, &frame, border.get());
    }
    for (uint32_t guide : c.guides) {
        if (guide >= c.top) continue;
        const int gy = ValueY(graph, guide, c.top);
        PaintRect(dc, {graph.left, gy, graph.right, gy + 1}, kGuideColour);
    }
    const size_t count = std::min<size_t>(c.bars.size(), kRowTipBarSlots);
    for (size_t i = 0; i < count; ++i) {
        const RowTipBar& bar = c.bars[i];
        const int left = graph.left + static_cast<int>(i) * kSlotWidth;
        const int top = bar.lost ? graph.top : ValueY(graph, bar.value, c.top);
        // Even a time of 0 shows one pixel, so every probe is seen.
        PaintRect(dc, {left, std::min(top, static_cast<int>(graph.bottom) - 1), left + kSlotWidth - 1, graph.bottom},
                 bar.lost ? kLostColour : kBarColour);
    }
}

LRESULT CALLBACK TipProc(HWND tip, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* a = reinterpret_cast<Attachment*>(GetWindowLongPtrW(tip, GWLP_USERDATA));
    switch (message) {
    case WM_NCCREATE:
        SetWindowLongPtrW(tip, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
        break;
    case WM_NCDESTROY:
        // The list's top-level window destroys its owned tip before the list itself.
        if (a) (void)a->tip.release();
        break;
    case WM_NCHITTEST:
        // The pointer passes through to the list beneath, which keeps its hover and leave.
        return HTTRANSPARENT;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_ERASEBKGND:
        return 1;  // painted whole in WM_PAINT
    case WM_PAINT:
        if (a) {
            PaintTip(tip, a->content);
            return 0;
        }
        break;
    }
    return DefWindowProcW(tip, message, wParam, lParam);
}

bool RegisterTipClass() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW existing = {};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(instance, kTipClass, &existing)) return true;
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.style = CS_SAVEBITS | CS_DROPSHADOW;
    wc.lpfnWndProc = &TipProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.lpszClassName = kTipClass;
    return RegisterClassExW(&wc) != 0;
}

void HideTip(Attachment& a) {
    a.shownRow = -1;
    if (a.tip) ShowWindow(a.tip.get(), SW_HIDE);
}

// Beside the list, level with the row, so that it covers none of the list's rows; on the
// list's left when there is no room on its right.
POINT TipPosition(const Attachment& a, int32_t row, SIZE size) {
    RECT item = {};
    item.left = LVIR_BOUNDS;
    SendMessageW(a.list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    MapWindowPoints(a.list, nullptr, reinterpret_cast<POINT*>(&item), 2);
    RECT list = {};
    GetWindowRect(a.list, &list);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromRect(&item, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& area = monitor.rcWork;
    POINT p = {list.right + 4, item.top};
    if (p.x + size.cx > area.right) p.x = list.left - 4 - size.cx;
    p.x = std::max(area.left, std::min(p.x, area.right - size.cx));
    p.y = std::max(area.top, std::min(p.y, area.bottom - size.cy));
    return p;
}

// Shows the tip of `row`, or hides it when the row has none; a shown tip is redrawn.
void ShowTip(Attachment& a, int32_t row) {
    RowTipContent content;
    if (row < 0 || !a.source->Describe(row, content)) {
        HideTip(a);
        return;
    }
    if (!a.tip) {
        if (!RegisterTipClass()) return;
        a.tip.reset(CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, kTipClass, L"",
                                    WS_POPUP | WS_BORDER, 0, 0, 0, 0, GetAncestor(a.list, GA_ROOT), nullptr,
                                    GetModuleHandleW(nullptr), &a));
        if (!a.tip) return;
    }
    a.content = std::move(content);
    HWND tip = a.tip.get();
    SetWindowTextW(tip, TipText(a.content).c_str());
    const SIZE size = TipSize(tip, a.content);
    const bool sameRow = row == a.shownRow && IsWindowVisible(tip);
    RECT now = {};
    GetWindowRect(tip, &now);
    const POINT at = sameRow ? POINT{now.left, now.top} : TipPosition(a, row, size);
    SetWindowPos(tip, HWND_TOPMOST, at.x, at.y, size.cx, size.cy, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    a.shownRow = row;
    InvalidateRect(tip, nullptr, FALSE);
    UpdateWindow(tip);
}

int32_t RowAt(HWND list, LPARAM lParam) {
    LVHITTESTINFO hit = {};
    hit.pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    const auto row = static_cast<int32_t>(SendMessageW(list, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    return (hit.flags & LVHT_ONITEM) ? row : -1;
}

void ArmHover(Attachment& a) {
    if (a.hoverArmed) return;
    TRACKMOUSEEVENT track = {};
    track.cbSize = sizeof track;
    track.dwFlags = TME_HOVER | TME_LEAVE;
    track.hwndTrack = a.list;
    track.dwHoverTime = HOVER_DEFAULT;
    a.hoverArmed = TrackMouseEvent(&track) != FALSE;
}

}  // namespace

RowTips::RowTips(intptr_t listWindow, std::unique_ptr<RowTipSource> source) : state_(std::make_unique<State>()) {
    state_->list = reinterpret_cast<HWND>(listWindow);
    state_->source = std::move(source);
}

// The tip goes with state_ (the list's top-level window may have destroyed it already).
RowTips::~RowTips() = default;

uint32_t RowTips::RecordMessage() {
    static const UINT message = RegisterWindowMessageW(L"MgRowTipRecord");
    return message;
}

bool RowTips::OnListMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    Attachment& a = *state_;
    if (message == RecordMessage()) {
        const auto row = static_cast<int32_t>(wParam);
        a.source->Record(row, reinterpret_cast<const void*>(lParam));
        if (row == a.shownRow) ShowTip(a, row);
        return true;
    }
    switch (message) {
    case WM_MOUSEMOVE: {
        ArmHover(a);
        // Once a tip is open, the tip follows the pointer from row to row at once.
        const int32_t row = RowAt(a.list, lParam);
        if (a.shownRow >= 0 && row != a.shownRow) ShowTip(a, row);
        break;
    }
    case WM_MOUSEHOVER:
        a.hoverArmed = false;  // hover tracking ends with its message; the next move re-arms it
        ShowTip(a, RowAt(a.list, lParam));
        break;
    case WM_MOUSELEAVE:
        a.hoverArmed = false;
        HideTip(a);
        break;
    }
    return false;
}
