#include "toolbox/dll_command_table.h"

// Indexes 3 and 6, and 4 and 10, name the same routine: each index is resolved on its own.
const char* const kDllLibraryNames[kDllCommandCount] = {
    "ws2_32.dll", "ws2_32.dll", "ws2_32.dll", "kernel32", "kernel32", "ICMP.DLL",
    "kernel32",   "ICMP.DLL",   "ICMP.DLL",   "ws2_32.dll", "kernel32",
};

const char* const kDllCommandNames[kDllCommandCount] = {
    "WSAStartup",     "inet_addr",    "gethostbyname",   "GlobalSize", "RtlMoveMemory", "IcmpCreateFile",
    "GlobalSize",     "IcmpSendEcho", "IcmpCloseHandle", "WSACleanup", "RtlMoveMemory",
};
