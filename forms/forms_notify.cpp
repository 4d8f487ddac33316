// The runtime's notification codes that the form framework serves.
#include "forms/events.h"
#include "forms/forms_runtime.h"
#include "forms/unit_object.h"
#include "forms/window_list.h"
#include "runtime/entries.h"
#include "runtime/fatal.h"
#include "runtime/runtime_errors.h"

namespace {

int g_loadDepth = 0;  // windows being loaded (2009 ... 2010)

// 2006: the object of a loaded window's unit that is not a menu item and has a live window.
UnitObject* LookUpLiveUnit(uint32_t windowId, uint32_t unitId) {
    WindowEntry* entry = FindLoadedWindow(windowId);
    if (!entry) return nullptr;
    int position = entry->FindPosition(unitId);
    if (position < 0 || entry->working[static_cast<size_t>(position)].isMenuItem) return nullptr;
    UnitObject* unit = entry->ObjectAt(static_cast<size_t>(position));
    return unit && unit->alive() ? unit : nullptr;
}

}  // namespace

bool FormsNotify(int32_t code, intptr_t p1, intptr_t p2, intptr_t* result) {
    switch (code) {
        case kNotifyWindowList:
            *result = reinterpret_cast<intptr_t>(&TheWindowList());
            return true;
        case kNotifyTypeInfo:
            *result = reinterpret_cast<intptr_t>(FindUnitType(static_cast<uint32_t>(p1)));
            return true;
        case kNotifyLookUpUnit:
            *result = reinterpret_cast<intptr_t>(LookUpLiveUnit(static_cast<uint32_t>(p1), static_cast<uint32_t>(p2)));
            return true;
        case kNotifyResolveUnit: {
            UnitObject* unit = LookUpLiveUnit(static_cast<uint32_t>(p1), static_cast<uint32_t>(p2));
            if (!unit) {
                EndWorkerOfClosedWindow(static_cast<uint32_t>(p1));
                FatalReport(fatal_text::kUnitMissing, 0);
            }
            *result = reinterpret_cast<intptr_t>(unit);
            return true;
        }
        case kNotifyRaiseEvent:
            *result = RaiseEvent(reinterpret_cast<EventRecord*>(p1)) ? 1 : 0;
            return true;
        case kNotifyWindowLoadStart:
            ++g_loadDepth;
            *result = 0;
            return true;
        case kNotifyWindowLoadEnd:
            if (g_loadDepth > 0) --g_loadDepth;
            *result = 0;
            return true;
        case kNotifyPageChanged: {
            // A page control asks for its window's units to follow its current page.
            *result = 0;
            WindowEntry* entry = FindLoadedWindow(static_cast<uint32_t>(p1));
            if (!entry) return true;
            int position = entry->FindPosition(static_cast<uint32_t>(p2));
            if (position > 0) ShowPageUnits(*entry, position, -1);
            return true;
        }
        default:
            return false;
    }
}
