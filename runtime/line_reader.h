// The ReadLine and IsEndOfFile commands over an abstract open file, so that
// the scanning rules run natively in tests while the Windows side supplies a
// file handle behind the same interface.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// An open file as the line commands see it. Every call reports failure
// instead of throwing; a failed call leaves the position unspecified.
class ByteSource {
public:
    enum class From { Start, End };

    virtual ~ByteSource() = default;
    // Current position from the start; nullopt on error.
    virtual std::optional<uint64_t> Tell() = 0;
    // Length in bytes; nullopt on error.
    virtual std::optional<uint64_t> Length() = 0;
    // Moves to offset (from the start: 0 and up; from the end: 0 or less); false on error.
    virtual bool Seek(int64_t offset, From from) = 0;
    // Reads up to size bytes at the position and moves past them. Returns the
    // count read (0 at the end) or nullopt on error.
    virtual std::optional<size_t> Read(void* buffer, size_t size) = 0;
};

// Bytes read per step of ReadLine.
constexpr size_t kReadLineChunk = 512;

// The ReadLine command: bytes up to NUL, 0x1A or LF, scanned by GBK
// characters. The position ends just past an LF but on a NUL or 0x1A (which
// are never consumed); one final CR is dropped. A read error moves to the end
// of the file and gives an empty line. Empty means the command returns null.
//
// A lead byte followed by a NUL inside a chunk (never valid GBK) is taken as a
// byte of its own: it ends the line and the NUL is the terminator. A lead byte
// that ends a chunk is held back for the next chunk unless it is the chunk's
// only byte (then it is the file's last byte and is kept), so every step
// moves forward.
std::string ReadLine(ByteSource& file);

// The IsEndOfFile command: true at or past the end. Otherwise false, unless
// checkTerminator (the command's second argument given and equal to 1) is set
// and the next byte is NUL or 0x1A; that byte is read and the position put
// back. An error leaves the result as far as it got (true until shown otherwise).
bool IsEndOfFile(ByteSource& file, bool checkTerminator);
