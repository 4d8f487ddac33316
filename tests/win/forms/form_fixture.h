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
// One key going down or up, as real input.
void Key(WORD vk, bool up);
// Runs the runtime's message loop until `milliseconds` have passed (a timer posts WM_QUIT).
void RunLoopFor(DWORD milliseconds);

HWND UnitHandle(uint32_t unitId);
HWND FormHandle();

// Property access with ownership handled: texts come back as std::string.
std::string ReadText(uint32_t unitId, int32_t index, int32_t part = -1);
int32_t ReadInt(uint32_t unitId, int32_t index, int32_t part = -1);
void WriteInt(uint32_t unitId, int32_t index, int32_t value, int32_t part = -1);
void WriteText(uint32_t unitId, int32_t index, const char* text, int32_t part = -1);

std::wstring Wide(const char* gbk);
