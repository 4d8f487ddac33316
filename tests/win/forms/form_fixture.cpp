#include "tests/win/forms/form_fixture.h"

#include <sstream>

#include "controls/support_libraries.h"
#include "controls/unit_types.h"
#include "forms/events.h"
#include "forms/forms_runtime.h"
#include "forms/type_data/window_data.h"
#include "forms/unit_object.h"
#include "forms/window_list.h"
#include "runtime/entries.h"
#include "runtime/gbk_text.h"
#include "runtime/heap.h"
#include "runtime/message_loop.h"
#include "runtime/program_descriptor.h"
#include "runtime/startup.h"

namespace {

std::vector<SeenEvent>* g_seen = nullptr;
std::function<void(const SeenEvent&)>* g_action = nullptr;

bool Record(const ArgValue* args, int count) {
    EventSource source = CurrentEventSource();
    SeenEvent e{source.eventNumber, source.unitId, {}};
    for (int i = 0; i < count; ++i) e.args.push_back(args[i].Int());
    SeenEvents().push_back(e);
    if (g_action && *g_action) (*g_action)(e);
    return true;
}

bool RecordNoResult(const ArgValue* args, int count, int64_t*) {
    Record(args, count);
    return false;
}
bool RecordFalse(const ArgValue* args, int count, int64_t* result) {
    Record(args, count);
    *result = 0;
    return true;
}
bool RecordTrue(const ArgValue* args, int count, int64_t* result) {
    Record(args, count);
    *result = 1;
    return true;
}
bool RecordCharX(const ArgValue* args, int count, int64_t* result) {
    Record(args, count);
    *result = 'X';
    return true;
}

const EventHandlerEntry kTestEventCode[] = {
    {&RecordNoResult, "RecordNoResult"},
    {&RecordFalse, "RecordFalse"},
    {&RecordTrue, "RecordTrue"},
    {&RecordCharX, "RecordCharX"},
};

std::vector<uint8_t>* g_image = nullptr;
ProgramDescriptor g_descriptor;

void CALLBACK QuitLoop(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    PostQuitMessage(0);
}

}  // namespace

UnitRecord Unit(uint32_t id, uint32_t typeCode, int32_t left, int32_t top, int32_t width, int32_t height,
                std::vector<uint8_t> typeData, uint32_t stateFlags) {
    UnitRecord r;
    r.id = id;
    r.typeCode = typeCode;
    r.name = "unit";
    r.left = left;
    r.top = top;
    r.width = width;
    r.height = height;
    r.cursorData = {0, 0, 0, 0};
    r.stateFlags = stateFlags;
    r.typeData = std::move(typeData);
    return r;
}

UnitRecord WindowRecord(std::vector<uint8_t> windowData, int32_t left, int32_t top, int32_t width, int32_t height) {
    UnitRecord r = Unit(kWindowRecordId, kTypeWindow, left, top, width, height, std::move(windowData),
                        UnitRecord::kStateVisible);
    r.name.clear();
    return r;
}

std::vector<uint8_t> PlainWindowData(const std::string& caption, uint32_t position) {
    WindowData d;
    d.caption = caption;
    d.position = position;
    d.backgroundColour = 0x00ECECEC;
    return WindowData::Write(d);
}

void On(UnitRecord& r, int32_t eventNumber, uint32_t handler) { r.events.push_back({eventNumber, handler}); }

TemplateImage OneWindow(std::vector<UnitRecord> records) {
    TemplateImage image;
    WindowTemplate w;
    w.id = kTestWindowId;
    w.attributeA = 11;
    w.attributeB = 0x19010003;
    w.records = std::move(records);
    image.windows.push_back(std::move(w));
    return image;
}

std::vector<uint8_t> ImageBytes(const TemplateImage& image) {
    std::string why;
    std::optional<std::vector<uint8_t>> bytes = WriteTemplateImage(image, &why);
    if (!bytes) {
        std::fprintf(stderr, "template refused: %s\n", why.c_str());
        std::abort();
    }
    return *bytes;
}

std::string Describe(const std::vector<SeenEvent>& events) {
    std::ostringstream out;
    for (const SeenEvent& e : events) {
        out << "  event " << e.event << " unit 0x" << std::hex << e.unit << std::dec << " (";
        for (size_t i = 0; i < e.args.size(); ++i) out << (i ? ", " : "") << e.args[i];
        out << ")\n";
    }
    return out.str();
}

std::vector<SeenEvent>& SeenEvents() {
    if (!g_seen) g_seen = new std::vector<SeenEvent>;
    return *g_seen;
}

void SetEventAction(std::function<void(const SeenEvent&)> action) {
    if (!g_action) g_action = new std::function<void(const SeenEvent&)>;
    *g_action = std::move(action);
}

void StartRuntime(const std::vector<uint8_t>& image, const LibraryInfo* const* libraries) {
    if (!g_image) g_image = new std::vector<uint8_t>;
    *g_image = image;
    g_descriptor = ProgramDescriptor{3, 0, 66502, reinterpret_cast<uintptr_t>(kTestEventCode), nullptr, 0,
                                     g_image->data(), static_cast<uint32_t>(g_image->size()), kSupportLibraryCount,
                                     libraries ? libraries : SupportLibraries(), 0, nullptr, nullptr,
                                     &kFormsRuntimeHooks};
    UseProgramDescriptor(&g_descriptor);
    RtEntries().otherHelp(kServiceInitialise, 0, 0, 0, 0, 0, 0);
}

void Pump(DWORD milliseconds) {
    DWORD start = GetTickCount();
    MSG msg;
    do {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) continue;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(1);
    } while (GetTickCount() - start < milliseconds);
}

void RunLoopFor(DWORD milliseconds) {
    SetTimer(nullptr, 0, milliseconds, &QuitLoop);
    RunMessageLoop(nullptr);
}

HWND UnitHandle(uint32_t unitId) {
    UnitObject* unit = FindUnitObject(kTestWindowId, unitId);
    return unit ? unit->hwnd() : nullptr;
}

HWND FormHandle() { return UnitHandle(0); }

std::string ReadText(uint32_t unitId, int32_t index, int32_t part) {
    auto p = reinterpret_cast<char*>(static_cast<uintptr_t>(RtEntries().readProperty(kTestWindowId, unitId, index, part)));
    std::string s = p ? p : "";
    RtFree(p);
    return s;
}

int32_t ReadInt(uint32_t unitId, int32_t index, int32_t part) {
    return static_cast<int32_t>(RtEntries().readProperty(kTestWindowId, unitId, index, part));
}

void WriteInt(uint32_t unitId, int32_t index, int32_t value, int32_t part) {
    RtEntries().writeProperty(kTestWindowId, unitId, index, part, static_cast<uint32_t>(value), 0);
}

void WriteText(uint32_t unitId, int32_t index, const char* text, int32_t part) {
    uint64_t p = reinterpret_cast<uintptr_t>(text);
    RtEntries().writeProperty(kTestWindowId, unitId, index, part, static_cast<uint32_t>(p), static_cast<uint32_t>(p >> 32));
}

std::wstring Wide(const char* gbk) { return WideFromGbk(gbk); }

bool RunLoopUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start >= timeoutMs) return condition();
        RunLoopFor(10);
    }
    return true;
}

namespace {

// A thread message that nothing else posts.
constexpr UINT kPostedSentinel = WM_APP + 0x5E7;
bool g_sentinelTaken = false;

// Takes the sentinels out of the stream before anything sees them, and notes that they came:
// a key at its release, a mouse button at its release, the posted message itself.
LRESULT CALLBACK SentinelHook(int code, WPARAM removal, LPARAM lParam) {
    auto* msg = reinterpret_cast<MSG*>(lParam);
    if (code == HC_ACTION && removal == PM_REMOVE) {
        // Without a focus window the keys come as system keys to the active window.
        const bool keyDown = msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN;
        const bool keyUp = msg->message == WM_KEYUP || msg->message == WM_SYSKEYUP;
        const bool key = msg->wParam == kInputSentinelKey && (keyDown || keyUp);
        const bool button = (msg->message == WM_XBUTTONUP || msg->message == WM_NCXBUTTONUP) &&
                            HIWORD(msg->wParam) == kInputSentinelButton;
        if (key || button || (msg->message == kPostedSentinel && !msg->hwnd)) {
            if (!keyDown) g_sentinelTaken = true;
            msg->message = WM_NULL;
        }
    }
    return CallNextHookEx(nullptr, code, removal, lParam);
}

// Nothing left for this thread but timers: what the sentinel's input caused is handled and
// painted too.
bool OnlyTimersQueued() {
    return (HIWORD(GetQueueStatus(QS_ALLINPUT)) & ~QS_TIMER) == 0;
}

bool RunLoopUntilSentinel(const std::function<void()>& send, DWORD timeoutMs) {
    HHOOK hook = SetWindowsHookExW(WH_GETMESSAGE, &SentinelHook, nullptr, GetCurrentThreadId());
    if (!hook) return false;
    g_sentinelTaken = false;
    send();
    bool taken = RunLoopUntil([] { return g_sentinelTaken && OnlyTimersQueued(); }, timeoutMs);
    UnhookWindowsHookEx(hook);
    return taken;
}

}  // namespace

bool SettleInput(DWORD timeoutMs) {
    return RunLoopUntilSentinel(
        [] {
            Key(kInputSentinelKey, false);
            Key(kInputSentinelKey, true);
        },
        timeoutMs);
}

bool SettlePointerInput(DWORD timeoutMs) {
    return RunLoopUntilSentinel([] { SentinelButtonUp(); }, timeoutMs);
}

bool SettlePosted(DWORD timeoutMs) {
    return RunLoopUntilSentinel([] { PostThreadMessageW(GetCurrentThreadId(), kPostedSentinel, 0, 0); }, timeoutMs);
}
