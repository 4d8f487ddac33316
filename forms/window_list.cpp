#include "forms/window_list.h"

#include <commctrl.h>

#include <new>

#include "forms/event_handler.h"
#include "forms/unit_object.h"
#include "runtime/app.h"
#include "runtime/threads.h"

namespace {

// Never destroyed: the runtime's shutdown runs from an atexit handler and still walks it.
WindowList* g_windowList = nullptr;
bool g_commonControlsReady = false;

bool HasVisibleStyle(HWND h) { return (GetWindowLongW(h, GWL_STYLE) & WS_VISIBLE) != 0; }

}  // namespace

WindowList& TheWindowList() {
    if (!g_windowList) g_windowList = new WindowList;
    return *g_windowList;
}

int WindowEntry::FindPosition(uint32_t unitId) const {
    const std::vector<UnitRecord>& r = Records();
    if (unitId == 0) return r.empty() ? -1 : 0;
    for (size_t k = 0; k < r.size(); ++k)
        if (r[k].id == unitId) return static_cast<int>(k);
    return -1;
}

bool LoadTemplate(const uint8_t* image, size_t length, uintptr_t eventCodeBase, size_t eventCodeLength) {
    std::vector<WindowEntry*> fresh;
    // An offset between entries or past the last one would be called as a handler entry.
    auto namesNoEntry = [&](uint32_t offset) {
        return eventCodeLength && !IsNoHandler(offset) &&
               (offset % sizeof(EventHandlerEntry) != 0 || offset >= eventCodeLength);
    };
    try {
        std::optional<TemplateImage> parsed = ReadTemplateImage(image, length);
        if (!parsed) return false;
        for (WindowTemplate& w : parsed->windows) {
            auto* entry = new WindowEntry;
            entry->id = w.id;
            entry->attributeA = w.attributeA;
            entry->attributeB = w.attributeB;
            entry->name = std::move(w.name);
            entry->comment = std::move(w.comment);
            entry->records = std::move(w.records);
            entry->handlers.resize(entry->records.size());
            for (size_t k = 0; k < entry->records.size(); ++k) {
                const UnitRecord& r = entry->records[k];
                for (const EventEntry& e : r.events)
                    entry->handlers[k].push_back(IsNoHandler(e.handlerOffset) ? 0 : eventCodeBase + e.handlerOffset);
            }
            fresh.push_back(entry);
            for (const UnitRecord& r : entry->records)
                for (const EventEntry& e : r.events)
                    if (namesNoEntry(e.handlerOffset)) {
                        for (WindowEntry* made : fresh) delete made;
                        return false;
                    }
        }
    } catch (const std::bad_alloc&) {
        for (WindowEntry* e : fresh) delete e;
        return false;
    }
    WindowList& list = TheWindowList();
    // A program reads its template once; a second read replaces the list (test programs).
    for (WindowEntry* old : list.windows) {
        if (old->loaded && old->WindowObject() && old->WindowObject()->alive()) DestroyWindow(old->WindowObject()->hwnd());
        if (!old->loaded) delete old;  // a window still loaded elsewhere keeps its entry alive
    }
    list.windows = std::move(fresh);
    if (!g_commonControlsReady) {
        INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_UPDOWN_CLASS | ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES |
                                                    ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&icc);
        g_commonControlsReady = true;
    }
    return true;
}

WindowEntry* FindWindowEntry(uint32_t windowId) {
    for (WindowEntry* e : TheWindowList().windows)
        if (e->id == windowId) return e;
    return nullptr;
}

void EndWorkerOfClosedWindow(uint32_t windowId) {
    const Application& app = App();
    if (app.mainThreadId == 0 || GetCurrentThreadId() == app.mainThreadId) return;
    const WindowEntry* entry = FindWindowEntry(windowId);
    if (app.shuttingDown || (entry && (entry->destroying || (entry->closed && !entry->loaded)))) EndThisWorker();
}

WindowEntry* FindLoadedWindow(uint32_t windowId) {
    WindowEntry* e = FindWindowEntry(windowId);
    return e && e->loaded ? e : nullptr;
}

bool NoOtherUnitShowsIn(const UnitObject& unit, const UnitObject& container, const RECT& screenArea) {
    const WindowEntry* entry = FindLoadedWindow(unit.windowId());
    if (!entry) return false;
    // Only the units the container holds itself, as their records say: whatever lies deeper is
    // clipped to one of them. The records answer without a call to the platform per unit of the
    // window, which a clock asks every second.
    const uint32_t containerId = &container == entry->WindowObject() ? 0 : container.unitId();
    const std::vector<UnitRecord>& records = entry->Records();
    for (size_t i = 1; i < entry->live.size() && i < records.size(); ++i) {
        const UnitObject* other = entry->live[i].object;
        if (!other || other == &unit || !other->hwnd() || records[i].parentId != containerId) continue;
        RECT area = other->ScreenArea(), overlap;
        if (IntersectRect(&overlap, &area, &screenArea) && IsWindowVisible(other->hwnd())) return false;
    }
    return true;
}

int FindWindowIndex(uint32_t windowId) {
    const auto& w = TheWindowList().windows;
    for (size_t i = 0; i < w.size(); ++i)
        if (w[i]->id == windowId) return static_cast<int>(i);
    return -1;
}

UnitObject* FindWindowObject(int windowIndex) {
    const auto& w = TheWindowList().windows;
    if (windowIndex < 0 || static_cast<size_t>(windowIndex) >= w.size()) return nullptr;
    WindowEntry* e = w[static_cast<size_t>(windowIndex)];
    UnitObject* object = e->loaded ? e->WindowObject() : nullptr;
    return object && object->alive() ? object : nullptr;
}

UnitObject* FindUnitObject(uint32_t windowId, uint32_t unitId) {
    WindowEntry* e = FindLoadedWindow(windowId);
    if (!e) return nullptr;
    int position = e->FindPosition(unitId);
    return position < 0 ? nullptr : e->ObjectAt(static_cast<size_t>(position));
}

int FindUnitByHandle(const WindowEntry& entry, HWND hwnd, bool searchParents) {
    if (!hwnd) return -1;
    for (int attempt = 0; attempt < 2 && hwnd; ++attempt) {
        for (size_t k = 1; k < entry.live.size(); ++k) {
            UnitObject* unit = entry.live[k].object;
            if (!unit || !unit->hwnd()) continue;
            if (unit->hwnd() == hwnd) return static_cast<int>(k);
            if (searchParents && unit->type() && unit->type()->Has(kTypeChildEdit | kTypeChildEditAlt) &&
                IsChild(unit->hwnd(), hwnd))
                return static_cast<int>(k);
        }
        if (!searchParents) break;
        hwnd = GetParent(hwnd);
    }
    return -1;
}

const UnitTypeInfo* FindUnitType(uint32_t typeCode) {
    const Application& app = App();
    const LibraryInfo* const* libraries = app.libraries;
    uint32_t count = app.libraryCount;
    if (!libraries) return nullptr;
    uint32_t library = typeCode >> 16, number = typeCode & 0xFFFF;
    if (library == 0 || library > count || number == 0) return nullptr;
    const LibraryInfo* info = libraries[library - 1];
    if (!info || !info->unitTypes || number > info->unitTypeCount) return nullptr;
    return info->unitTypes[number - 1];
}

void UnitWindowGone(UnitObject* object) {
    WindowEntry* e = FindWindowEntry(object->windowId());
    if (!e) return;
    int position = object->position();
    if (position >= 0 && static_cast<size_t>(position) < e->live.size() && e->live[static_cast<size_t>(position)].object == object)
        e->live[static_cast<size_t>(position)].object = nullptr;
}

HCURSOR UnitCursor(const UnitObject* object) {
    WindowEntry* e = FindLoadedWindow(object->windowId());
    int position = object->position();
    if (!e || position < 0 || static_cast<size_t>(position) >= e->live.size()) return nullptr;
    return e->live[static_cast<size_t>(position)].cursor;
}

void LiveSlot::SetCursor(const std::vector<uint8_t>& cursorData) {
    win::Cursor made;
    cursor = CursorFromData(cursorData, &made);
    madeCursor = std::move(made);  // the one made before goes now that nothing shows it
}

HCURSOR CursorFromData(const std::vector<uint8_t>& data, win::Cursor* made) {
    made->reset();
    if (data.size() < 4) return nullptr;
    auto u16 = [&](size_t at) { return static_cast<uint32_t>(data[at] | (data[at + 1] << 8)); };
    auto u32 = [&](size_t at) { return u16(at) | (u16(at + 2) << 16); };
    uint32_t standard = u32(0);
    if (data.size() == 4) {
        // A standard cursor by its IDC_ number; 0 is the unit's normal cursor.
        if (standard >= 32512 && standard <= 32651)
            return LoadCursorW(nullptr, MAKEINTRESOURCEW(static_cast<WORD>(standard)));
        return nullptr;
    }
    // After the word: a cursor file (header, one directory entry per image); the first image is used.
    const size_t file = 4;
    if (data.size() < file + 6 + 16 || u16(file + 2) != 2 || u16(file + 4) == 0) return nullptr;
    const size_t dir = file + 6;
    uint32_t hotX = u16(dir + 4), hotY = u16(dir + 6), size = u32(dir + 8), offset = u32(dir + 12);
    if (offset > data.size() - file || size > data.size() - file - offset || size < 40) return nullptr;
    std::vector<uint8_t> resource(4 + size);
    resource[0] = static_cast<uint8_t>(hotX);
    resource[1] = static_cast<uint8_t>(hotX >> 8);
    resource[2] = static_cast<uint8_t>(hotY);
    resource[3] = static_cast<uint8_t>(hotY >> 8);
    std::copy(data.begin() + static_cast<ptrdiff_t>(file + offset), data.begin() + static_cast<ptrdiff_t>(file + offset + size),
              resource.begin() + 4);
    made->reset(reinterpret_cast<HCURSOR>(CreateIconFromResourceEx(
        resource.data(), static_cast<DWORD>(resource.size()), FALSE, 0x00030000, 0, 0, LR_DEFAULTCOLOR)));
    return made->get();
}

void ShowPageUnits(WindowEntry& entry, int controlPosition, int page) {
    if (controlPosition <= 0 || static_cast<size_t>(controlPosition) >= entry.working.size()) return;
    const UnitRecord& control = entry.working[static_cast<size_t>(controlPosition)];
    const UnitTypeInfo* controlType = FindUnitType(control.typeCode);
    if (!controlType || !controlType->Has(kTypeShowsPages)) return;
    UnitObject* controlObject = entry.ObjectAt(static_cast<size_t>(controlPosition));
    bool asked = page < 0;
    if (asked) {
        // Counted over all pages, those without a tab included, as the child list counts them.
        auto currentPage = UnitOperation<CurrentPageFn>(controlType, kInterfaceCurrentPage);
        int32_t current = currentPage && controlObject && controlObject->alive() ? currentPage(controlObject) : 0;
        page = current < 0 ? 0 : current;
    }
    std::vector<std::vector<uint32_t>> pages = SplitPages(control.children);
    for (size_t p = 0; p < pages.size(); ++p) {
        if (static_cast<int>(p) == page) continue;
        for (uint32_t id : pages[p]) {
            int position = entry.FindPosition(id);
            UnitObject* unit = position > 0 ? entry.ObjectAt(static_cast<size_t>(position)) : nullptr;
            if (!unit || !unit->alive() || !HasVisibleStyle(unit->hwnd())) continue;
            HWND h = unit->hwnd();
            ShowWindow(h, SW_HIDE);
            if (!asked) {
                RECT r;
                GetWindowRect(h, &r);
                HWND parent = GetParent(h);
                MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
                InvalidateRect(parent, &r, TRUE);
            }
        }
    }
    if (page < 0 || static_cast<size_t>(page) >= pages.size()) return;
    UnitObject* focusTarget = nullptr;
    uint32_t bestOrder = 0;
    for (uint32_t id : pages[static_cast<size_t>(page)]) {
        int position = entry.FindPosition(id);
        if (position <= 0) continue;
        const UnitRecord& r = entry.working[static_cast<size_t>(position)];
        UnitObject* unit = entry.ObjectAt(static_cast<size_t>(position));
        const UnitTypeInfo* type = FindUnitType(r.typeCode);
        if (!unit || !unit->alive() || (type && type->Has(kTypeInvisible))) continue;
        if (r.visible()) ShowWindow(unit->hwnd(), SW_SHOWNA);
        bool focusable = type && !type->Has(kTypeNoFocus) && IsWindowEnabled(unit->hwnd()) && HasVisibleStyle(unit->hwnd());
        if (focusable && (!focusTarget || r.tabOrder < bestOrder)) {
            focusTarget = unit;
            bestOrder = r.tabOrder;
        }
    }
    if (asked && focusTarget) SetFocus(focusTarget->hwnd());
}
