#include "runtime/test_hooks.h"

#if MG_TEST_HOOKS

#include <atomic>
#include <cwchar>
#include <iterator>
#include <string>
#include <vector>

#include "runtime/heap.h"
#include "runtime/win32_handles.h"

namespace {

bool Environment(const wchar_t* name, std::wstring& value) {
    wchar_t buffer[1024];
    DWORD n = GetEnvironmentVariableW(name, buffer, static_cast<DWORD>(std::size(buffer)));
    if (n == 0 || n >= std::size(buffer)) return false;
    value.assign(buffer, n);
    return true;
}

// Never freed: the windows built from it may be read until the process ends.
std::vector<uint8_t>* g_templateBytes = nullptr;

// An armed press: the failure it sets up, and the allocation count when it came.
constexpr uint64_t kNoPress = ~uint64_t{0};
std::atomic<bool> g_pressArmed{false};
std::atomic<uint64_t> g_failAfterPress{0};
std::atomic<uint64_t> g_countAtPress{kNoPress};
std::atomic<uint32_t> g_inputSentinels{0};

bool IsPress(UINT message) {
    return message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
}

}  // namespace

uint64_t AllocationToFailFromEnvironment() {
    wchar_t n[32];
    DWORD length = GetEnvironmentVariableW(L"MG_FAIL_ALLOCATION", n, static_cast<DWORD>(std::size(n)));
    return length == 0 || length >= std::size(n) ? 0 : std::wcstoull(n, nullptr, 10);
}

bool TestTemplateImage(const uint8_t** image, size_t* length) {
    std::wstring path;
    if (!Environment(L"MG_TEMPLATE_FILE", path)) return false;
    if (!g_templateBytes) {
        g_templateBytes = new std::vector<uint8_t>;
        win::File f(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        if (f) {
            uint8_t chunk[65536];
            DWORD got = 0;
            while (ReadFile(f.get(), chunk, sizeof chunk, &got, nullptr) && got)
                g_templateBytes->insert(g_templateBytes->end(), chunk, chunk + got);
        }
    }
    // A pointer that is never null, so that an empty file counts as an image too.
    static const uint8_t kNothing = 0;
    *image = g_templateBytes->empty() ? &kNothing : g_templateBytes->data();
    *length = g_templateBytes->size();
    return true;
}

bool AnswerTestHookMessage(UINT message, WPARAM wParam, LRESULT* result) {
    static const UINT countQuery = RegisterWindowMessageW(kAllocationCountQuery);
    static const UINT failAtInput = RegisterWindowMessageW(kFailAllocationAtInput);
    static const UINT sinceInput = RegisterWindowMessageW(kAllocationsSinceInput);
    static const UINT sentinels = RegisterWindowMessageW(kInputSentinelsTaken);
    if (message == 0) return false;
    if (message == countQuery) {
        *result = static_cast<LRESULT>(AllocationCount());
    } else if (message == failAtInput) {
        g_failAfterPress = wParam;
        g_countAtPress = kNoPress;
        g_pressArmed = true;
        *result = 1;
    } else if (message == sinceInput) {
        uint64_t at = g_countAtPress;
        *result = at == kNoPress ? -1 : static_cast<LRESULT>(AllocationCount() - at);
    } else if (message == sentinels) {
        *result = static_cast<LRESULT>(g_inputSentinels.load());
    } else {
        return false;
    }
    return true;
}

void NoteMessageForTestHooks(const MSG& msg) {
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_F24) {
        g_inputSentinels.fetch_add(1);
        return;  // the driver's, not the user's: it arms nothing
    }
    if (!IsPress(msg.message) || !g_pressArmed.exchange(false)) return;
    g_countAtPress = AllocationCount();
    if (uint64_t n = g_failAfterPress) InjectAllocationFailure(n);
}

#endif
