#include "runtime/runtime_hooks.h"

#include "runtime/fatal.h"
#include "runtime/program_descriptor.h"
#include "runtime/runtime_errors.h"

namespace {

// The installed hook, or null when the program names none.
template <class Fn>
Fn Installed(Fn RuntimeHooks::*slot) {
    const ProgramDescriptor* d = ActiveProgramDescriptor();
    return d && d->hooks ? d->hooks->*slot : nullptr;
}

}  // namespace

namespace hook {

bool LoadTemplate(const uint8_t* image, size_t length, uintptr_t eventCodeBase,
                         size_t eventCodeLength) {
    auto fn = Installed(&RuntimeHooks::loadTemplate);
    return fn ? fn(image, length, eventCodeBase, eventCodeLength) : true;
}

bool LoadStartWindow(uint32_t windowId) {
    auto fn = Installed(&RuntimeHooks::loadStartWindow);
    return fn && fn(windowId);
}

bool PreTranslateMessage(MSG* msg) {
    auto fn = Installed(&RuntimeHooks::preTranslateMessage);
    return fn && fn(msg);
}

bool FireIdleEvents(uint32_t elapsedMs, bool startIdlePeriod) {
    auto fn = Installed(&RuntimeHooks::fireIdleEvents);
    return fn && fn(elapsedMs, startIdlePeriod);
}

bool IdleEventHandled() {
    auto fn = Installed(&RuntimeHooks::idleEventHandled);
    return fn && fn();
}

bool AnyWindowAlive() {
    auto fn = Installed(&RuntimeHooks::anyWindowAlive);
    return fn && fn();
}

void SuspendEventDispatch() {
    if (auto fn = Installed(&RuntimeHooks::suspendEventDispatch)) fn();
}

void DestroyWindows() {
    if (auto fn = Installed(&RuntimeHooks::destroyWindows)) fn();
}

void ReleaseDefaultIcons() {
    if (auto fn = Installed(&RuntimeHooks::releaseDefaultIcons)) fn();
}

void ReleaseUnitObjects() {
    if (auto fn = Installed(&RuntimeHooks::releaseUnitObjects)) fn();
}

bool Notify(int32_t code, intptr_t p1, intptr_t p2, intptr_t* result) {
    auto fn = Installed(&RuntimeHooks::notify);
    return fn && fn(code, p1, p2, result);
}

HWND UnitWindow(uint32_t windowId, uint32_t unitId) {
    auto fn = Installed(&RuntimeHooks::unitWindow);
    return fn ? fn(windowId, unitId) : nullptr;
}

uint64_t ReadProperty(uint32_t windowId, uint32_t unitId, int32_t index, int32_t part) {
    auto fn = Installed(&RuntimeHooks::readProperty);
    if (!fn) FatalReport(fatal_text::kWindowNotLoaded, 0);
    return fn(windowId, unitId, index, part);
}

void WriteProperty(uint32_t windowId, uint32_t unitId, int32_t index, int32_t part, uint64_t value) {
    auto fn = Installed(&RuntimeHooks::writeProperty);
    if (!fn) FatalReport(fatal_text::kWindowNotLoaded, 0);
    fn(windowId, unitId, index, part, value);
}

uint64_t ReadObjectProperty(uint32_t typeTag, void* unitObject, int32_t index, int32_t part) {
    auto fn = Installed(&RuntimeHooks::readObjectProperty);
    return fn ? fn(typeTag, unitObject, index, part) : 0;
}

void WriteObjectProperty(uint32_t typeTag, void* unitObject, int32_t index, int32_t part, uint64_t value) {
    if (auto fn = Installed(&RuntimeHooks::writeObjectProperty)) fn(typeTag, unitObject, index, part, value);
}

}  // namespace hook
