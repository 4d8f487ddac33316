// The status bar (type code 0x00030002): the common control "msctls_statusbar32" at the
// rectangle its record gives, with the parts of its type data.
#include <windows.h>

#include <commctrl.h>

#include "forms/type_data/status_bar_data.h"
#include "forms/unit_object.h"
#include "forms/units/core_unit_types.h"
#include "forms/units/unit_helpers.h"
#include "runtime/gbk_text.h"

namespace {

class StatusBar : public UnitObject {
public:
    using UnitObject::UnitObject;
    StatusBarData data;

    void ApplyParts() {
        // Right edges from the widths; a width of -1 reaches the right edge.
        std::vector<int> edges;
        int right = 0;
        for (const StatusBarPart& p : data.parts) {
            if (p.width < 0) {
                edges.push_back(-1);
            } else {
                right += p.width;
                edges.push_back(right);
            }
        }
        if (edges.empty()) edges.push_back(-1);
        SendMessageW(hwnd(), SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
        for (size_t i = 0; i < data.parts.size() && i < 256; ++i) {
            const StatusBarPart& p = data.parts[i];
            std::wstring text = WideFromGbk(p.text.c_str(), p.text.size());
            WPARAM kind = static_cast<WPARAM>(i) | (p.flags & 0xFF00);
            SendMessageW(hwnd(), SB_SETTEXTW, kind, reinterpret_cast<LPARAM>(text.c_str()));
            if (!p.tip.empty()) {
                std::wstring tip = WideFromGbk(p.tip.c_str(), p.tip.size());
                SendMessageW(hwnd(), SB_SETTIPTEXTW, i, reinterpret_cast<LPARAM>(tip.c_str()));
            }
        }
    }
    void ApplyBackground() {
        SendMessageW(hwnd(), SB_SETBKCOLOR, 0,
                     IsColourMarker(data.backgroundColour) ? static_cast<LPARAM>(CLR_DEFAULT) : static_cast<LPARAM>(data.backgroundColour));
    }
    COLORREF BackgroundColour() const override {
        return IsColourMarker(data.backgroundColour) ? GetSysColor(COLOR_BTNFACE) : static_cast<COLORREF>(data.backgroundColour);
    }
};

UnitObject* CreateStatusBar(const UnitCreateArgs& a) {
    std::optional<StatusBarData> d = StatusBarData::Parse(a.typeData, a.typeDataLength);
    if (!d) return nullptr;
    auto* s = new StatusBar(&kStatusBarType, a.windowId, a.unitId);
    s->data = std::move(*d);
    // The record's rectangle is kept: no docking to the parent's bottom edge.
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER;
    if (!s->CreateSubclassedWindow(0, STATUSCLASSNAMEW, nullptr, style | (a.styleBits & ~WS_TABSTOP), a)) {
        delete s;
        return nullptr;
    }
    s->ApplyFont(s->data.font, false);
    s->ApplyBackground();
    s->ApplyParts();
    return s;
}

int32_t WriteStatusBarProperty(UnitObject* unit, int32_t index, const UnitPropertyValue& v) {
    auto* s = static_cast<StatusBar*>(unit);
    StatusBarData& d = s->data;
    switch (index) {
        case 0: d.backgroundColour = static_cast<uint32_t>(v.integer); s->ApplyBackground(); return 0;
        case 1: d.style = static_cast<uint32_t>(v.integer); return 0;
        case 2: d.switch10 = static_cast<uint32_t>(v.integer); return 0;
        case 3: d.font = v.bytes; s->ApplyFont(d.font, true); s->ApplyParts(); return 0;
        case 4: d.imageList = v.bytes; return 0;
        case 5:
            // A parts block that does not hold exactly its parts is refused, not half applied.
            if (std::optional<std::vector<StatusBarPart>> parts = StatusBarData::ParseParts(v.bytes.data(), v.bytes.size())) {
                d.parts = std::move(*parts);
                s->ApplyParts();
            }
            return 0;
        default: return 0;
    }
}

bool ReadStatusBarProperty(UnitObject* unit, int32_t index, UnitPropertyValue* out) {
    auto* s = static_cast<StatusBar*>(unit);
    const StatusBarData& d = s->data;
    switch (index) {
        case 0: *out = IntValue(d.backgroundColour); return true;
        case 1: *out = IntValue(d.style); return true;
        case 2: *out = IntValue(d.switch10); return true;
        case 3: *out = BytesValue(d.font); return true;
        case 4: *out = BytesValue(d.imageList); return true;
        case 5: *out = BytesValue(StatusBarData::WriteParts(d.parts)); return true;
        default: return false;
    }
}

std::vector<uint8_t> StatusBarPropertyData(UnitObject* unit) { return StatusBarData::Write(static_cast<StatusBar*>(unit)->data); }

void EnumerateStatusBarTexts(const uint8_t* data, uint32_t length, TextCallback callback, void* context) {
    std::optional<StatusBarData> d = StatusBarData::Parse(data, length);
    if (!d) return;
    for (const StatusBarPart& p : d->parts) {
        EnumerateText(callback, context, p.text);
        EnumerateText(callback, context, p.tip);
    }
    EnumerateFontFace(callback, context, d->font);
}

AnyOperation StatusBarInterface(int32_t number) {
    switch (number) {
        case kInterfaceCreateUnit: return AsOperation(&CreateStatusBar);
        case kInterfaceWriteProperty: return AsOperation(&WriteStatusBarProperty);
        case kInterfaceGetAllPropertyData: return AsOperation(&StatusBarPropertyData);
        case kInterfaceReadProperty: return AsOperation(&ReadStatusBarProperty);
        case kInterfaceEnumerateTexts: return AsOperation(&EnumerateStatusBarTexts);
        default: return nullptr;
    }
}

using P = PropertyType;
const PropertyInfo kStatusBarProperties[14] = {
    MG_COMMON_PROPERTIES,
    {"BackgroundColour", P::kBackgroundColour, 0},
    {"Style", P::kPick, 0},
    {"Switch10", P::kSwitch, 0},
    {"Font", P::kFont, 0},
    {"ImageList", P::kImageList, 0},
    {"Parts", P::kCustomData, 0},
};

}  // namespace

const UnitTypeInfo kStatusBarType = {
    "状态条", "StatusBar", kTypeWindowUnit | kTypeRaisesEvents | kTypeNoFocus, 14, kStatusBarProperties,
    &StatusBarInterface,
};
