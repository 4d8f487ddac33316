#include "forms/units/text_selection.h"

#include "runtime/gbk_text.h"

std::wstring TextSelection::Text() const {
    if (!edit_) return {};
    int n = GetWindowTextLengthW(edit_);
    std::wstring t(static_cast<size_t>(n) + 1, L'\0');
    n = GetWindowTextW(edit_, t.data(), n + 1);
    t.resize(static_cast<size_t>(n > 0 ? n : 0));
    return t;
}

void TextSelection::Get(int32_t* start, int32_t* length) const {
    *start = *length = 0;
    if (!edit_) return;
    DWORD s = 0, e = 0;
    SendMessageW(edit_, EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
    std::wstring t = Text();
    *start = GbkOffsetOf(t, static_cast<int>(s));
    *length = GbkOffsetOf(t, static_cast<int>(e)) - *start;
}

void TextSelection::Set(int32_t start, int32_t length) const {
    if (!edit_) return;
    std::wstring t = Text();
    int s = start < 0 ? static_cast<int>(t.size()) : WideIndexOf(t, start);
    int e;
    if (length < 0) {
        s = 0;
        e = -1;
    } else {
        e = WideIndexOf(t, GbkOffsetOf(t, s) + length);
    }
    SendMessageW(edit_, EM_SETSEL, static_cast<WPARAM>(s), static_cast<LPARAM>(e));
}

void TextSelection::Replace(const std::string& gbk) const {
    if (!edit_) return;
    std::wstring w = WideFromGbk(gbk.c_str(), gbk.size());
    SendMessageW(edit_, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(w.c_str()));
}
