#include "tests/win/process_counts.h"

#include <cstring>
#include <vector>

DWORD HandleCountOf(DWORD pid) {
    struct HandleEntry {
        ULONG pid;
        UCHAR type, flags;
        USHORT handle;
        PVOID object;
        ACCESS_MASK access;
    };
    using Query = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
    constexpr ULONG kSystemHandleInformation = 16;
    auto query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
    std::vector<char> buffer(1 << 20);
    ULONG length = 0;
    for (int tries = 0; query && tries < 4; ++tries) {
        LONG status = query(kSystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &length);
        if (status == 0) {
            ULONG total = 0;
            std::memcpy(&total, buffer.data(), sizeof total);
            auto* entries = reinterpret_cast<const HandleEntry*>(buffer.data() + sizeof(void*));
            DWORD mine = 0;
            for (ULONG i = 0; i < total; ++i)
                if (entries[i].pid == pid) ++mine;
            return mine;
        }
        buffer.resize(buffer.size() * 4);
    }
    DWORD count = 0;
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, pid);
    if (process) {
        GetProcessHandleCount(process, &count);
        CloseHandle(process);
    }
    return count;
}
