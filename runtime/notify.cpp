// RtNotify: how support libraries and command routines reach the runtime's state.
#include <windows.h>

#include <algorithm>

#include "runtime/app.h"
#include "runtime/entries.h"
#include "runtime/heap.h"
#include "runtime/runtime_hooks.h"

namespace {

intptr_t AddIdleCallback(const intptr_t* words) {
    if (!words) return 0;
    Application& app = App();
    auto hwnd = reinterpret_cast<HWND>(words[0]);
    auto routine = reinterpret_cast<IdleRoutine>(words[1]);
    if (!routine || !IsWindow(hwnd)) return 0;
    if (std::find(app.idleWindows.begin(), app.idleWindows.end(), hwnd) != app.idleWindows.end()) return 0;
    app.idleWindows.push_back(hwnd);
    app.idleRoutines.push_back(routine);
    app.idleParameters.push_back(words[2]);
    return 1;
}

void RemoveIdleCallback(HWND hwnd) {
    Application& app = App();
    for (size_t i = app.idleWindows.size(); i-- > 0;) {
        if (app.idleWindows[i] == hwnd) {
            app.idleWindows.erase(app.idleWindows.begin() + static_cast<ptrdiff_t>(i));
            app.idleRoutines.erase(app.idleRoutines.begin() + static_cast<ptrdiff_t>(i));
            app.idleParameters.erase(app.idleParameters.begin() + static_cast<ptrdiff_t>(i));
        }
    }
}

intptr_t FileKind(void* object) {
    Application& app = App();
    auto it = std::find(app.fileObjects.begin(), app.fileObjects.end(), object);
    return it == app.fileObjects.end() ? -1 : app.fileKinds[static_cast<size_t>(it - app.fileObjects.begin())];
}

}  // namespace

intptr_t RtNotify(int32_t code, intptr_t p1, intptr_t p2) {
    Application& app = App();
    intptr_t result = 0;
    switch (code) {
        case kNotifyAddIdleCallback:
            return AddIdleCallback(reinterpret_cast<const intptr_t*>(p1));
        case kNotifyRemoveIdleCallback:
            RemoveIdleCallback(reinterpret_cast<HWND>(p1));
            return 0;
        case kNotifyRunDirectory:
            return reinterpret_cast<intptr_t>(app.runDirectory.c_str());
        case kNotifyProgramFileName:
            return reinterpret_cast<intptr_t>(app.programFileName.c_str());
        case kNotifyFileKind:
            return FileKind(reinterpret_cast<void*>(p1));
        case kNotifyAddFile:
            if (FileKind(reinterpret_cast<void*>(p1)) == -1) {
                app.fileObjects.push_back(reinterpret_cast<void*>(p1));
                app.fileKinds.push_back(static_cast<uint8_t>(p2));
            }
            return 0;
        case kNotifyRemoveFile: {
            auto it = std::find(app.fileObjects.begin(), app.fileObjects.end(), reinterpret_cast<void*>(p1));
            if (it == app.fileObjects.end()) return 0;
            app.fileKinds.erase(app.fileKinds.begin() + (it - app.fileObjects.begin()));
            app.fileObjects.erase(it);
            return 1;
        }
        case kNotifyAlloc:
            return reinterpret_cast<intptr_t>(p2 == 0 ? RtAlloc(static_cast<size_t>(p1))
                                                      : RtTryAlloc(static_cast<size_t>(p1)));
        case kNotifyFree:
            RtFree(reinterpret_cast<void*>(p1));
            return 0;
        default:
            if (hook::Notify(code, p1, p2, &result)) return result;
            return 0;
    }
}
