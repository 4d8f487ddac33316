// The calling side of declared DLL commands: the arguments as the routine expects them,
// records of the tools' own types passed as packed temporaries, the call, the stack check.
//
// A record of the tools' own type keeps each member in a slot of its own: byte, short and
// integer members in 32-bit slots, pointer-wide members (handles and addresses in the
// 64-bit build) in pointer-wide slots, a fixed-size byte array member as a pointer to its
// array block, a nested record member as a pointer to that record's own block. The routine
// sees the members packed one after another at their declared widths, with no padding but
// the explicit padding members a declaration lists to match a platform structure.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>

struct RecordLayout;

enum class MemberKind : uint8_t {
    Byte,       // 1 byte packed; 32-bit slot
    Short,      // 2 bytes packed, sign-extended back into its 32-bit slot
    Int,        // 4 bytes packed; 32-bit slot
    Pointer,    // pointer width packed; pointer-wide slot
    ByteArray,  // `length` bytes inline; the slot points to a byte array block
    Record,     // the nested layout inline; the slot points to the nested record's block
    Padding,    // `length` zero bytes; no slot
};

struct RecordMember {
    MemberKind kind;
    uint32_t slotOffset;  // byte offset of the member's slot in the tools' record
    uint32_t length = 0;  // ByteArray and Padding: declared byte count
    const RecordLayout* nested = nullptr;  // Record: the nested record's layout
};

struct RecordLayout {
    const RecordMember* members;
    size_t count;
};

// Size of a record's packed form.
size_t PackedSize(const RecordLayout& layout);

// The packed form of the record at `record` written to `out` (PackedSize bytes). A byte
// array shorter than its declared length is followed by zero bytes.
void PackRecord(const RecordLayout& layout, const void* record, void* out);

// Copies the packed form back into the record's slots. Byte arrays are first made writable
// (a constant array is replaced by a heap copy in its slot); no more than the smaller of the
// declared length and the array's element count is copied.
void UnpackRecord(const RecordLayout& layout, void* record, const void* packed);

// One argument of a DLL command call.
struct DllArg {
    enum class Kind : uint8_t { Value, Text, Record };
    Kind kind = Kind::Value;
    intptr_t value = 0;       // Value: integer, logical, handle or address (a variable by reference)
    const char* text = nullptr;  // Text: passed as the address of its first byte
    void* record = nullptr;   // Record: the tools' record, passed as a packed temporary
    const RecordLayout* layout = nullptr;

    static DllArg Of(intptr_t v) { return {Kind::Value, v}; }
    static DllArg OfPointer(const void* p) { return {Kind::Value, reinterpret_cast<intptr_t>(p)}; }
    static DllArg OfText(const char* t) { return {Kind::Text, 0, t}; }
    static DllArg OfRecord(void* r, const RecordLayout& l) { return {Kind::Record, 0, nullptr, r, &l}; }
};

constexpr size_t kMaxDllArguments = 16;

// Calls DLL command `index` (resolving it on first use) with the arguments; records are
// packed before and copied back after the call. Gives the routine's result register: the
// 32-bit result in the 32-bit build, the whole register in the 64-bit build. More than
// kMaxDllArguments arguments raise runtime error 11 (argument types do not fit).
intptr_t CallDllCommand(int32_t index, const DllArg* args, size_t count);
inline intptr_t CallDllCommand(int32_t index, std::initializer_list<DllArg> args) {
    return CallDllCommand(index, args.begin(), args.size());
}

// The raw call with the stack check: `routine` takes `count` pointer-wide arguments with
// the standard Windows calling convention. In the 32-bit build a routine that leaves the
// stack unbalanced (a wrong argument count or convention in the declaration) raises runtime
// error 6.
intptr_t CallWithStackCheck(void* routine, const intptr_t* args, size_t count);
