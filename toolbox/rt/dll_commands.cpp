#include "toolbox/rt/dll_commands.h"

#include <cstring>

#include "runtime/dll_call.h"
#include "runtime/entries.h"
#include "toolbox/dll_command_table.h"

namespace rt {

namespace {

constexpr bool k64 = sizeof(void*) == 8;

constexpr uint32_t Slot(size_t offset) { return static_cast<uint32_t>(offset); }

// WSADATA: the 64-bit structure puts the two small counts and the vendor pointer before the
// description texts, the 32-bit one after them. The texts are not kept.
const RecordMember kWsaData64[] = {
    {MemberKind::Short, Slot(offsetof(WsaData, version))},
    {MemberKind::Short, Slot(offsetof(WsaData, highVersion))},
    {MemberKind::Short, Slot(offsetof(WsaData, maxSockets))},
    {MemberKind::Short, Slot(offsetof(WsaData, maxUdpDatagram))},
    {MemberKind::Pointer, Slot(offsetof(WsaData, vendorInfo))},
    {MemberKind::Padding, 0, 257 + 129 + 6},  // description, system status, tail padding
};
const RecordMember kWsaData32[] = {
    {MemberKind::Short, Slot(offsetof(WsaData, version))},
    {MemberKind::Short, Slot(offsetof(WsaData, highVersion))},
    {MemberKind::Padding, 0, 257 + 129},
    {MemberKind::Short, Slot(offsetof(WsaData, maxSockets))},
    {MemberKind::Short, Slot(offsetof(WsaData, maxUdpDatagram))},
    {MemberKind::Padding, 0, 2},
    {MemberKind::Pointer, Slot(offsetof(WsaData, vendorInfo))},
};

// HOSTENT: two pointers, two shorts, then the address list, 8-aligned in the 64-bit build.
const RecordMember kHostEnt64[] = {
    {MemberKind::Pointer, Slot(offsetof(HostEnt, name))},
    {MemberKind::Pointer, Slot(offsetof(HostEnt, aliases))},
    {MemberKind::Short, Slot(offsetof(HostEnt, addressType))},
    {MemberKind::Short, Slot(offsetof(HostEnt, addressLength))},
    {MemberKind::Padding, 0, 4},
    {MemberKind::Pointer, Slot(offsetof(HostEnt, addressList))},
};
const RecordMember kHostEnt32[] = {
    {MemberKind::Pointer, Slot(offsetof(HostEnt, name))},
    {MemberKind::Pointer, Slot(offsetof(HostEnt, aliases))},
    {MemberKind::Short, Slot(offsetof(HostEnt, addressType))},
    {MemberKind::Short, Slot(offsetof(HostEnt, addressLength))},
    {MemberKind::Pointer, Slot(offsetof(HostEnt, addressList))},
};

// ICMP_ECHO_REPLY with its IP_OPTION_INFORMATION, then the data area. In the 64-bit build
// the data pointer and the options pointer are 8-aligned: 40 bytes of header, not 28.
const RecordMember kReply64[] = {
    {MemberKind::Int, Slot(offsetof(ProbeReply, address))},
    {MemberKind::Int, Slot(offsetof(ProbeReply, status))},
    {MemberKind::Int, Slot(offsetof(ProbeReply, roundTripTime))},
    {MemberKind::Short, Slot(offsetof(ProbeReply, dataSize))},
    {MemberKind::Short, Slot(offsetof(ProbeReply, reserved))},
    {MemberKind::Pointer, Slot(offsetof(ProbeReply, data))},
    {MemberKind::Byte, Slot(offsetof(ProbeReply, ttl))},
    {MemberKind::Byte, Slot(offsetof(ProbeReply, tos))},
    {MemberKind::Byte, Slot(offsetof(ProbeReply, flags))},
    {MemberKind::Byte, Slot(offsetof(ProbeReply, optionsSize))},
    {MemberKind::Padding, 0, 4},
    {MemberKind::Pointer, Slot(offsetof(ProbeReply, optionsData))},
    {MemberKind::ByteArray, Slot(offsetof(ProbeReply, dataArea)), ProbeReply::kDataAreaSize},
};
const RecordMember kReply32[] = {
    {MemberKind::Int, Slot(offsetof(ProbeReply, address))},
    {MemberKind::Int, Slot(offsetof(ProbeReply, status))},
    {MemberKind::Int, Slot(offsetof(ProbeReply, roundTripTime))},
    {MemberKind::Short, Slot(offsetof(ProbeReply, dataSize))},
    {MemberKind::Short, Slot(offsetof(ProbeReply, reserved))},
    {MemberKind::Pointer, Slot(offsetof(ProbeReply, data))},
    {MemberKind::Byte, Slot(offsetof(ProbeReply, ttl))},
    {MemberKind::Byte, Slot(offsetof(ProbeReply, tos))},
    {MemberKind::Byte, Slot(offsetof(ProbeReply, flags))},
    {MemberKind::Byte, Slot(offsetof(ProbeReply, optionsSize))},
    {MemberKind::Pointer, Slot(offsetof(ProbeReply, optionsData))},
    {MemberKind::ByteArray, Slot(offsetof(ProbeReply, dataArea)), ProbeReply::kDataAreaSize},
};

template <size_t N>
constexpr RecordLayout LayoutOf(const RecordMember (&members)[N]) {
    return {members, N};
}

const RecordLayout kWsaDataLayout = k64 ? LayoutOf(kWsaData64) : LayoutOf(kWsaData32);
const RecordLayout kHostEntLayout = k64 ? LayoutOf(kHostEnt64) : LayoutOf(kHostEnt32);
const RecordLayout kReplyLayout = k64 ? LayoutOf(kReply64) : LayoutOf(kReply32);

DllArg Word(intptr_t v) { return DllArg::Of(v); }

}  // namespace

const RecordLayout& WsaData::Layout() { return kWsaDataLayout; }
const RecordLayout& HostEnt::Layout() { return kHostEntLayout; }
const RecordLayout& ProbeReply::Layout() { return kReplyLayout; }
size_t ProbeReply::PackedBytes() { return PackedSize(kReplyLayout); }

ProbeReply::ProbeReply() {
    // {1, 255} and 255 zero bytes: a real array, so the echoed data has somewhere to go.
    auto* block = static_cast<uint32_t*>(RtEntries().alloc(8 + kDataAreaSize));
    block[0] = 1;
    block[1] = kDataAreaSize;
    std::memset(block + 2, 0, kDataAreaSize);
    dataArea = block;
}

ProbeReply::~ProbeReply() { FreeBlock(dataArea); }

std::string_view ProbeReply::DataText() const {
    auto bytes = reinterpret_cast<const char*>(array_block::ByteSetData(dataArea));
    size_t n = array_block::ByteSetLength(dataArea);
    size_t end = 0;
    while (end < n && bytes[end]) ++end;
    return {bytes, end};
}

int32_t WsaStartup(int16_t version, WsaData& data) {
    return static_cast<int32_t>(CallDllCommand(
        kDllWsaStartup, {Word(static_cast<uint16_t>(version)), DllArg::OfRecord(&data, kWsaDataLayout)}));
}

uint32_t InetAddr(TextView host) {
    return static_cast<uint32_t>(CallDllCommand(kDllInetAddr, {DllArg::OfText(host.c_str())}));
}

intptr_t GetHostByName(TextView host) { return CallDllCommand(kDllGetHostByName, {DllArg::OfText(host.c_str())}); }

intptr_t GlobalSizeOf(HostEnt& record) {
    return CallDllCommand(kDllGlobalSizeOfHostEnt, {DllArg::OfRecord(&record, kHostEntLayout)});
}

void CopyHostEnt(HostEnt& record, intptr_t source, intptr_t length) {
    CallDllCommand(kDllCopyHostEnt, {DllArg::OfRecord(&record, kHostEntLayout), Word(source), Word(length)});
}

intptr_t IcmpCreateFile() { return CallDllCommand(kDllIcmpCreateFile, {}); }

intptr_t GlobalSizeOf(ProbeReply& record) {
    return CallDllCommand(kDllGlobalSizeOfReply, {DllArg::OfRecord(&record, kReplyLayout)});
}

uint32_t IcmpSendEcho(intptr_t handle, uint32_t address, TextView data, int32_t dataSize, intptr_t options,
                      ProbeReply& reply, int32_t replySize, int32_t timeout) {
    return static_cast<uint32_t>(CallDllCommand(
        kDllIcmpSendEcho, {Word(handle), Word(static_cast<intptr_t>(address)), DllArg::OfText(data.c_str()),
                           Word(dataSize), Word(options), DllArg::OfRecord(&reply, kReplyLayout), Word(replySize),
                           Word(timeout)}));
}

int32_t IcmpCloseHandle(intptr_t handle) {
    return static_cast<int32_t>(CallDllCommand(kDllIcmpCloseHandle, {Word(handle)}));
}

int32_t WsaCleanup() { return static_cast<int32_t>(CallDllCommand(kDllWsaCleanup, {})); }

intptr_t ReadIntAt(intptr_t address) {
    intptr_t value = 0;
    CallDllCommand(kDllReadIntAt, {DllArg::OfPointer(&value), Word(address), Word(sizeof value)});
    return value;
}

}  // namespace rt
