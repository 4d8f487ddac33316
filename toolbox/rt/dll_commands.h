// The DLL commands the program declares (toolbox/dll_command_table.h), typed, with the
// records they take by reference. A record keeps its members in the runtime's slots (small
// integers in 32-bit slots, addresses and handles pointer-wide, a byte array as its own
// array block) and travels as one packed buffer laid out like the platform's structure of
// the build, copied back into the slots after the call. Results come back at the declared
// width: 32-bit integers as 32 bits, handles and addresses pointer-wide.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "toolbox/rt/text.h"

struct RecordLayout;

namespace rt {

// WSADATA: filled by WSAStartup; the tools keep only the version words.
struct WsaData {
    int32_t version = 0;
    int32_t highVersion = 0;
    int32_t maxSockets = 0;
    int32_t maxUdpDatagram = 0;
    intptr_t vendorInfo = 0;
    static const RecordLayout& Layout();
};

// HOSTENT, as gethostbyname's result is copied into it.
struct HostEnt {
    intptr_t name = 0;
    intptr_t aliases = 0;
    int32_t addressType = 0;
    int32_t addressLength = 0;
    intptr_t addressList = 0;  // address of the null-ended list of address pointers
    static const RecordLayout& Layout();
};

// The echo reply (ICMP_ECHO_REPLY of the build) followed by 255 bytes in which the platform
// leaves the echoed data. A fresh reply is all zero; its data area is a byte array of its
// own, freed with the reply.
struct ProbeReply {
    static constexpr uint32_t kDataAreaSize = 255;

    uint32_t address = 0;
    int32_t status = 0;
    uint32_t roundTripTime = 0;
    int32_t dataSize = 0;
    int32_t reserved = 0;
    intptr_t data = 0;
    int32_t ttl = 0;
    int32_t tos = 0;
    int32_t flags = 0;
    int32_t optionsSize = 0;
    intptr_t optionsData = 0;
    void* dataArea;  // array block of kDataAreaSize bytes

    ProbeReply();
    ~ProbeReply();
    ProbeReply(const ProbeReply&) = delete;
    ProbeReply& operator=(const ProbeReply&) = delete;

    // The data area read as a text: its bytes up to the first NUL.
    std::string_view DataText() const;
    static const RecordLayout& Layout();
    // Size of the packed buffer: the reply structure of the build plus the data area.
    static size_t PackedBytes();
};

constexpr intptr_t kInvalidHandle = -1;  // what IcmpCreateFile gives when no handle opens
constexpr uint32_t kNoAddress = 0xFFFFFFFF;  // inet_addr of a text that is no dotted address

int32_t WsaStartup(int16_t version, WsaData& data);
uint32_t InetAddr(TextView host);
intptr_t GetHostByName(TextView host);  // address of the platform's HOSTENT, 0 when none
intptr_t GlobalSizeOf(HostEnt& record);
void CopyHostEnt(HostEnt& record, intptr_t source, intptr_t length);
intptr_t IcmpCreateFile();
intptr_t GlobalSizeOf(ProbeReply& record);
uint32_t IcmpSendEcho(intptr_t handle, uint32_t address, TextView data, int32_t dataSize, intptr_t options,
                      ProbeReply& reply, int32_t replySize, int32_t timeout);
int32_t IcmpCloseHandle(intptr_t handle);
int32_t WsaCleanup();
// The pointer-wide value stored at the address (a 32-bit build reads 4 bytes, a 64-bit one 8).
intptr_t ReadIntAt(intptr_t address);

// An ICMP handle opened by IcmpCreateFile and closed by IcmpCloseHandle when it goes.
class IcmpHandle {
public:
    IcmpHandle() : handle_(IcmpCreateFile()) {}
    ~IcmpHandle() {
        if (valid()) IcmpCloseHandle(handle_);
    }
    IcmpHandle(const IcmpHandle&) = delete;
    IcmpHandle& operator=(const IcmpHandle&) = delete;
    bool valid() const { return handle_ != kInvalidHandle; }
    intptr_t get() const { return handle_; }

private:
    intptr_t handle_;
};

}  // namespace rt
