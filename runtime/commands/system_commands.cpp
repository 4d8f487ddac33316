// The program's environment: its directory, the clock, sleeping.
#include "runtime/commands/command_args.h"
#include "runtime/commands/core_commands.h"
#include "runtime/date_time.h"
#include "runtime/entries.h"
#include "runtime/heap.h"

void GetRunDirectory(ArgValue* result, int32_t, ArgValue*) {
    auto directory = reinterpret_cast<const char*>(RtNotify(kNotifyRunDirectory, 0, 0));
    cmd::SetText(result, NewText(directory));
}

void GetCurrentDateTime(ArgValue* result, int32_t, ArgValue*) {
    SYSTEMTIME now;
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
