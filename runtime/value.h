// The value model shared by the runtime, the form framework and the tools:
// the 12-byte argument record, its type tags and the array block layout.
// Portable: no Windows header, so conversions built on it run natively too.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

// Checked builds (every build but a release) make each typed accessor of ArgValue test the
// record's tag, so a value read as the wrong type stops the program instead of handing on
// garbage. MG_CHECK_VALUES is set by the build; MG_UNCHECKED_VALUES turns it off.
#if defined(MG_CHECK_VALUES) && !defined(MG_UNCHECKED_VALUES)
#define MG_VALUE_CHECKS 1
#else
#define MG_VALUE_CHECKS 0
#endif

// Reports a value read with an accessor its tag does not allow, then aborts (value.cpp).
[[noreturn]] void ValueTagMismatch(const char* accessor, uint32_t tag);

// Type tags. Basic types have the top bits 10; the six numeric ones end in 0x01.
enum TypeTag : uint32_t {
    kTagNone = 0,  // an omitted optional argument
    kTagByte = 0x80000101,
    kTagShort = 0x80000201,
    kTagInt = 0x80000301,
    kTagLong = 0x80000401,
    kTagFloat = 0x80000501,
    kTagDouble = 0x80000601,
    kTagBool = 0x80000002,
    kTagDateTime = 0x80000003,
    kTagText = 0x80000004,
    kTagBytes = 0x80000005,
    kTagSubroutine = 0x80000006,
    kTag8Bytes = 0x80000008,
};

constexpr uint32_t kArrayFlag = 0x20000000;

// A reference to a window or unit (UnitRef) carries the unit's type code as its tag; the
// core commands take a window by such a reference, whose tag is the window type's code. The
// other unit types are the form framework's and the controls' (controls/unit_types.h).
constexpr uint32_t kWindowTypeCode = 0x00010001;

// The id a window uses for its own record.
constexpr uint32_t kWindowRecordId = 0x06010000;

enum class TypeClass { None, Basic, UserDefined, Library };

constexpr bool IsArrayTag(uint32_t tag) { return (tag & kArrayFlag) != 0; }
constexpr uint32_t ElementTag(uint32_t tag) { return tag & ~kArrayFlag; }
constexpr bool IsNumericTag(uint32_t tag) { return (tag >> 30) == 2 && (tag & 0xFF) == 0x01 && !IsArrayTag(tag); }

constexpr TypeClass ClassOfTag(uint32_t tag) {
    tag = ElementTag(tag);
    if (tag == 0) return TypeClass::None;
    switch (tag >> 30) {
        case 2: return TypeClass::Basic;
        case 1: return TypeClass::UserDefined;
        default: return TypeClass::Library;
    }
}

// Size of a fixed-size basic value as raw bytes; 0 when the tag has none
// (texts and byte sets have a length of their own, see the conversions).
constexpr size_t RawSizeOfTag(uint32_t tag) {
    switch (tag) {
        case kTagByte: return 1;
        case kTagShort: return 2;
        case kTagInt:
        case kTagFloat:
        case kTagBool: return 4;
        case kTagSubroutine: return sizeof(void*);
        case kTagLong:
        case kTagDouble:
        case kTagDateTime:
        case kTag8Bytes: return 8;
        default: return 0;
    }
}

// Size of one element in an array of the given element tag. Texts, byte sets,
// routines and library objects are stored as pointers.
constexpr size_t ElementSizeOfTag(uint32_t tag) {
    tag = ElementTag(tag);
    switch (tag) {
        case kTagText:
        case kTagBytes:
        case kTagSubroutine: return sizeof(void*);
        default: {
            size_t raw = RawSizeOfTag(tag);
            return raw ? raw : sizeof(void*);
        }
    }
}

// The argument and result record: value low, value high, type tag.
// A pointer fills value low and, in a 64-bit build, value high.
struct ArgValue {
    uint32_t low = 0;
    uint32_t high = 0;
    uint32_t tag = 0;

    bool Given() const { return tag != 0; }

    // Typed reads. Each accepts the omitted record (all words 0, reading as 0) and the tags
    // that carry its kind of value; integers and logicals share the 32-bit form, handles and
    // file numbers travel as integers at pointer width.
    int32_t Int() const {
        Expect(tag == kTagInt || tag == kTagBool, "Int");
        return static_cast<int32_t>(low);
    }
    uint32_t Uint() const {
        Expect(tag == kTagInt || tag == kTagBool, "Uint");
        return low;
    }
    // A short lives in the low half of value low, a byte in its low byte; the bits above are
    // not part of the value.
    int16_t Short() const {
        Expect(tag == kTagShort, "Short");
        return static_cast<int16_t>(low);
    }
    uint8_t Byte() const {
        Expect(tag == kTagByte, "Byte");
        return static_cast<uint8_t>(low);
    }
    int64_t Long() const {
        Expect(tag == kTagLong, "Long");
        return static_cast<int64_t>(Bits());
    }
    double Double() const {
        Expect(tag == kTagDouble || tag == kTagDateTime, "Double");
        uint64_t bits = Bits();
        double d;
        std::memcpy(&d, &bits, sizeof d);
        return d;
    }
    float Float() const {
        Expect(tag == kTagFloat, "Float");
        float f;
        std::memcpy(&f, &low, sizeof f);
        return f;
    }
    bool Bool() const {
        Expect(tag == kTagBool || tag == kTagInt, "Bool");
        return low != 0;
    }
    void* Pointer() const {
        Expect(tag == kTagInt || tag == kTagText || tag == kTagBytes || tag == kTagSubroutine || IsArrayTag(tag),
               "Pointer");
        return RawPointer();
    }
    const char* Text() const {
        Expect(tag == kTagText, "Text");
        return static_cast<const char*>(RawPointer());
    }
    // The two value words as they are, whatever the tag: for code that dispatches on the
    // tag itself or passes a record on unread.
    uint64_t Bits() const { return (static_cast<uint64_t>(high) << 32) | low; }
    void* RawPointer() const {
        if constexpr (sizeof(void*) == 8)
            return reinterpret_cast<void*>(static_cast<uintptr_t>(Bits()));
        else
            return reinterpret_cast<void*>(static_cast<uintptr_t>(low));
    }

    static ArgValue OfInt(int32_t v) { return {static_cast<uint32_t>(v), 0, kTagInt}; }
    static ArgValue OfBool(bool v) { return {v ? 1u : 0u, 0, kTagBool}; }
    static ArgValue OfShort(int16_t v) { return {static_cast<uint16_t>(v), 0, kTagShort}; }
    static ArgValue OfByte(uint8_t v) { return {v, 0, kTagByte}; }
    static ArgValue OfBits(uint64_t bits, uint32_t tag) {
        return {static_cast<uint32_t>(bits), static_cast<uint32_t>(bits >> 32), tag};
    }
    static ArgValue OfLong(int64_t v) { return OfBits(static_cast<uint64_t>(v), kTagLong); }
    static ArgValue OfDouble(double d, uint32_t tag = kTagDouble) {
        uint64_t bits;
        std::memcpy(&bits, &d, sizeof bits);
        return OfBits(bits, tag);
    }
    static ArgValue OfFloat(float f) {
        uint32_t bits;
        std::memcpy(&bits, &f, sizeof bits);
        return {bits, 0, kTagFloat};
    }
    static ArgValue OfPointer(const void* p, uint32_t tag) {
        return OfBits(static_cast<uint64_t>(reinterpret_cast<uintptr_t>(p)), tag);
    }
    static ArgValue OfText(const char* text) { return OfPointer(text, kTagText); }
    // A window or unit reference: window id, unit id and the unit's type code.
    static ArgValue OfUnit(uint32_t windowId, uint32_t unitId, uint32_t typeCode) {
        return {windowId, unitId, typeCode};
    }

private:
    void Expect(bool allowed, const char* accessor) const {
        if constexpr (MG_VALUE_CHECKS) {
            if (!allowed && tag != kTagNone) ValueTagMismatch(accessor, tag);
        } else {
            (void)allowed, (void)accessor;
        }
    }
};
static_assert(sizeof(ArgValue) == 12, "ArgValue is three 32-bit words");

// Array block: u32 dimension count, that many u32 sizes, then packed elements.
namespace array_block {

inline uint32_t DimensionCount(const void* block) {
    uint32_t n;
    std::memcpy(&n, block, 4);
    return n;
}

inline uint32_t DimensionSize(const void* block, uint32_t i) {
    uint32_t n;
    std::memcpy(&n, static_cast<const char*>(block) + 4 + 4 * i, 4);
    return n;
}

inline size_t HeaderSize(const void* block) { return 4 + 4 * size_t{DimensionCount(block)}; }

// Product of the dimension sizes; 0 for a null block.
inline uint64_t ElementCount(const void* block) {
    if (!block) return 0;
    uint32_t dims = DimensionCount(block);
    if (dims == 0) return 0;
    uint64_t count = 1;
    for (uint32_t i = 0; i < dims; ++i) count *= DimensionSize(block, i);
    return count;
}

inline char* Data(void* block) { return static_cast<char*>(block) + HeaderSize(block); }
inline const char* Data(const void* block) { return static_cast<const char*>(block) + HeaderSize(block); }

// A byte set is a one-dimensional byte array; null counts as empty.
inline uint32_t ByteSetLength(const void* block) { return block ? DimensionSize(block, 0) : 0; }
inline const uint8_t* ByteSetData(const void* block) {
    return reinterpret_cast<const uint8_t*>(static_cast<const char*>(block) + 8);
}

inline void* PointerElement(const void* block, uint64_t index0) {
    void* p;
    std::memcpy(&p, Data(block) + index0 * sizeof(void*), sizeof p);
    return p;
}
inline void SetPointerElement(void* block, uint64_t index0, const void* p) {
    std::memcpy(Data(block) + index0 * sizeof(void*), &p, sizeof p);
}

}  // namespace array_block
