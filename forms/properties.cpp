#include "forms/properties.h"

#include <windows.h>

#include <cstring>

#include "forms/events.h"
#include "forms/forms_runtime.h"
#include "forms/unit_font.h"
#include "forms/unit_object.h"
#include "forms/window_list.h"
#include "runtime/entries.h"
#include "runtime/fatal.h"
#include "runtime/heap.h"
#include "runtime/runtime_errors.h"

namespace {

constexpr int32_t kMaxExtent = 32627;

const void* PointerOf(uint64_t value) { return reinterpret_cast<const void*>(static_cast<uintptr_t>(value)); }
uint64_t PointerValue(const void* p) { return static_cast<uint64_t>(reinterpret_cast<uintptr_t>(p)); }
uint64_t IntBits(int32_t v) { return static_cast<uint32_t>(v); }

std::vector<uint8_t> ByteSetBytes(const void* block) {
    if (!block) return {};
    uint32_t n = array_block::ByteSetLength(block);
    const uint8_t* data = array_block::ByteSetData(block);
    return std::vector<uint8_t>(data, data + n);
}

struct Located {
    WindowEntry* entry;
    int position;
};

Located Locate(uint32_t windowId, uint32_t unitId) {
    WindowEntry* entry = FindLoadedWindow(windowId);
    if (!entry) {
        EndWorkerOfClosedWindow(windowId);
        FatalReport(fatal_text::kWindowNotLoaded, 0);
    }
    int position = entry->FindPosition(unitId);
    if (position < 0) FatalReport(fatal_text::kUnitMissing, 0);
    return {entry, position};
}

UnitObject* LiveObject(const Located& at) {
    UnitObject* object = at.entry->ObjectAt(static_cast<size_t>(at.position));
    return object && object->alive() ? object : nullptr;
}

// The unit's rectangle in its parent's client area (screen coordinates for a top-level window).
RECT RectInParent(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    HWND parent = (GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD) ? GetParent(hwnd) : nullptr;
    if (parent) MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// ---- Type-specific properties -------------------------------------------------------

bool CallRead(UnitObject* unit, int32_t typeIndex, UnitPropertyValue* out) {
    ReadUnitPropertyFn read = UnitOperation<ReadUnitPropertyFn>(unit->type(), kInterfaceReadProperty);
    if (!read) return false;
    bool ok = false;
    unit->RunOnWindowThread([&] { ok = unit->alive() && read(unit, typeIndex, out); });
    return ok;
}

// The font a part read or write starts from: the unit's stored font, else its GDI font
// (the default GUI font when it has none).
LogFontBytes CurrentFont(UnitObject* unit, int32_t typeIndex) {
    UnitPropertyValue v;
    if (CallRead(unit, typeIndex, &v))
        if (std::optional<LogFontBytes> f = DecodeFont(v.bytes)) return *f;
    return FontBytesOf(unit->font());
}

uint64_t ReadTypeProperty(UnitObject* unit, int32_t index, int32_t part) {
    const PropertyInfo* info = unit->type() ? unit->type()->Property(index) : nullptr;
    if (!info) return 0;
    const int32_t typeIndex = index - kCommonPropertyCount;
    if (info->type == PropertyType::kFont && part >= 0) {
        LogFontBytes font = CurrentFont(unit, typeIndex);
        std::string face;
        int32_t v = ReadFontPart(font, part, &face, ScreenDpi());
        if (part == kFontPartFace) return PointerValue(NewText(face.c_str()));
        return IntBits(v);
    }
    UnitPropertyValue v;
    if (!CallRead(unit, typeIndex, &v)) return 0;
    if (IsTextProperty(info->type)) return PointerValue(NewText(v.text.data(), v.text.size()));
    if (IsByteSetProperty(info->type) || info->type == PropertyType::kFont)
        return PointerValue(NewByteSet(v.bytes.data(), v.bytes.size()));
    if (IsRealProperty(info->type)) {
        uint64_t bits;
        std::memcpy(&bits, &v.real, sizeof bits);
        return bits;
    }
    if (info->type == PropertyType::kSwitch) return v.integer != 0 ? 1 : 0;
    return IntBits(v.integer);
}

// Converts the caller's value by the property's data type and hands it to the type.
// Returns the type's answer: 1 when the unit must be rebuilt.
int32_t WriteTypeProperty(UnitObject* unit, int32_t index, int32_t part, uint64_t value) {
    const PropertyInfo* info = unit->type() ? unit->type()->Property(index) : nullptr;
    WriteUnitPropertyFn write = UnitOperation<WriteUnitPropertyFn>(unit->type(), kInterfaceWriteProperty);
    if (!info || !write || (info->flags & kPropertyReadOnlyAtRunTime)) return 0;
    const int32_t typeIndex = index - kCommonPropertyCount;

    UnitPropertyValue v;
    if (IsTextProperty(info->type)) {
        auto text = static_cast<const char*>(PointerOf(value));
        v.text = text ? text : "";
    } else if (IsByteSetProperty(info->type)) {
        v.bytes = ByteSetBytes(PointerOf(value));
    } else if (info->type == PropertyType::kFont) {
        if (part < 0) {
            if (auto d = static_cast<const FontDescription*>(PointerOf(value))) v.bytes = EncodeFont(FontFromDescription(*d, ScreenDpi()));
        } else {
            LogFontBytes font = CurrentFont(unit, typeIndex);
            auto number = static_cast<int32_t>(static_cast<uint32_t>(value));
            if (!ReplaceFontPart(font, part, number, static_cast<const char*>(PointerOf(value)), ScreenDpi())) return 0;
            v.bytes = EncodeFont(font);
        }
    } else if (IsRealProperty(info->type)) {
        std::memcpy(&v.real, &value, sizeof v.real);
    } else if (info->type == PropertyType::kSwitch) {
        v.integer = static_cast<uint32_t>(value) != 0 ? 1 : 0;
    } else {
        v.integer = static_cast<int32_t>(static_cast<uint32_t>(value));
    }
    int32_t rebuild = 0;
    unit->RunOnWindowThread([&] {
        if (unit->alive()) rebuild = write(unit, typeIndex, v);
    });
    return rebuild;
}

// ---- Common properties ---------------------------------------------------------------

uint64_t ReadCommonProperty(const Located& at, int32_t index) {
    const UnitRecord& r = at.entry->working[static_cast<size_t>(at.position)];
    UnitObject* unit = LiveObject(at);
    HWND h = unit ? unit->hwnd() : nullptr;
    switch (index) {
        case 0:
        case 1:
        case 2:
        case 3: {
            if (!h) return IntBits(index == 0 ? r.left : index == 1 ? r.top : index == 2 ? r.width : r.height);
            RECT rc = RectInParent(h);
            int32_t v = index == 0 ? rc.left : index == 1 ? rc.top : index == 2 ? rc.right - rc.left : rc.bottom - rc.top;
            return IntBits(v);
        }
        case 4: return PointerValue(NewText(r.tag.data(), r.tag.size()));
        case 5: return h ? (IsWindowVisible(h) ? 1 : 0) : (r.visible() ? 1 : 0);
        case 6: return h ? (IsWindowEnabled(h) ? 0 : 1) : (r.disabled() ? 1 : 0);
        case 7: return PointerValue(NewByteSet(r.cursorData.data(), r.cursorData.size()));
        default: return 0;
    }
}

void WriteCommonProperty(const Located& at, int32_t index, uint64_t value) {
    UnitRecord& r = at.entry->working[static_cast<size_t>(at.position)];
    UnitObject* unit = LiveObject(at);
    HWND h = unit ? unit->hwnd() : nullptr;
    const int32_t number = static_cast<int32_t>(static_cast<uint32_t>(value));
    const UINT noChange = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
    switch (index) {
        case 0:
        case 1:
            (index == 0 ? r.left : r.top) = number;
            if (h) {
                RECT rc = RectInParent(h);
                SetWindowPos(h, nullptr, index == 0 ? number : rc.left, index == 1 ? number : rc.top, 0, 0, SWP_NOSIZE | noChange);
            }
            break;
        case 2:
        case 3: {
            int32_t extent = number < 0 ? 0 : (number > kMaxExtent ? kMaxExtent : number);
            (index == 2 ? r.width : r.height) = extent;
            if (h) {
                RECT rc = RectInParent(h);
                SetWindowPos(h, nullptr, 0, 0, index == 2 ? extent : rc.right - rc.left,
                             index == 3 ? extent : rc.bottom - rc.top, SWP_NOMOVE | noChange);
            }
            break;
        }
        case 4: {
            auto text = static_cast<const char*>(PointerOf(value));
            r.tag = text ? text : "";
            break;
        }
        case 5:
            r.stateFlags = number ? (r.stateFlags | UnitRecord::kStateVisible) : (r.stateFlags & ~UnitRecord::kStateVisible);
            if (h && !(unit->type() && unit->type()->Has(kTypeInvisible))) {
                if (!number)
                    ShowWindow(h, SW_HIDE);
                else if (at.position == 0)
                    ShowWindow(h, SW_SHOW);
                else
                    ShowWindow(h, SW_SHOWNA);
            }
            break;
        case 6:
            r.stateFlags = number ? (r.stateFlags | UnitRecord::kStateDisabled) : (r.stateFlags & ~UnitRecord::kStateDisabled);
            if (h) EnableWindow(h, number ? FALSE : TRUE);
            break;
        case 7: {
            r.cursorData = ByteSetBytes(PointerOf(value));
            at.entry->live[static_cast<size_t>(at.position)].SetCursor(r.cursorData);
            break;
        }
        default: break;
    }
}

}  // namespace

uint64_t ReadUnitPropertyValue(uint32_t windowId, uint32_t unitId, int32_t index, int32_t part) {
    Located at = Locate(windowId, unitId);
    const UnitRecord& r = at.entry->working[static_cast<size_t>(at.position)];
    if (r.isMenuItem) return 0;  // menu items have no format in this system
    if (index >= 0 && index < kCommonPropertyCount) return ReadCommonProperty(at, index);
    UnitObject* unit = LiveObject(at);
    if (!unit) {
        EndWorkerOfClosedWindow(windowId);
        FatalReport(fatal_text::kUnitWindowMissing, 0);
    }
    return ReadTypeProperty(unit, index, part);
}

void WriteUnitPropertyValue(uint32_t windowId, uint32_t unitId, int32_t index, int32_t part, uint64_t value) {
    Located at = Locate(windowId, unitId);
    if (at.entry->working[static_cast<size_t>(at.position)].isMenuItem) return;
    if (index >= 0 && index < kCommonPropertyCount) {
        WriteCommonProperty(at, index, value);
        return;
    }
    UnitObject* unit = LiveObject(at);
    if (!unit) {
        EndWorkerOfClosedWindow(windowId);
        FatalReport(fatal_text::kUnitWindowMissing, 0);
    }
    if (WriteTypeProperty(unit, index, part, value) != 1 || at.position == 0) return;
    WindowEntry* entry = at.entry;
    int position = at.position;
    unit->RunOnWindowThread([&] {
        if (entry->ObjectAt(static_cast<size_t>(position)) == unit && unit->alive()) RebuildUnit(*entry, position);
    });
}

bool RebuildUnit(WindowEntry& entry, int position) {
    UnitObject* old = entry.ObjectAt(static_cast<size_t>(position));
    if (!old || !old->alive() || position <= 0) return false;
    const UnitTypeInfo* type = old->type();
    CreateUnitFn create = UnitOperation<CreateUnitFn>(type, kInterfaceCreateUnit);
    if (!create) return false;
    SuspendEvents();

    UnitRecord& r = entry.working[static_cast<size_t>(position)];
    std::vector<uint8_t> data;
    if (type->Has(kTypeStoresOwnData)) {
        data = r.typeData;
    } else if (auto all = UnitOperation<GetAllPropertyDataFn>(type, kInterfaceGetAllPropertyData)) {
        data = all(old);
    }
    HWND oldH = old->hwnd();
    HWND parent = GetParent(oldH);
    RECT rc = RectInParent(oldH);
    bool enabled = IsWindowEnabled(oldH) != FALSE;
    bool visible = (GetWindowLongW(oldH, GWL_STYLE) & WS_VISIBLE) != 0;
    HWND focus = GetFocus();
    bool focusInside = focus && (focus == oldH || IsChild(oldH, focus));

    UnitCreateArgs a = {};
    a.type = type;
    a.parent = parent;
    a.typeData = data.data();
    a.typeDataLength = static_cast<uint32_t>(data.size());
    a.styleBits = (enabled ? 0 : WS_DISABLED) | (r.tabStop() ? WS_TABSTOP : 0);
    a.parentObject = UnitObject::FromHandle(parent);
    a.controlId = static_cast<uint32_t>(GetDlgCtrlID(oldH));
    a.left = rc.left;
    a.top = rc.top;
    a.width = rc.right - rc.left;
    a.height = rc.bottom - rc.top;
    a.windowId = entry.id;
    a.unitId = r.id;
    UnitObject* fresh = create(a);
    if (!fresh) {
        ResumeEvents();
        return false;
    }
    HWND newH = fresh->hwnd();

    // Units the old window held move over, keeping their order (bottom first, so that each
    // lands above the ones moved before it).
    std::vector<HWND> held;
    for (HWND c = GetWindow(oldH, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (UnitObject* u = UnitObject::FromHandle(c); u && u->windowId() == entry.id && u != old) held.push_back(c);
    for (size_t i = held.size(); i-- > 0;) SetParent(held[i], newH);
    // The focus stays in a held unit that moved over; only focus in the old window itself
    // (or in a window of its own, like a combo box's edit field) goes to the new window.
    bool focusToNew = focusInside && (focus == oldH || IsChild(oldH, focus));

    fresh->setPosition(position);
    entry.live[static_cast<size_t>(position)].object = fresh;
    SetWindowPos(newH, oldH, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    SendMessageW(newH, kUnitLoadedMessage, 0, 0);
    SendMessageW(newH, kUnitModalMessage, 0, 0);
    if (type->Has(kTypeNotifiesParent)) SendMessageW(parent, kWindowLoadedMessage, 0, 0);
    if (visible) ShowWindow(newH, SW_SHOWNA);
    DestroyWindow(oldH);
    if (focusToNew)
        SetFocus(newH);
    else if (focus && IsWindow(focus) && GetFocus() != focus)
        SetFocus(focus);
    ResumeEvents();
    return true;
}

// Services 4 and 5: the unit named by its object instead of its ids.
uint64_t ReadObjectProperty(uint32_t, void* unitObject, int32_t index, int32_t part) {
    auto* unit = static_cast<UnitObject*>(unitObject);
    if (!unit) return 0;
    if (FindUnitObject(unit->windowId(), unit->unitId()) == unit)
        return ReadUnitPropertyValue(unit->windowId(), unit->unitId(), index, part);
    if (index < kCommonPropertyCount || !unit->alive()) return 0;
    return ReadTypeProperty(unit, index, part);
}

void WriteObjectProperty(uint32_t, void* unitObject, int32_t index, int32_t part, uint64_t value) {
    auto* unit = static_cast<UnitObject*>(unitObject);
    if (!unit) return;
    if (FindUnitObject(unit->windowId(), unit->unitId()) == unit) {
        WriteUnitPropertyValue(unit->windowId(), unit->unitId(), index, part, value);
        return;
    }
    if (index >= kCommonPropertyCount && unit->alive()) WriteTypeProperty(unit, index, part, value);
}
