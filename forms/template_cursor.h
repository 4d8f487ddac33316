// Bounded little-endian reader over a byte range: the only way template bytes are read.
// A read that does not fit sets one sticky failure, moves the cursor to the end and yields
// zero or empty, so callers read a whole record and check ok() once at its boundary.
// Every count is compared with the bytes left before anything is allocated.
// Portable: no Windows header.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

class TemplateCursor {
public:
    TemplateCursor() = default;
    TemplateCursor(const uint8_t* data, size_t size) : data_(data), size_(data ? size : 0) {}

    bool ok() const { return !failed_; }
    size_t position() const { return pos_; }
    size_t size() const { return size_; }
    size_t remaining() const { return size_ - pos_; }
    bool AtEnd() const { return pos_ == size_; }
    const uint8_t* here() const { return data_ + pos_; }

    // Marks the data malformed, for checks the cursor cannot make itself.
    void Fail() {
        failed_ = true;
        pos_ = size_;
    }

    uint8_t U8() {
        uint8_t v = 0;
        Copy(&v, 1);
        return v;
    }
    uint16_t U16() {
        uint8_t b[2] = {};
        Copy(b, 2);
        return static_cast<uint16_t>(b[0] | (b[1] << 8));
    }
    uint32_t U32() {
        uint8_t b[4] = {};
        Copy(b, 4);
        return uint32_t{b[0]} | (uint32_t{b[1]} << 8) | (uint32_t{b[2]} << 16) | (uint32_t{b[3]} << 24);
    }
    int32_t I32() { return static_cast<int32_t>(U32()); }

    // n raw bytes as a view into the data; nullptr when they are not there.
    const uint8_t* Take(size_t n) {
        if (failed_ || n > remaining()) {
            Fail();
            return nullptr;
        }
        if (n == 0) return &kNothing;  // never null on success, even for an empty range
        const uint8_t* p = data_ + pos_;
        pos_ += n;
        return p;
    }
    void Skip(size_t n) { Take(n); }
    bool Copy(void* out, size_t n) {
        const uint8_t* p = Take(n);
        if (!p) return false;
        if (n) std::memcpy(out, p, n);
        return true;
    }
    std::vector<uint8_t> Fixed(size_t n) {
        const uint8_t* p = Take(n);
        return p ? std::vector<uint8_t>(p, p + n) : std::vector<uint8_t>{};
    }

    // u32 length, then that many bytes.
    std::vector<uint8_t> CountedBlock() {
        uint32_t n = U32();
        return Fixed(n);
    }
    std::string CountedText() {
        uint32_t n = U32();
        const uint8_t* p = Take(n);
        return p ? std::string(reinterpret_cast<const char*>(p), n) : std::string{};
    }
    // A counted block read as a cursor of its own, for nested layouts.
    TemplateCursor CountedCursor() {
        uint32_t n = U32();
        return Sub(n);
    }
    // The next n bytes as a cursor of their own; this cursor moves past them.
    TemplateCursor Sub(size_t n) {
        const uint8_t* p = Take(n);
        if (!p) {
            TemplateCursor dead;
            dead.failed_ = true;
            return dead;
        }
        return TemplateCursor(p, n);
    }

    // Bytes up to a NUL, which is consumed and not returned. No NUL before the end fails.
    std::string ZText() {
        if (failed_) return {};
        const void* nul = std::memchr(data_ + pos_, 0, remaining());
        if (!nul) {
            Fail();
            return {};
        }
        size_t n = static_cast<size_t>(static_cast<const uint8_t*>(nul) - (data_ + pos_));
        std::string s(reinterpret_cast<const char*>(data_ + pos_), n);
        pos_ += n + 1;
        return s;
    }

    // Guards an element count read from the data: false (and failure) unless count
    // elements of at least minSize bytes each can still follow.
    bool CountFits(uint64_t count, size_t minSize) {
        if (failed_ || (minSize && count > remaining() / minSize)) {
            Fail();
            return false;
        }
        return true;
    }

private:
    static constexpr uint8_t kNothing = 0;
    const uint8_t* data_ = nullptr;
    size_t size_ = 0;
    size_t pos_ = 0;
    bool failed_ = false;
};
