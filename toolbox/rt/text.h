// Texts and byte sets as the tools hold them. A command or property read hands back a fresh
// heap block: Text, Bytes and TextArray own such blocks and free them through the entry
// table (RtFree, which leaves constants alone) when they go. Literal texts of the tools are
// borrowed: they travel as TextView and are never freed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <utility>

#include "runtime/value.h"

namespace rt {

// The tools' constant empty text and empty byte set, passed wherever a text or byte set
// argument would otherwise be null.
const char* EmptyText();
const void* EmptyByteSet();

// Frees a block that a command handed out (null and constants are ignored).
void FreeBlock(void* block);

class Text;

// A borrowed text: a literal, a text of the tools' constant block, or a Text that outlives
// the call. Never null.
class TextView {
public:
    TextView(const char* text) : p_(text ? text : EmptyText()) {}  // NOLINT: literals convert
    TextView(const Text& text);                                      // NOLINT
    const char* c_str() const { return p_; }
    std::string_view view() const { return p_; }
    ArgValue Arg() const { return ArgValue::OfText(p_); }

private:
    const char* p_;
};

// An owned text: the GBK bytes of a fresh heap block, or null for the empty text.
class Text {
public:
    Text() = default;
    // Takes over a block that a command or property read returned.
    static Text Adopt(char* fresh) {
        Text t;
        t.p_ = fresh;
        return t;
    }
    Text(Text&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    Text& operator=(Text&& o) noexcept {
        if (this != &o) FreeBlock(std::exchange(p_, std::exchange(o.p_, nullptr)));
        return *this;
    }
    Text(const Text&) = delete;
    Text& operator=(const Text&) = delete;
    ~Text() { FreeBlock(p_); }

    const char* c_str() const { return p_ ? p_ : EmptyText(); }
    std::string_view view() const { return c_str(); }
    bool empty() const { return !p_ || !*p_; }
    size_t size() const { return view().size(); }
    bool operator==(std::string_view other) const { return view() == other; }
    ArgValue Arg() const { return ArgValue::OfText(c_str()); }
    // Gives the block up to a caller that frees it itself.
    char* Release() { return std::exchange(p_, nullptr); }

private:
    char* p_ = nullptr;
};

inline TextView::TextView(const Text& text) : p_(text.c_str()) {}

// Concatenation: the texts one after another in a fresh block (never null, even when empty).
Text Concat(std::initializer_list<TextView> texts);

// An owned byte set, or null for the empty byte set.
class Bytes {
public:
    Bytes() = default;
    static Bytes Adopt(void* fresh) {
        Bytes b;
        b.p_ = fresh;
        return b;
    }
    Bytes(Bytes&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    Bytes& operator=(Bytes&& o) noexcept {
        if (this != &o) FreeBlock(std::exchange(p_, std::exchange(o.p_, nullptr)));
        return *this;
    }
    Bytes(const Bytes&) = delete;
    Bytes& operator=(const Bytes&) = delete;
    ~Bytes() { FreeBlock(p_); }

    size_t size() const { return array_block::ByteSetLength(p_); }
    bool empty() const { return size() == 0; }
    const uint8_t* data() const { return p_ ? array_block::ByteSetData(p_) : nullptr; }
    std::string_view view() const { return {reinterpret_cast<const char*>(data()), size()}; }
    // As an argument: the constant empty byte set in place of null.
    ArgValue Arg() const { return ArgValue::OfPointer(p_ ? p_ : EmptyByteSet(), kTagBytes); }

private:
    void* p_ = nullptr;
};

// An owned one-dimensional array of texts (SplitText's result): the block and every member.
class TextArray {
public:
    TextArray() = default;
    static TextArray Adopt(void* fresh) {
        TextArray a;
        a.p_ = fresh;
        return a;
    }
    // A fresh array with no members, copied from the constant empty array.
    static TextArray Empty();
    TextArray(TextArray&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    TextArray& operator=(TextArray&& o) noexcept {
        if (this != &o) {
            Free();
            p_ = std::exchange(o.p_, nullptr);
        }
        return *this;
    }
    TextArray(const TextArray&) = delete;
    TextArray& operator=(const TextArray&) = delete;
    ~TextArray() { Free(); }

    size_t size() const { return static_cast<size_t>(array_block::ElementCount(p_)); }
    // Member i (0-based); an empty member reads as the empty text.
    const char* operator[](size_t i) const;
    void* Release() { return std::exchange(p_, nullptr); }

private:
    void Free();
    void* p_ = nullptr;
};

// A text array kept in the tools' module-level state. Trivially destructible on purpose:
// the tools' exit routine frees it after the program's main routine has returned, so no
// destructor may run again later.
struct StaticTextArray {
    void* block = nullptr;

    // Frees the array held so far and keeps `array` instead.
    void Replace(TextArray&& array);
    void Free() { Replace(TextArray()); }
    size_t size() const { return static_cast<size_t>(array_block::ElementCount(block)); }
    const char* operator[](size_t i) const;
};

}  // namespace rt
