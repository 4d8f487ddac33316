#include "runtime/test_hooks.h"

#if MG_TEST_HOOKS

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

bool AnswerTestHookMessage(UINT message, LRESULT* result) {
    static const UINT query = RegisterWindowMessageW(kAllocationCountQuery);
    if (message != query || query == 0) return false;
    *result = static_cast<LRESULT>(AllocationCount());
    return true;
}

#endif
