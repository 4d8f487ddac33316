#include "runtime/dll_call.h"

#include <windows.h>

#include <cstring>
#include <utility>
#include <vector>

#include "runtime/app.h"
#include "runtime/dll_modules.h"
#include "runtime/entries.h"
#include "runtime/heap.h"
#include "runtime/value.h"

namespace {

template <typename T>
T ReadSlot(const void* record, uint32_t offset) {
    T v;
    std::memcpy(&v, static_cast<const char*>(record) + offset, sizeof v);
    return v;
}

template <typename T>
void WriteSlot(void* record, uint32_t offset, T v) {
    std::memcpy(static_cast<char*>(record) + offset, &v, sizeof v);
}

size_t MemberSize(const RecordMember& m) {
    switch (m.kind) {
        case MemberKind::Byte: return 1;
        case MemberKind::Short: return 2;
        case MemberKind::Int: return 4;
        case MemberKind::Pointer: return sizeof(void*);
        case MemberKind::ByteArray:
        case MemberKind::Padding: return m.length;
        case MemberKind::Record: return m.nested ? PackedSize(*m.nested) : 0;
    }
    return 0;
}

}  // namespace

size_t PackedSize(const RecordLayout& layout) {
    size_t size = 0;
    for (size_t i = 0; i < layout.count; ++i) size += MemberSize(layout.members[i]);
    return size;
}

void PackRecord(const RecordLayout& layout, const void* record, void* out) {
    auto p = static_cast<char*>(out);
    for (size_t i = 0; i < layout.count; ++i) {
        const RecordMember& m = layout.members[i];
        size_t size = MemberSize(m);
        switch (m.kind) {
            case MemberKind::Byte:
            case MemberKind::Short:
            case MemberKind::Int: {
                // Little-endian: the low bytes of the 32-bit slot are the member.
                uint32_t v = ReadSlot<uint32_t>(record, m.slotOffset);
                std::memcpy(p, &v, size);
                break;
            }
            case MemberKind::Pointer: {
                auto v = ReadSlot<uintptr_t>(record, m.slotOffset);
                std::memcpy(p, &v, size);
                break;
            }
            case MemberKind::ByteArray: {
                auto block = ReadSlot<const void*>(record, m.slotOffset);
                uint64_t have = array_block::ElementCount(block);
                size_t n = have < m.length ? static_cast<size_t>(have) : m.length;
                if (n) std::memcpy(p, array_block::Data(block), n);
                std::memset(p + n, 0, size - n);
                break;
            }
            case MemberKind::Record: {
                auto nested = ReadSlot<const void*>(record, m.slotOffset);
                if (nested && m.nested)
                    PackRecord(*m.nested, nested, p);
                else
                    std::memset(p, 0, size);
                break;
            }
            case MemberKind::Padding: std::memset(p, 0, size); break;
        }
        p += size;
    }
}

void UnpackRecord(const RecordLayout& layout, void* record, const void* packed) {
    auto p = static_cast<const char*>(packed);
    for (size_t i = 0; i < layout.count; ++i) {
        const RecordMember& m = layout.members[i];
        size_t size = MemberSize(m);
        switch (m.kind) {
            case MemberKind::Byte: WriteSlot<uint32_t>(record, m.slotOffset, static_cast<uint8_t>(*p)); break;
            case MemberKind::Short: {
                int16_t v;
                std::memcpy(&v, p, 2);
                WriteSlot<int32_t>(record, m.slotOffset, v);
                break;
            }
            case MemberKind::Int: {
                uint32_t v;
                std::memcpy(&v, p, 4);
                WriteSlot(record, m.slotOffset, v);
                break;
            }
            case MemberKind::Pointer: {
                uintptr_t v;
                std::memcpy(&v, p, sizeof v);
                WriteSlot(record, m.slotOffset, v);
                break;
            }
            case MemberKind::ByteArray: {
                // The slot may hold the tools' constant empty array: replace it by a heap copy
                // first, then copy no more than the array actually holds.
                auto slot = reinterpret_cast<void**>(static_cast<char*>(record) + m.slotOffset);
                void* block;
                std::memcpy(&block, slot, sizeof block);
                RtOtherHelp(kServiceMakeArrayWritable, 1, reinterpret_cast<intptr_t>(&block), 0, 0, 0, 0);
                std::memcpy(slot, &block, sizeof block);
                uint64_t have = array_block::ElementCount(block);
                size_t n = have < m.length ? static_cast<size_t>(have) : m.length;
                if (n) std::memcpy(array_block::Data(block), p, n);
                break;
            }
            case MemberKind::Record: {
                auto nested = ReadSlot<void*>(record, m.slotOffset);
                if (nested && m.nested) UnpackRecord(*m.nested, nested, p);
                break;
            }
            case MemberKind::Padding: break;
        }
        p += size;
    }
}

intptr_t CallDllCommand(int32_t index, const DllArg* args, size_t count) {
    if (count > kMaxDllArguments) RtReportError(11);
    // The program is ending and its modules are gone: no call, a zero result. The caller may
    // be a destructor, so nothing is thrown; a worker goes on to its next unit, where it ends.
    if (!BeginDllCall()) return 0;
    struct CountedOut {
        ~CountedOut() { EndDllCall(); }
    } countedOut;
    intptr_t words[kMaxDllArguments] = {};
    void* temporaries[kMaxDllArguments] = {};
    for (size_t i = 0; i < count; ++i) {
        const DllArg& a = args[i];
        switch (a.kind) {
            case DllArg::Kind::Value: words[i] = a.value; break;
            case DllArg::Kind::Text:
                // A null text is the empty text: the routine gets a pointer to a NUL, never null.
                words[i] = reinterpret_cast<intptr_t>(a.text ? a.text : EmptyText());
                break;
            case DllArg::Kind::Record: {
                size_t size = PackedSize(*a.layout);
                temporaries[i] = RtEntries().alloc(size);
                PackRecord(*a.layout, a.record, temporaries[i]);
                words[i] = reinterpret_cast<intptr_t>(temporaries[i]);
                break;
            }
        }
    }
    void* routine = RtEntries().callDllCommand(index);
    intptr_t result = CallWithStackCheck(routine, words, count);
    for (size_t i = 0; i < count; ++i) {
        if (!temporaries[i]) continue;
        UnpackRecord(*args[i].layout, args[i].record, temporaries[i]);
        RtEntries().free(temporaries[i]);
    }
    return result;
}

#if defined(__i386__)

// cdecl thunk: pushes `count` words from `args` (last first), calls the stdcall routine and
// compares the stack pointer with its value before the pushes. A routine that removed too
// many or too few bytes sets *mismatch; the thunk then restores the stack so it can return.
// edi holds the expected value across the call: the routine must preserve it.
extern "C" int32_t MgCallStdcall(void* routine, const intptr_t* args, size_t count, int32_t* mismatch);
asm(R"(
    .text
    .globl _MgCallStdcall
    .def _MgCallStdcall; .scl 2; .type 32; .endef
_MgCallStdcall:
    pushl %ebp
    movl %esp, %ebp
    pushl %ebx
    pushl %esi
    pushl %edi
    movl 12(%ebp), %esi
    movl 16(%ebp), %ecx
    movl %esp, %edi
1:  testl %ecx, %ecx
    jz 2f
    decl %ecx
    pushl (%esi,%ecx,4)
    jmp 1b
2:  call *8(%ebp)
    xorl %ecx, %ecx
    cmpl %edi, %esp
    je 3f
    movl $1, %ecx
    movl %edi, %esp
3:  movl 20(%ebp), %edx
    movl %ecx, (%edx)
    popl %edi
    popl %esi
    popl %ebx
    popl %ebp
    ret
)");

intptr_t CallWithStackCheck(void* routine, const intptr_t* args, size_t count) {
    int32_t mismatch = 0;
    int32_t result = MgCallStdcall(routine, args, count, &mismatch);
    if (mismatch) RtReportError(6);
    return result;
}

#else

namespace {

// The x64 convention has the caller reserve and remove the argument area; a routine cannot
// leave the stack unbalanced, so there is nothing to compare after the call. The call is made
// through a pointer of exactly `count` pointer-wide parameters.
template <size_t... I>
intptr_t CallExact(void* routine, const intptr_t* a, std::index_sequence<I...>) {
    using Routine = intptr_t(WINAPI*)(decltype((void)I, intptr_t{})...);
    return reinterpret_cast<Routine>(routine)(a[I]...);
}

template <size_t... N>
intptr_t CallWithCount(void* routine, const intptr_t* a, size_t count, std::index_sequence<N...>) {
    intptr_t result = 0;
    (void)((count == N ? (result = CallExact(routine, a, std::make_index_sequence<N>{}), true) : false) || ...);
    return result;
}

}  // namespace

intptr_t CallWithStackCheck(void* routine, const intptr_t* args, size_t count) {
    if (count > kMaxDllArguments) RtReportError(11);
    return CallWithCount(routine, args, count, std::make_index_sequence<kMaxDllArguments + 1>{});
}

#endif
