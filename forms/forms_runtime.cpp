// The form framework's part in the runtime's life, installed through the program descriptor.
#include "forms/forms_runtime.h"

#include "forms/properties.h"
#include "forms/unit_lookup.h"
#include "forms/units/window_unit.h"

namespace {

HWND UnitWindow(uint32_t windowId, uint32_t unitId) { return UnitWindowHandle(LookUpUnit(windowId, unitId)); }

}  // namespace

const RuntimeHooks kFormsRuntimeHooks = {
    &LoadTemplate,
    &LoadStartWindowById,
    &PreTranslateFormsMessage,
    &FireWindowIdleEvents,
    &AnyWindowHandlesIdle,
    &AnyLoadedWindowAlive,
    &SuspendEventDispatchForShutdown,
    &DestroyAllLoadedWindows,
    &ReleaseDefaultIcons,
    &ReleaseRuntimeUnitObjects,
    &FormsNotify,
    &UnitWindow,
    &ReadUnitPropertyValue,
    &WriteUnitPropertyValue,
    &ReadObjectProperty,
    &WriteObjectProperty,
};
