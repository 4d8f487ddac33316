// The program's environment: its directory, the clock, sleeping.
#include <cwchar>

#include "runtime/commands/command_args.h"
#include "runtime/commands/core_commands.h"
#include "runtime/date_time.h"
#include "runtime/entries.h"
#include "runtime/heap.h"

void GetRunDirectory(ArgValue* result, int32_t, ArgValue*) {
    auto directory = reinterpret_cast<const char*>(RtNotify(kNotifyRunDirectory, 0, 0));
    cmd::SetText(result, NewText(directory));
}

namespace {

// MG_CLOCK="YYYY-MM-DD HH:MM:SS" holds the clock at that time: tests of what the program
// names after the time (records at a whole minute, hour, midnight) set it.
bool ParseFixedClock(SYSTEMTIME* time) {
    wchar_t text[64];
    DWORD n = GetEnvironmentVariableW(L"MG_CLOCK", text, 64);
    if (n == 0 || n >= 64) return false;
    int y, mo, d, h, mi, s;
    if (swscanf(text, L"%d-%d-%d %d:%d:%d", &y, &mo, &d, &h, &mi, &s) != 6) return false;
    *time = {};
    time->wYear = static_cast<WORD>(y), time->wMonth = static_cast<WORD>(mo), time->wDay = static_cast<WORD>(d);
    time->wHour = static_cast<WORD>(h), time->wMinute = static_cast<WORD>(mi), time->wSecond = static_cast<WORD>(s);
    return true;
}

const SYSTEMTIME* FixedClock() {
    static SYSTEMTIME time;
    static const bool fixed = ParseFixedClock(&time);
    return fixed ? &time : nullptr;
}

}  // namespace

void GetCurrentDateTime(ArgValue* result, int32_t, ArgValue*) {
    SYSTEMTIME now;
    if (const SYSTEMTIME* fixed = FixedClock())
        now = *fixed;
    else
        GetLocalTime(&now);  // milliseconds are dropped: the clock counts whole seconds
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
