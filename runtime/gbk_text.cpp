#include "runtime/gbk_text.h"

#include <windows.h>

#include <cstring>

namespace {
constexpr UINT kGbk = 936;
}

std::wstring WideFromGbk(const char* gbk, size_t length) {
    if (!gbk || length == 0) return {};
    int n = MultiByteToWideChar(kGbk, 0, gbk, static_cast<int>(length), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(kGbk, 0, gbk, static_cast<int>(length), wide.data(), n);
    return wide;
}

std::wstring WideFromGbk(const char* gbk) { return gbk ? WideFromGbk(gbk, std::strlen(gbk)) : std::wstring(); }

std::string GbkFromWide(const wchar_t* wide, size_t length) {
    if (!wide || length == 0) return {};
    int n = WideCharToMultiByte(kGbk, 0, wide, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
    std::string gbk(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(kGbk, 0, wide, static_cast<int>(length), gbk.data(), n, nullptr, nullptr);
    return gbk;
}

std::string GbkFromWide(const wchar_t* wide) { return wide ? GbkFromWide(wide, wcslen(wide)) : std::string(); }
