// Every text inside the program is GBK; the platform is called with UTF-16.
// These two conversions are the only place where one becomes the other.
#pragma once

#include <string>

std::wstring WideFromGbk(const char* gbk);
std::wstring WideFromGbk(const char* gbk, size_t length);
std::string GbkFromWide(const wchar_t* wide);
std::string GbkFromWide(const wchar_t* wide, size_t length);
