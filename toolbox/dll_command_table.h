// The DLL commands this program declares, as the program descriptor hands them to the
// runtime: one library file name and one exported name per index.
#pragma once

#include <cstdint>

enum DllCommandIndex : int32_t {
    kDllWsaStartup = 0,
    kDllInetAddr = 1,
    kDllGetHostByName = 2,
    kDllGlobalSizeOfHostEnt = 3,
    kDllCopyHostEnt = 4,
    kDllIcmpCreateFile = 5,
    kDllGlobalSizeOfReply = 6,
    kDllIcmpSendEcho = 7,
    kDllIcmpCloseHandle = 8,
    kDllWsaCleanup = 9,
    kDllReadIntAt = 10,
};

constexpr uint32_t kDllCommandCount = 11;

extern const char* const kDllLibraryNames[kDllCommandCount];
extern const char* const kDllCommandNames[kDllCommandCount];
