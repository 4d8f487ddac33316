// RtOtherHelp: seven services reached through one entry.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <utility>

#include "runtime/app.h"
#include "runtime/entries.h"
#include "runtime/gbk_text.h"
#include "runtime/heap.h"
#include "runtime/runtime_hooks.h"
#include "runtime/startup.h"
#include "runtime/win32_handles.h"

namespace {

bool PassesFilter(DWORD attributes, uint32_t mask, bool allFiles) {
    if (allFiles) return (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    mask &= 0x37;
    // The attribute word of a plain file counts as 0 here.
    DWORD word = attributes == FILE_ATTRIBUTE_NORMAL ? 0 : attributes;
    return mask == 0 ? word == 0 : (word & mask) != 0;
}

// The search handle a caller's variable holds, taken over (null there means none).
win::FindHandle TakeSearch(HANDLE* handleVar) {
    HANDLE h = std::exchange(*handleVar, nullptr);
    return win::FindHandle(h ? h : INVALID_HANDLE_VALUE);
}

// Service 0: next directory entry that passes the filter, as a fresh text; null at the end,
// when the search is closed and the variable 0. Between calls the caller's variable owns it.
intptr_t FindFile(const char* pattern, uint32_t mask, bool allFiles, HANDLE* handleVar) {
    if (!handleVar) return 0;
    WIN32_FIND_DATAW data;
    win::FindHandle search = TakeSearch(handleVar);
    bool have;
    if (pattern && *pattern) {
        search.reset(FindFirstFileW(WideFromGbk(pattern).c_str(), &data));  // the previous search is closed
        have = static_cast<bool>(search);
    } else {
        have = search && FindNextFileW(search.get(), &data);
    }
    for (; have; have = FindNextFileW(search.get(), &data) != FALSE) {
        if (PassesFilter(data.dwFileAttributes, mask, allFiles)) {
            *handleVar = search.release();
            return reinterpret_cast<intptr_t>(NewText(GbkFromWide(data.cFileName).c_str()));
        }
    }
    return 0;
}

// Service 2: an array that lies in the constant block is replaced by a heap copy.
void MakeArrayWritable(size_t elementSize, void** arrayVar) {
    if (!arrayVar) return;
    void* array = *arrayVar;
    if (!array || !IsInConstantBlock(array)) return;
    size_t size = array_block::HeaderSize(array) + elementSize * array_block::ElementCount(array);
    void* copy = RtAlloc(size);
    std::memcpy(copy, array, size);
    *arrayVar = copy;
}

void RegisterExitRoutine(ExitRoutine routine) {
    auto& list = App().exitRoutines;
    if (routine && std::find(list.begin(), list.end(), routine) == list.end()) list.push_back(routine);
}

}  // namespace

intptr_t RtOtherHelp(int32_t service, intptr_t a1, intptr_t a2, intptr_t a3, intptr_t a4, intptr_t a5, intptr_t a6) {
    switch (service) {
        case kServiceFindFile:
            return FindFile(reinterpret_cast<const char*>(a1), static_cast<uint32_t>(a2), a3 != 0,
                            reinterpret_cast<HANDLE*>(a4));
        case kServiceCloseFind: {
            HANDLE search = reinterpret_cast<HANDLE>(a1);
            TakeSearch(&search);  // closed as the owner goes
            return 0;
        }
        case kServiceMakeArrayWritable:
            MakeArrayWritable(static_cast<size_t>(a1), reinterpret_cast<void**>(a2));
            return 0;
        case kServiceRegisterExitRoutine:
            RegisterExitRoutine(reinterpret_cast<ExitRoutine>(a1));
            return 0;
        case kServiceReadObjectProperty:
            return static_cast<intptr_t>(hook::ReadObjectProperty(static_cast<uint32_t>(a1), reinterpret_cast<void*>(a2),
                                                                  static_cast<int32_t>(a3), static_cast<int32_t>(a4)));
        case kServiceWriteObjectProperty:
            hook::WriteObjectProperty(static_cast<uint32_t>(a1), reinterpret_cast<void*>(a2), static_cast<int32_t>(a3),
                                      static_cast<int32_t>(a4),
                                      (static_cast<uint64_t>(static_cast<uint32_t>(a6)) << 32) | static_cast<uint32_t>(a5));
            return 0;
        case kServiceInitialise:
            return InitialiseRuntime();
        default:
            return 0;
    }
}
