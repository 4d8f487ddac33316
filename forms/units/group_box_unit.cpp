// The group box (type code 0x00010009): a "BUTTON" with BS_GROUPBOX that holds units.
// Its children are re-parented into it at load, so it paints its own background (the
// button class leaves it to the parent) and sees-through children find it drawn.
#include "forms/type_data/group_box_data.h"
#include "forms/unit_object.h"
#include "forms/units/core_unit_types.h"
#include "forms/units/unit_helpers.h"
#include "runtime/gbk_text.h"

namespace {

class GroupBox : public UnitObject {
public:
    using UnitObject::UnitObject;
    GroupBoxData data;

    COLORREF BackgroundColour() const override {
        return IsColourMarker(data.backgroundColour) ? UnitObject::BackgroundColour()
                                                     : static_cast<COLORREF>(data.backgroundColour);
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_ERASEBKGND) {
            RECT r;
            GetClientRect(hwnd(), &r);
            FillRect(reinterpret_cast<HDC>(wParam), &r, BackgroundBrush());
            return 1;
        }
        return UnitObject::WindowProc(message, wParam, lParam);
    }

    bool OnReflected(UINT message, WPARAM wParam, LPARAM, LRESULT* result) override {
        if (message != WM_CTLCOLORSTATIC && message != WM_CTLCOLORBTN) return false;
        auto dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, ResolveColour(data.textColour, COLOR_WINDOWTEXT));
        SetBkColor(dc, BackgroundColour());
        *result = reinterpret_cast<LRESULT>(BackgroundBrush());
        return true;
    }
};

UnitObject* CreateGroupBox(const UnitCreateArgs& a) {
    std::optional<GroupBoxData> d = GroupBoxData::Parse(a.typeData, a.typeDataLength);
    if (!d) return nullptr;
    auto* g = new GroupBox(&kGroupBoxType, a.windowId, a.unitId);
    g->data = std::move(*d);
    std::wstring caption = WideFromGbk(g->data.caption.c_str(), g->data.caption.size());
    // WS_EX_CONTROLPARENT: Tab moves into the units it holds.
    if (!g->CreateSubclassedWindow(WS_EX_CONTROLPARENT, L"BUTTON", caption.c_str(),
                                   WS_CHILD | WS_CLIPSIBLINGS | BS_GROUPBOX | (a.styleBits & ~WS_TABSTOP), a)) {
        delete g;
        return nullptr;
    }
    g->ApplyFont(g->data.font, false);
    return g;
}

int32_t WriteGroupBoxProperty(UnitObject* unit, int32_t index, const UnitPropertyValue& v) {
    auto* g = static_cast<GroupBox*>(unit);
    GroupBoxData& d = g->data;
    switch (index) {
        case 0: d.caption = v.text; SetWindowTextGbk(g->hwnd(), v.text); break;
        case 1: d.frameStyle = static_cast<uint32_t>(v.integer); break;
        case 2: d.textColour = static_cast<uint32_t>(v.integer); break;
        case 3: d.backgroundColour = static_cast<uint32_t>(v.integer); break;
        case 4: d.font = v.bytes; g->ApplyFont(d.font, false); break;
        default: return 0;
    }
    RedrawWindow(g->hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    return 0;
}

bool ReadGroupBoxProperty(UnitObject* unit, int32_t index, UnitPropertyValue* out) {
    auto* g = static_cast<GroupBox*>(unit);
    const GroupBoxData& d = g->data;
    switch (index) {
        case 0: *out = TextValue(WindowTextGbk(g->hwnd())); return true;
        case 1: *out = IntValue(d.frameStyle); return true;
        case 2: *out = IntValue(d.textColour); return true;
        case 3: *out = IntValue(d.backgroundColour); return true;
        case 4: *out = BytesValue(d.font); return true;
        default: return false;
    }
}

std::vector<uint8_t> GroupBoxPropertyData(UnitObject* unit) {
    auto* g = static_cast<GroupBox*>(unit);
    GroupBoxData d = g->data;
    if (g->alive()) d.caption = WindowTextGbk(g->hwnd());
    return GroupBoxData::Write(d);
}

void EnumerateGroupBoxTexts(const uint8_t* data, uint32_t length, TextCallback callback, void* context) {
    std::optional<GroupBoxData> d = GroupBoxData::Parse(data, length);
    if (!d) return;
    EnumerateText(callback, context, d->caption);
    EnumerateFontFace(callback, context, d->font);
}

AnyOperation GroupBoxInterface(int32_t number) {
    switch (number) {
        case kInterfaceCreateUnit: return AsOperation(&CreateGroupBox);
        case kInterfaceWriteProperty: return AsOperation(&WriteGroupBoxProperty);
        case kInterfaceGetAllPropertyData: return AsOperation(&GroupBoxPropertyData);
        case kInterfaceReadProperty: return AsOperation(&ReadGroupBoxProperty);
        case kInterfaceEnumerateTexts: return AsOperation(&EnumerateGroupBoxTexts);
        default: return nullptr;
    }
}

using P = PropertyType;
const PropertyInfo kGroupBoxProperties[13] = {
    MG_COMMON_PROPERTIES,
    {"Caption", P::kText, 0},
    {"FrameStyle", P::kPick, 0},
    {"TextColour", P::kColour, 0},
    {"BackgroundColour", P::kBackgroundColour, 0},
    {"Font", P::kFont, 0},
};

}  // namespace

const UnitTypeInfo kGroupBoxType = {
    "分组框", "GroupBox", kTypeWindowUnit | kTypeRaisesEvents | kTypeNoFocus, 13, kGroupBoxProperties,
    &GroupBoxInterface,
};
