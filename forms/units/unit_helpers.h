// Small pieces the unit types share: GBK window texts, GBK text positions, borders, clamps.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "forms/unit_type.h"

std::string WindowTextGbk(HWND hwnd);
void SetWindowTextGbk(HWND hwnd, const std::string& text);

// Edit positions are UTF-16 indexes; the tools count GBK bytes.
int32_t GbkOffsetOf(const std::wstring& text, int wideIndex);
int WideIndexOf(const std::wstring& text, int32_t gbkOffset);

// Border choices 0-5 of list-type units: none, sunken, dialog frame, thin sunken,
// sunken with dialog frame, single line.
void BorderStyles(uint32_t border, DWORD* style, DWORD* exStyle);

int32_t Clamp(int64_t v, int32_t low, int32_t high);

// The item spacing of the list-type units (combo box, list box): stored, and the item height
// moved from the old spacing to the new one.
template <class ListUnit>
int32_t ItemSpacingWrite(ListUnit& unit, const UnitPropertyValue& v) {
    const auto spacing = static_cast<uint32_t>(Clamp(v.integer, 0, 32767));
    unit.ApplySpacing(unit.data.itemSpacing, spacing);
    unit.data.itemSpacing = spacing;
    InvalidateRect(unit.hwnd(), nullptr, TRUE);
    return 0;
}

// Values for reads.
inline UnitPropertyValue IntValue(int64_t v) {
    UnitPropertyValue p;
    p.integer = static_cast<int32_t>(v);
    return p;
}
inline UnitPropertyValue TextValue(std::string s) {
    UnitPropertyValue p;
    p.text = std::move(s);
    return p;
}
inline UnitPropertyValue BytesValue(std::vector<uint8_t> b) {
    UnitPropertyValue p;
    p.bytes = std::move(b);
    return p;
}

// Hands a text to a text enumeration callback, skipping empty ones.
inline void EnumerateText(TextCallback callback, void* context, const std::string& text) {
    if (!text.empty()) callback(text.c_str(), context);
}
void EnumerateFontFace(TextCallback callback, void* context, const std::vector<uint8_t>& font);
