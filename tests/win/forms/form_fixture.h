// Building window templates in code and running them on the runtime inside a test process:
// records from the type-data codecs, a recording event-code table, and the start-up of the
// runtime with a program descriptor that names the template.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "forms/event_handler.h"
#include "forms/template_image.h"
#include "runtime/command.h"
#include "tests/win/real_input.h"
#include "toolbox/rt/units.h"  // the generated property and event names

constexpr uint32_t kTestWindowId = 0x52010001;

// Handlers of the test event-code table, by offset.
enum TestHandler : uint32_t {
    kRecord = 0,             // records, declares no result
    kRecordFalse = 16,       // records, returns false (0)
    kRecordTrue = 32,        // records, returns true (1)
    kRecordCharX = 48,       // records, returns 'X'
};

// A unit record with the common fields; visible, enabled, tab stop unless told otherwise.
UnitRecord Unit(uint32_t id, uint32_t typeCode, int32_t left, int32_t top, int32_t width, int32_t height,
                std::vector<uint8_t> typeData = {},
                uint32_t stateFlags = UnitRecord::kStateVisible | UnitRecord::kStateTabStop);
// The window's own record.
UnitRecord WindowRecord(std::vector<uint8_t> windowData, int32_t left = 50, int32_t top = 50, int32_t width = 400,
                        int32_t height = 300);
// Window type data: fixed border with caption, position as stored.
std::vector<uint8_t> PlainWindowData(const std::string& caption = "Test", uint32_t position = 0);

void On(UnitRecord& r, int32_t eventNumber, uint32_t handler = kRecord);

TemplateImage OneWindow(std::vector<UnitRecord> records);
std::vector<uint8_t> ImageBytes(const TemplateImage& image);

// One event as a handler saw it.
struct SeenEvent {
    int32_t event;
    uint32_t unit;
    std::vector<int32_t> args;
    bool operator==(const SeenEvent&) const = default;
};
std::string Describe(const std::vector<SeenEvent>& events);
std::vector<SeenEvent>& SeenEvents();
// Called inside every recording handler after the event is recorded.
void SetEventAction(std::function<void(const SeenEvent&)> action);

// Initialises the runtime with the template (service 6). `libraries` replaces the five
// support libraries (for stand-in unit types). Returns false when the template is refused.
void StartRuntime(const std::vector<uint8_t>& image, const LibraryInfo* const* libraries = nullptr);

// Pumps messages for the given time (the program's message loop is not running).
void Pump(DWORD milliseconds);
// Runs the runtime's message loop until `milliseconds` have passed (a timer posts WM_QUIT).
void RunLoopFor(DWORD milliseconds);
// Runs the runtime's message loop until `condition` holds; false when it did not within
// `timeoutMs`.
bool RunLoopUntil(const std::function<bool()>& condition, DWORD timeoutMs = 20000);
// Presses the input sentinel key (tests/win/real_input.h) and runs the runtime's message loop
// until this thread has taken it from its queue and nothing but timers is left: all real input
// sent before it has then been handled, and what it caused painted. The sentinel itself
// reaches no window. False when it did not come within `timeoutMs` (the keyboard went to
// another thread: no window of this one is active).
bool SettleInput(DWORD timeoutMs = 20000);
// The same with the sentinel mouse button, released where the pointer is: for input that
// ends over a window of this thread that need not be active.
bool SettlePointerInput(DWORD timeoutMs = 20000);
// Posts a sentinel message to this thread and runs the runtime's message loop until it is
// taken: every message posted to this thread before it has then been dispatched.
bool SettlePosted(DWORD timeoutMs = 20000);

HWND UnitHandle(uint32_t unitId);
HWND FormHandle();

// Property access with ownership handled: texts come back as std::string.
std::string ReadText(uint32_t unitId, int32_t index, int32_t part = -1);
int32_t ReadInt(uint32_t unitId, int32_t index, int32_t part = -1);
void WriteInt(uint32_t unitId, int32_t index, int32_t value, int32_t part = -1);
void WriteText(uint32_t unitId, int32_t index, const char* text, int32_t part = -1);
// The same by the property's generated name; the numbers above serve the properties that have
// none (fonts, blocks, the cursor).
template <class Owner>
std::string ReadText(uint32_t unitId, rt::Property<Owner, rt::TextValue> p) {
    return ReadText(unitId, p.index);
}
template <class Owner, class Value>
int32_t ReadInt(uint32_t unitId, rt::Property<Owner, Value> p) {
    return ReadInt(unitId, p.index);
}
template <class Owner, class Value>
void WriteInt(uint32_t unitId, rt::Property<Owner, Value> p, int32_t value) {
    WriteInt(unitId, p.index, value);
}
template <class Owner>
void WriteText(uint32_t unitId, rt::Property<Owner, rt::TextValue> p, const char* text) {
    WriteText(unitId, p.index, text);
}

std::wstring Wide(const char* gbk);
