// The program's environment: its directory, the clock, sleeping.
#include <cstdint>
#include <cstdio>

#include "runtime/commands/command_args.h"
#include "runtime/commands/core_commands.h"
#include "runtime/date_time.h"
#include "runtime/entries.h"
#include "runtime/heap.h"
#include "runtime/win32_handles.h"

void GetRunDirectory(ArgValue* result, int32_t, ArgValue*) {
    auto directory = reinterpret_cast<const char*>(RtNotify(kNotifyRunDirectory, 0, 0));
    cmd::SetText(result, NewText(directory));
}

namespace {

#if MG_TEST_HOOKS
// MG_CLOCK_FILE names a file holding "YYYY-MM-DD HH:MM:SS": while it holds a time, the
// clock reads that time. Tests of what the program names after the time (records at a whole
// minute, hour, midnight) set it; any other content, or no file, is the real clock.
bool ReadClockFile(SYSTEMTIME* time) {
    wchar_t path[MAX_PATH];
    DWORD n = GetEnvironmentVariableW(L"MG_CLOCK_FILE", path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return false;
    win::File file(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, 0, nullptr));
    if (!file) return false;
    char text[64] = {};
    DWORD got = 0;
    ::ReadFile(file.get(), text, sizeof text - 1, &got, nullptr);
    int y, mo, d, h, mi, s;
    if (std::sscanf(text, "%d-%d-%d %d:%d:%d", &y, &mo, &d, &h, &mi, &s) != 6) return false;
    *time = {};
    time->wYear = static_cast<WORD>(y), time->wMonth = static_cast<WORD>(mo), time->wDay = static_cast<WORD>(d);
    time->wHour = static_cast<WORD>(h), time->wMinute = static_cast<WORD>(mi), time->wSecond = static_cast<WORD>(s);
    return true;
}
#else
bool ReadClockFile(SYSTEMTIME*) { return false; }  // a release reads the real clock only
#endif

// The local time: the system time plus the zone's offset. The platform's local time looks the
// zone up at every call, a tenth of what a clock's tick costs; the offset is kept instead, per
// thread, and asked for again when the minute changes, since zones change offset on a whole
// minute.
SYSTEMTIME LocalTimeNow() {
    constexpr int64_t kTicksPerMinute = 60LL * 10'000'000;
    auto ticks = [](const FILETIME& f) { return static_cast<int64_t>((uint64_t{f.dwHighDateTime} << 32) | f.dwLowDateTime); };
    thread_local int64_t offsetMinute = -1, offset = 0;
    FILETIME utc;
    GetSystemTimeAsFileTime(&utc);
    const int64_t now = ticks(utc);
    if (now / kTicksPerMinute != offsetMinute) {
        FILETIME local;
        if (!FileTimeToLocalFileTime(&utc, &local)) {
            SYSTEMTIME fallback;
            GetLocalTime(&fallback);
            return fallback;
        }
        offset = ticks(local) - now;
        offsetMinute = now / kTicksPerMinute;
    }
    const auto local = static_cast<uint64_t>(now + offset);
    FILETIME localFile = {static_cast<DWORD>(local), static_cast<DWORD>(local >> 32)};
    SYSTEMTIME time;
    FileTimeToSystemTime(&localFile, &time);
    return time;
}

}  // namespace

void GetCurrentDateTime(ArgValue* result, int32_t, ArgValue*) {
    SYSTEMTIME now;
    if (!ReadClockFile(&now)) now = LocalTimeNow();  // milliseconds are dropped: the clock counts whole seconds
    DateTimeParts parts;
    parts.year = now.wYear;
    parts.month = now.wMonth;
    parts.day = now.wDay;
    parts.hour = now.wHour;
    parts.minute = now.wMinute;
    parts.second = now.wSecond;
    *result = ArgValue::OfDouble(MakeDateTime(parts), kTagDateTime);
}

void Sleep(ArgValue*, int32_t count, ArgValue* args) {
    int32_t ms = cmd::Arg(count, args, 0).Int();
    ::Sleep(ms < 0 ? 0 : static_cast<DWORD>(ms));
}
