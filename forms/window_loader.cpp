#include "forms/window_loader.h"

#include <algorithm>
#include <optional>

#include "forms/events.h"
#include "forms/forms_runtime.h"
#include "forms/type_data/window_data.h"
#include "forms/unit_object.h"
#include "forms/units/window_unit.h"
#include "forms/window_list.h"
#include "runtime/app.h"
#include "runtime/entries.h"
#include "runtime/message_loop.h"
#include "runtime/phase_timing.h"

namespace {

void ReleaseLoad(WindowEntry& entry) {
    entry.live.clear();  // with the cursors made for the units
    entry.working.clear();
    entry.loaded = false;
    entry.destroying = false;
    entry.lastFocus = nullptr;
}

// The container a unit's record names, as a position of the table; 0 (the window) for a
// unit placed on the window, and for a parent id that names no unit of the table.
size_t ContainerOf(const WindowEntry& entry, const UnitRecord& r) {
    if (r.parentId == 0) return 0;
    int c = entry.FindPosition(r.parentId);
    return c > 0 ? static_cast<size_t>(c) : 0;
}

// The order in which units are made, positions 1 and up: the table order, except that a
// container comes just before the first of its units that would precede it. A chain of
// containers that leads back to itself is cut at its unit of the lowest position, which
// goes on the window (its container entry becomes 0), as moving the units into their
// containers from the last position up would have left it.
std::vector<size_t> CreationOrder(std::vector<size_t>& container) {
    enum : uint8_t { kWaiting, kInChain, kOrdered };
    std::vector<uint8_t> state(container.size(), kWaiting);
    std::vector<size_t> order, chain;
    order.reserve(container.size());
    for (size_t k = 1; k < container.size(); ++k) {
        for (;;) {
            chain.clear();
            size_t u = k;
            while (u != 0 && state[u] == kWaiting) {
                state[u] = kInChain;
                chain.push_back(u);
                u = container[u];
            }
            if (u == 0 || state[u] != kInChain) break;
            // A loop from u back to u: cut it and walk again.
            size_t lowest = u;
            for (size_t v = container[u]; v != u; v = container[v]) lowest = std::min(lowest, v);
            container[lowest] = 0;
            for (size_t v : chain) state[v] = kWaiting;
        }
        for (size_t i = chain.size(); i-- > 0;) {
            order.push_back(chain[i]);
            state[chain[i]] = kOrdered;
        }
    }
    return order;
}

// Step 7: within each parent, the unit at position 1 goes on top and every following unit
// behind the previous one of the same parent. Windows already in place are left alone.
void OrderUnits(WindowEntry& entry) {
    std::vector<std::pair<HWND, HWND>> lastOfParent;  // parent, last unit placed
    for (size_t k = 1; k < entry.live.size(); ++k) {
        UnitObject* unit = entry.live[k].object;
        if (!unit || !unit->alive()) continue;
        HWND h = unit->hwnd(), parent = GetParent(h);
        HWND* previous = nullptr;
        for (auto& p : lastOfParent)
            if (p.first == parent) previous = &p.second;
        const UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
        if (!previous) {
            if (GetWindow(parent, GW_CHILD) != h) SetWindowPos(h, HWND_TOP, 0, 0, 0, 0, flags);
            lastOfParent.emplace_back(parent, h);
        } else {
            if (GetWindow(*previous, GW_HWNDNEXT) != h) SetWindowPos(h, *previous, 0, 0, 0, 0, flags);
            *previous = h;
        }
    }
}

}  // namespace

bool LoadWindow(WindowEntry& entry, intptr_t loadFlag, bool modal, HWND owner) {
    // 1. An already loaded window is only brought forward.
    if (loadFlag == 0 && entry.loaded) {
        UnitObject* window = entry.WindowObject();
        if (window && window->alive()) {
            HWND h = window->hwnd();
            if (IsIconic(h))
                ShowWindow(h, SW_RESTORE);
            else
                SetForegroundWindow(h);
            return true;
        }
    }
    if (entry.loaded) {
        UnitObject* window = entry.WindowObject();
        if (window && window->alive()) DestroyWindow(window->hwnd());
        if (entry.loaded) ReleaseLoad(entry);
    }

    // 2. Owner.
    if (modal)
        owner = nullptr;
    else if (owner && !IsWindow(owner))
        return false;

    // 3. Start of the load; the working copy of the unit table.
    RtNotify(kNotifyWindowLoadStart, static_cast<intptr_t>(entry.id), 0);
    entry.working = entry.records;
    entry.live.clear();
    entry.live.resize(entry.working.size());
    entry.loaded = true;
    entry.destroying = false;
    entry.closed = false;
    entry.loadFlag = loadFlag;
    entry.modal = modal;
    entry.lastFocus = nullptr;

    // 4. Menu bar and accelerators: this system's templates carry no menu items, so there
    // are none to make.

    // 5. The window first, then the units. Each unit is made straight inside its container,
    // which therefore comes first (CreationOrder); control ids go from 100 upwards in steps of
    // 10 from the last position down to position 1, whatever the order of making. A new
    // child window goes below its siblings, so a parent that receives its units in table order
    // stacks them with position 1 on top, as step 7 wants them.
    const size_t count = entry.working.size();
    std::vector<bool> show(count, false);
    std::vector<uint32_t> controlIds(count, 0);
    for (uint32_t k = static_cast<uint32_t>(count), id = 100; k-- > 1;) {
        if (!entry.working[k].isMenuItem) {
            controlIds[k] = id;
            id += 10;
        }
    }
    std::vector<size_t> container(count, 0);
    for (size_t k = 1; k < count; ++k) container[k] = ContainerOf(entry, entry.working[k]);
    std::vector<size_t> order = CreationOrder(container);
    order.insert(order.begin(), 0);

    std::vector<size_t> lastMadeIn(count, 0);  // per parent position: the last unit made in it
    bool stackedInTableOrder = true;
    for (size_t k : order) {
        const UnitRecord& r = entry.working[k];
        if (r.isMenuItem) continue;
        const UnitTypeInfo* type = FindUnitType(r.typeCode);
        CreateUnitFn create = UnitOperation<CreateUnitFn>(type, kInterfaceCreateUnit);

        bool visible;
        DWORD bits = 0;
        if (k == 0 && loadFlag != 0) {
            visible = true;
        } else if (type && type->Has(kTypeInvisible)) {
            visible = false;
        } else {
            visible = r.visible();
            if (r.disabled()) bits |= WS_DISABLED;
            if (r.tabStop()) bits |= WS_TABSTOP;
        }

        UnitCreateArgs a = {};
        a.type = type;
        a.typeData = r.typeData.data();
        a.typeDataLength = static_cast<uint32_t>(r.typeData.size());
        a.styleBits = bits;
        a.left = r.left;
        a.top = r.top;
        a.width = r.width;
        a.height = r.height;
        a.windowId = entry.id;
        if (k == 0) {
            a.parent = owner;
            a.unitId = 0;
            a.extra1 = modal ? 1 : 0;
            a.extra2 = loadFlag;
        } else {
            // A container that could not be made leaves its units on the window.
            size_t c = container[k];
            UnitObject* holder = c != 0 ? entry.live[c].object : nullptr;
            if (!holder || !holder->alive()) {
                c = 0;
                holder = entry.WindowObject();
            }
            if (lastMadeIn[c] > k) stackedInTableOrder = false;
            lastMadeIn[c] = k;
            a.parent = holder->hwnd();
            a.parentObject = holder;
            a.controlId = controlIds[k];
            a.unitId = r.id;
        }
        UnitObject* object;
        {
            PhaseSpan span(k == 0 ? Phase::kCreateWindow : Phase::kCreateUnit, k == 0 ? 0 : r.typeCode);
            object = create ? create(a) : nullptr;
        }
        if (k == 0 && !object) {
            // The window itself failed: nothing of this load survives.
            ReleaseLoad(entry);
            RtNotify(kNotifyWindowLoadEnd, static_cast<intptr_t>(entry.id), 0);
            return false;
        }
        if (object) {
            object->setPosition(static_cast<int>(k));
            entry.live[k].object = object;
        }
        show[k] = visible;
    }
    UnitObject* window = entry.WindowObject();
    HWND form = window->hwnd();

    // 6. The units are in their containers already; units after the first page of a page
    // control are not shown.
    std::optional<PhaseSpan> timed(std::in_place, Phase::kReparent);
    for (size_t k = 1; k < count; ++k) {
        const UnitRecord& r = entry.working[k];
        const UnitTypeInfo* type = FindUnitType(r.typeCode);
        if (!type || !type->Has(kTypeShowsPages)) continue;
        std::vector<std::vector<uint32_t>> pages = SplitPages(r.children);
        for (size_t p = 1; p < pages.size(); ++p) {
            for (uint32_t id : pages[p]) {
                int position = entry.FindPosition(id);
                if (position > 0) {
                    show[static_cast<size_t>(position)] = false;
                    entry.live[static_cast<size_t>(position)].hiddenByPage = true;
                }
            }
        }
    }

    // 7. Z-order and tab order: already so when every parent received its units in table
    // order; a container made ahead of its place has its siblings put in line.
    timed.emplace(Phase::kOrder);
    if (!stackedInTableOrder) OrderUnits(entry);

    // 8. Cursors.
    timed.emplace(Phase::kCursors);
    for (size_t k = 0; k < count; ++k) {
        if (!entry.working[k].cursorData.empty()) entry.live[k].SetCursor(entry.working[k].cursorData);
    }

    // 9. Loaded messages, visibility, end of the load.
    timed.emplace(Phase::kLoadedMessages);
    for (size_t step = 0; step < count; ++step) {
        UnitObject* unit = entry.live[count - 1 - step].object;
        if (unit && unit->alive()) SendMessageW(unit->hwnd(), kUnitLoadedMessage, 0, 0);
    }
    if (IsWindow(form)) SendMessageW(form, kWindowLoadedMessage, 0, 0);
    timed.emplace(Phase::kShowUnits);
    for (size_t k = 1; k < count; ++k) {
        UnitObject* unit = entry.live[k].object;
        if (unit && unit->alive()) ShowWindow(unit->hwnd(), show[k] ? SW_SHOWNA : SW_HIDE);
    }
    RtNotify(kNotifyWindowLoadEnd, static_cast<intptr_t>(entry.id), 0);
    timed.reset();

    // 10. Created, then Loaded and Ready while the window still exists.
    auto windowAlive = [&]() { return entry.loaded && entry.WindowObject() == window && IsWindow(form); };
    timed.emplace(Phase::kCreatedEvent);
    if (windowAlive()) window->Raise(WindowData::Created);
    if (windowAlive()) window->Raise(WindowData::Loaded);
    if (windowAlive()) window->Raise(WindowData::Ready);

    // 11. Shown when its record says so.
    timed.emplace(Phase::kShowWindow);
    if (windowAlive() && (entry.working[0].visible() || loadFlag != 0)) {
        ShowLoadedWindow(window);
        BeginPhase(Phase::kFirstPaint);  // ends when the message loop first runs dry
    }
    timed.reset();

    // 12. A modal window disables the program's other windows until it is closed.
    if (modal && windowAlive()) {
        HWND focus = GetFocus();
        for (WindowEntry* other : TheWindowList().windows) {
            if (other == &entry || !other->loaded) continue;
            UnitObject* o = other->WindowObject();
            if (o && o->alive() && IsWindowEnabled(o->hwnd())) {
                EnableWindow(o->hwnd(), FALSE);
                entry.disabledByModal.push_back(o->hwnd());
            }
        }
        for (size_t step = 0; step < count; ++step) {
            UnitObject* unit = entry.live[count - 1 - step].object;
            if (unit && unit->alive()) SendMessageW(unit->hwnd(), kUnitModalMessage, 0, 0);
        }
        if (focus && IsWindow(focus)) SetFocus(focus);
        entry.modalActive = true;
        RunMessageLoop(&entry.modalActive);
    }
    return true;
}

void WindowUnloaded(WindowEntry& entry) {
    for (HWND h : entry.disabledByModal)
        if (IsWindow(h)) EnableWindow(h, TRUE);
    entry.disabledByModal.clear();
    entry.modalActive = false;
    // Units still alive here (none normally: they are the window's descendants) are let go.
    for (size_t k = 1; k < entry.live.size(); ++k) {
        UnitObject* unit = entry.live[k].object;
        if (unit && unit->alive()) DestroyWindow(unit->hwnd());
    }
    ReleaseLoad(entry);
    entry.closed = true;
    // The end of the last window ends the program's message loop.
    if (!App().shuttingDown && !AnyLoadedWindowAlive()) PostQuitMessage(0);
}

void FocusFirstUnit(WindowEntry& entry) {
    UnitObject* best = nullptr;
    uint32_t bestOrder = 0;
    for (size_t k = entry.live.size(); k-- > 1;) {
        UnitObject* unit = entry.live[k].object;
        if (!unit || !unit->alive()) continue;
        const UnitRecord& r = entry.working[k];
        const UnitTypeInfo* type = unit->type();
        if (!type || type->Has(kTypeInvisible | kTypeNoFocus) || !r.tabStop()) continue;
        if (!IsWindowVisible(unit->hwnd()) || !IsWindowEnabled(unit->hwnd())) continue;
        if (!best || r.tabOrder < bestOrder) {
            best = unit;
            bestOrder = r.tabOrder;
        }
    }
    if (best) SetFocus(best->hwnd());
}

bool LoadStartWindowById(uint32_t windowId) {
    WindowEntry* entry = FindWindowEntry(windowId);
    return entry && LoadWindow(*entry, 0, false, nullptr);
}

bool AnyLoadedWindowAlive() {
    for (WindowEntry* e : TheWindowList().windows) {
        UnitObject* w = e->loaded ? e->WindowObject() : nullptr;
        if (w && w->alive()) return true;
    }
    return false;
}

void SuspendEventDispatchForShutdown() { SuspendEvents(); }

void DestroyAllLoadedWindows() {
    for (WindowEntry* e : TheWindowList().windows) {
        UnitObject* w = e->loaded ? e->WindowObject() : nullptr;
        if (w && w->alive() && GetWindowThreadProcessId(w->hwnd(), nullptr) == GetCurrentThreadId())
            DestroyWindow(w->hwnd());
    }
}

// Every unit object of this runtime belongs to a loaded window and goes with it.
void ReleaseRuntimeUnitObjects() {}
