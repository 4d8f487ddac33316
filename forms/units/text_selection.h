// The text selection of the edit box and of the combo box's edit field, in the GBK byte
// offsets the tools count (the field itself counts UTF-16 units), and the behaviours of the
// properties on it: selection start, selection length and selected text.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "forms/described_unit.h"
#include "forms/units/unit_helpers.h"

class TextSelection {
public:
    // An edit control; a null handle (a combo box without an edit field) has no selection.
    explicit TextSelection(HWND edit) : edit_(edit) {}

    std::wstring Text() const;
    void Get(int32_t* start, int32_t* length) const;
    // A start below 0 is the end of the text; a length below 0 selects the whole text.
    void Set(int32_t start, int32_t length) const;
    // Replaces the selected part; the caret ends after the new text.
    void Replace(const std::string& gbk) const;

private:
    HWND edit_;
};

// For a Unit whose `data` holds content, selectionStart and selectionLength (as its
// BeforeRead brings them up to date) and whose SelectionField() is its edit control.
template <class Unit>
struct SelectionBehaviours {
    static int32_t StartWrite(Unit& unit, const UnitPropertyValue& v) {
        TextSelection selection(unit.SelectionField());
        int32_t start = 0, length = 0;
        selection.Get(&start, &length);
        selection.Set(v.integer, length);
        return 0;
    }
    static int32_t LengthWrite(Unit& unit, const UnitPropertyValue& v) {
        TextSelection selection(unit.SelectionField());
        int32_t start = 0, length = 0;
        selection.Get(&start, &length);
        selection.Set(start, v.integer);
        return 0;
    }
    static bool SelectedTextRead(Unit& unit, UnitPropertyValue* out) {
        const auto& d = unit.data;
        size_t start = d.selectionStart < d.content.size() ? d.selectionStart : d.content.size();
        *out = TextValue(d.content.substr(start, d.selectionLength));
        return true;
    }
    static int32_t SelectedTextWrite(Unit& unit, const UnitPropertyValue& v) {
        TextSelection(unit.SelectionField()).Replace(v.text);
        return 0;
    }
};
