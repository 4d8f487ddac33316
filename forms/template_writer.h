// Little-endian writer matching TemplateCursor, used to build template images and type data.
// Like the cursor it has one sticky failure, set when a value has no encoding: a
// zero-terminated text holding a NUL, or a length that does not fit in 32 bits.
// Portable: no Windows header.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class TemplateWriter {
public:
    bool ok() const { return !failed_; }
    void Fail() { failed_ = true; }
    size_t size() const { return out_.size(); }
    const std::vector<uint8_t>& bytes() const { return out_; }
    std::vector<uint8_t> Take() { return std::move(out_); }

    void U8(uint8_t v) { out_.push_back(v); }
    void U16(uint16_t v) {
        out_.push_back(static_cast<uint8_t>(v));
        out_.push_back(static_cast<uint8_t>(v >> 8));
    }
    void U32(uint32_t v) {
        for (int i = 0; i < 4; ++i) out_.push_back(static_cast<uint8_t>(v >> (8 * i)));
    }
    void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }
    void Bytes(const void* p, size_t n) {
        const uint8_t* b = static_cast<const uint8_t*>(p);
        if (n) out_.insert(out_.end(), b, b + n);
    }
    void Bytes(const std::vector<uint8_t>& v) { Bytes(v.data(), v.size()); }

    void CountedBlock(const void* p, size_t n) {
        Length(n);
        Bytes(p, n);
    }
    void CountedBlock(const std::vector<uint8_t>& v) { CountedBlock(v.data(), v.size()); }
    void CountedText(std::string_view s) { CountedBlock(s.data(), s.size()); }
    void ZText(std::string_view s) {
        if (s.find('\0') != std::string_view::npos) Fail();
        Bytes(s.data(), s.size());
        U8(0);
    }

    // A u32 length field, failing for sizes the format cannot hold.
    void Length(size_t n) {
        if (n > 0xFFFFFFFFu) Fail();
        U32(static_cast<uint32_t>(n));
    }
    // Reserves a u32 to be filled in later with Patch32, e.g. a block length.
    size_t Placeholder32() {
        size_t at = out_.size();
        U32(0);
        return at;
    }
    void Patch32(size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) out_[at + i] = static_cast<uint8_t>(v >> (8 * i));
    }

private:
    std::vector<uint8_t> out_;
    bool failed_ = false;
};
