// The edit box: a system "EDIT" control with typed input modes and
// optional spin buttons ("msctls_updown32") beside it.
#include <windows.h>

#include <commctrl.h>
#include <imm.h>

#include "forms/edit_input.h"
#include "forms/type_data/edit_box_data.h"
#include "forms/described_unit.h"
#include "forms/units/text_selection.h"
#include "forms/units/unit_helpers.h"
#include "runtime/gbk_text.h"

namespace {

uint32_t CharCode(WPARAM wide) { return wide < 0x80 ? static_cast<uint32_t>(wide) : 0x80u + static_cast<uint32_t>(wide); }

// The result string an input method has finished in the window's input context.
std::wstring ImeResultString(HWND hwnd) {
    std::wstring result;
    if (HIMC context = ImmGetContext(hwnd)) {
        LONG bytes = ImmGetCompositionStringW(context, GCS_RESULTSTR, nullptr, 0);
        if (bytes > 0) {
            result.resize(static_cast<size_t>(bytes) / sizeof(wchar_t));
            bytes = ImmGetCompositionStringW(context, GCS_RESULTSTR, result.data(), static_cast<DWORD>(bytes));
            result.resize(bytes > 0 ? static_cast<size_t>(bytes) / sizeof(wchar_t) : 0);
        }
        ImmReleaseContext(hwnd, context);
    }
    return result;
}

class EditBox : public UnitObject {
public:
    using UnitObject::UnitObject;
    EditBoxData data;
    static const Behaviours<EditBox> kBehaviours;

    void BeforeRead() { Sync(); }
    win::Window spin;  // the spin buttons beside the box, when it has them

    void Styles(DWORD* style, DWORD* exStyle) const {
        *style = WS_CHILD | WS_CLIPSIBLINGS;
        *exStyle = 0;
        switch (data.border) {
            case 1: *exStyle |= WS_EX_CLIENTEDGE; break;
            case 2: *exStyle |= WS_EX_STATICEDGE; break;
            case 3: *style |= WS_BORDER; break;
            default: break;
        }
        if (data.multiLine) {
            *style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
            if (data.scrollBars & 1) *style |= WS_HSCROLL | ES_AUTOHSCROLL;
            if (data.scrollBars & 2) *style |= WS_VSCROLL;
        } else {
            *style |= ES_AUTOHSCROLL;
        }
        if (data.alignment == 1) *style |= ES_CENTER;
        if (data.alignment == 2) *style |= ES_RIGHT;
        if (!data.hideSelection) *style |= ES_NOHIDESEL;
        if (data.inputMode == EditBoxData::kReadOnly) *style |= ES_READONLY;
        if (data.inputMode == EditBoxData::kPassword) *style |= ES_PASSWORD;
        if (data.caseConversion == 1) *style |= ES_LOWERCASE;
        if (data.caseConversion == 2) *style |= ES_UPPERCASE;
    }

    HWND SelectionField() const { return hwnd(); }
    std::wstring Text() const { return TextSelection(hwnd()).Text(); }

    void ApplyContent() { SetWindowTextGbk(hwnd(), data.content); }
    void Repaint() { InvalidateRect(hwnd(), nullptr, TRUE); }
    void ApplyStoredFont() { ApplyFont(data.font, true); }
    void ApplyLimit() { SendMessageW(hwnd(), EM_LIMITTEXT, data.maxLength, 0); }
    void ApplySpinRange() {
        if (spin) SendMessageW(spin.get(), UDM_SETRANGE32, static_cast<WPARAM>(data.spinMin), static_cast<LPARAM>(data.spinMax));
    }
    void ApplyPasswordChar() {
        wchar_t ch = 0;
        if (data.inputMode == EditBoxData::kPassword) {
            char byte = static_cast<char>(data.passwordChar & 0xFF);
            std::wstring w = WideFromGbk(&byte, 1);
            ch = w.empty() ? L'*' : w[0];
        }
        SendMessageW(hwnd(), EM_SETPASSWORDCHAR, ch, 0);
        InvalidateRect(hwnd(), nullptr, TRUE);
    }
    void Sync() {
        if (!alive()) return;
        data.content = WindowTextGbk(hwnd());
        int32_t start = 0, length = 0;
        TextSelection(hwnd()).Get(&start, &length);
        data.selectionStart = static_cast<uint32_t>(start);
        data.selectionLength = static_cast<uint32_t>(length);
    }

    void CreateSpin() {
        if (!data.spinMode || (spin && IsWindow(spin.get()))) return;
        spin.reset(CreateWindowExW(0, UPDOWN_CLASSW, nullptr, WS_CHILD | UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_NOTHOUSANDS,
                                   0, 0, 0, 0, GetParent(hwnd()), nullptr, GetModuleHandleW(nullptr), nullptr));
        if (!spin) return;
        // Its position is never set from here: that would write the position over the box's
        // content ("hello" would read "0", "007" "7"). Pressing an arrow reads the content first.
        SendMessageW(spin.get(), UDM_SETBUDDY, reinterpret_cast<WPARAM>(hwnd()), 0);
        SendMessageW(spin.get(), UDM_SETRANGE32, static_cast<WPARAM>(data.spinMin), static_cast<LPARAM>(data.spinMax));
        PlaceSpin();
    }
    RECT ScreenArea() const override {
        RECT r = UnitObject::ScreenArea(), beside;
        if (spin && IsWindow(spin.get()) && GetWindowRect(spin.get(), &beside)) UnionRect(&r, &r, &beside);
        return r;
    }
    // Beside the edit's right edge, as tall as the edit; shown and hidden with it.
    void PlaceSpin() { PlaceSpin((GetWindowLongW(hwnd(), GWL_STYLE) & WS_VISIBLE) != 0); }
    void PlaceSpin(bool shown) {
        if (!spin || !IsWindow(spin.get())) return;
        RECT r;
        GetWindowRect(hwnd(), &r);
        MapWindowPoints(nullptr, GetParent(hwnd()), reinterpret_cast<POINT*>(&r), 2);
        SetWindowPos(spin.get(), hwnd(), r.right, r.top, GetSystemMetrics(SM_CXVSCROLL), r.bottom - r.top,
                     SWP_NOACTIVATE | (shown ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
        EnableWindow(spin.get(), IsWindowEnabled(hwnd()));
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
            case WM_CHAR:
            // An input method delivers its characters as WM_IME_CHAR, which the edit control
            // would insert without a WM_CHAR.
            case WM_IME_CHAR:
                if (!EditModeAcceptsChar(data.inputMode, CharCode(wParam))) return 0;
                break;
            case WM_IME_COMPOSITION:
                if (EditModeFiltersChars(data.inputMode)) return FilteredComposition(wParam, lParam);
                break;
            case WM_SHOWWINDOW: {
                // Under a hidden parent a child is shown without a position change.
                LRESULT r = UnitObject::WindowProc(message, wParam, lParam);
                PlaceSpin(wParam != 0);
                return r;
            }
            case WM_WINDOWPOSCHANGED:
            case WM_ENABLE: {
                LRESULT r = UnitObject::WindowProc(message, wParam, lParam);
                PlaceSpin();
                return r;
            }
            case WM_DESTROY:
                spin.reset();
                break;
            default:
                break;
        }
        return UnitObject::WindowProc(message, wParam, lParam);
    }

    // A box that filters its characters leaves the composition to the input method's own
    // window (the edit control would show it inside the text and then take the result
    // string whole) and takes the result the documented default way, as WM_IME_CHAR one
    // character at a time, so that every character meets the filter.
    LRESULT FilteredComposition(WPARAM wParam, LPARAM lParam) {
        HWND h = hwnd();
        if (lParam & GCS_RESULTSTR) {
            for (wchar_t ch : ImeResultString(h)) {
                if (!IsWindow(h)) return 0;
                SendMessageW(h, WM_IME_CHAR, ch, 1);
            }
        }
        const LPARAM resultParts = GCS_RESULTSTR | GCS_RESULTCLAUSE | GCS_RESULTREADSTR | GCS_RESULTREADCLAUSE;
        return IsWindow(h) ? DefWindowProcW(h, WM_IME_COMPOSITION, wParam, lParam & ~resultParts) : 0;
    }

    bool OnReflected(UINT message, WPARAM wParam, LPARAM, LRESULT* result) override {
        if (message != WM_CTLCOLOREDIT && message != WM_CTLCOLORSTATIC) return false;
        auto dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, ResolveColour(data.textColour, COLOR_WINDOWTEXT));
        COLORREF background = ResolveColour(data.backgroundColour, COLOR_WINDOW);
        SetBkColor(dc, background);
        *result = reinterpret_cast<LRESULT>(SolidBrush(background));
        return true;
    }

    // Typed modes put their content into its normal form before LostFocus; the caret goes
    // back to where the selection started.
    void BeforeFocusLost() override {
        std::wstring text = Text();
        std::string gbk = GbkFromWide(text.c_str(), text.size());
        std::optional<std::string> normal = NormaliseEditText(data.inputMode, gbk);
        if (!normal || *normal == gbk) return;
        DWORD start = 0, end = 0;
        SendMessageW(hwnd(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        std::wstring wide = WideFromGbk(normal->c_str(), normal->size());
        SetWindowTextW(hwnd(), wide.c_str());
        WPARAM caret = start < wide.size() ? start : wide.size();
        SendMessageW(hwnd(), EM_SETSEL, caret, static_cast<LPARAM>(caret));
    }

    void OnRuntimeMessage(UINT message) override {
        if (message == kUnitLoadedMessage) CreateSpin();
    }
};

UnitObject* CreateEditBox(const UnitCreateArgs& a) {
    std::optional<EditBoxData> d = EditBoxData::Parse(a.typeData, a.typeDataLength);
    if (!d) return nullptr;
    auto* e = new EditBox(a.type, a.windowId, a.unitId);
    e->data = std::move(*d);
    DWORD style, exStyle;
    e->Styles(&style, &exStyle);
    std::wstring content = WideFromGbk(e->data.content.c_str(), e->data.content.size());
    if (!e->CreateSubclassedWindow(exStyle, L"EDIT", content.c_str(), style | a.styleBits, a)) {
        delete e;
        return nullptr;
    }
    e->ApplyFont(e->data.font, false);
    e->ApplyLimit();
    if (e->data.inputMode == EditBoxData::kPassword) e->ApplyPasswordChar();
    if (e->data.selectionStart || e->data.selectionLength)
        TextSelection(e->hwnd()).Set(static_cast<int32_t>(e->data.selectionStart), static_cast<int32_t>(e->data.selectionLength));
    return e;
}

bool EditBoxKeyFilter(UnitObject* unit, const MSG& m) {
    auto* e = static_cast<EditBox*>(unit);
    if (m.message == WM_CHAR) return EditModeAcceptsChar(e->data.inputMode, CharCode(m.wParam));
    if (m.message != WM_KEYDOWN) return false;
    LRESULT code = SendMessageW(e->hwnd(), WM_GETDLGCODE, m.wParam, reinterpret_cast<LPARAM>(&m));
    return (code & DLGC_WANTALLKEYS) || (m.wParam == VK_TAB && (code & DLGC_WANTTAB));
}

void EnumerateEditBoxTexts(const uint8_t* data, uint32_t length, TextCallback callback, void* context) {
    std::optional<EditBoxData> d = EditBoxData::Parse(data, length);
    if (!d) return;
    EnumerateText(callback, context, d->content);
    EnumerateFontFace(callback, context, d->font);
}

// Read-only and password are window styles; the other modes only filter the input.
int32_t InputModeWrite(EditBox& e, const UnitPropertyValue& v) {
    uint32_t old = e.data.inputMode;
    e.data.inputMode = static_cast<uint32_t>(Clamp(v.integer, 0, 11));
    bool styleChanged = (old == EditBoxData::kPassword) != (e.data.inputMode == EditBoxData::kPassword);
    if (styleChanged) return 1;
    SendMessageW(e.hwnd(), EM_SETREADONLY, e.data.inputMode == EditBoxData::kReadOnly, 0);
    return 0;
}

// One single-byte character, kept in the low byte; an empty text shows no character.
bool PasswordCharRead(EditBox& e, UnitPropertyValue* out) {
    uint8_t ch = static_cast<uint8_t>(e.data.passwordChar & 0xFF);
    *out = TextValue(ch ? std::string(1, static_cast<char>(ch)) : std::string());
    return true;
}

int32_t PasswordCharWrite(EditBox& e, const UnitPropertyValue& v) {
    e.data.passwordChar = v.text.empty() ? 0 : static_cast<uint8_t>(v.text[0]);
    if (e.data.inputMode == EditBoxData::kPassword) e.ApplyPasswordChar();
    return 0;
}

using Selection = SelectionBehaviours<EditBox>;

const Behaviours<EditBox> EditBox::kBehaviours = {
    {"Content", Applies<&EditBox::ApplyContent>()},
    {"Border", Rebuilds<EditBox>()},
    {"TextColour", Applies<&EditBox::Repaint>()},
    {"BackgroundColour", Applies<&EditBox::Repaint>()},
    {"Font", Applies<&EditBox::ApplyStoredFont>()},
    {"HideSelection", Rebuilds<EditBox>()},
    {"MaxLength", Applies<&EditBox::ApplyLimit>()},
    {"MultiLine", Rebuilds<EditBox>()},
    {"ScrollBars", Rebuilds<EditBox>()},
    {"Alignment", Rebuilds<EditBox>()},
    {"InputMode", WriteWith(&InputModeWrite)},
    {"PasswordChar", ReadWith(&PasswordCharRead).WriteWith(&PasswordCharWrite)},
    {"CaseConversion", Rebuilds<EditBox>()},
    {"SpinMode", Rebuilds<EditBox>()},
    {"SpinMinimum", Applies<&EditBox::ApplySpinRange>()},
    {"SpinMaximum", Applies<&EditBox::ApplySpinRange>()},
    {"SelectionStart", WriteWith(&Selection::StartWrite)},
    {"SelectionLength", WriteWith(&Selection::LengthWrite)},
    {"SelectedText", ReadWith(&Selection::SelectedTextRead).WriteWith(&Selection::SelectedTextWrite)},
};

}  // namespace

extern const UnitOperations kEditBoxOperations = DescribedOperations<EditBox>(
    {.create = &CreateEditBox, .keyFilter = &EditBoxKeyFilter, .enumerateTexts = &EnumerateEditBoxTexts});
