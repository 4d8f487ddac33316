#include "runtime/line_reader.h"

#include "runtime/gbk.h"

namespace {

constexpr uint8_t kEndOfText = 0x1A;

bool IsTerminator(uint8_t b) { return b == 0 || b == kEndOfText || b == '\n'; }

// Result of scanning one chunk.
struct Scan {
    size_t take;    // bytes that belong to the line
    size_t resume;  // offset in the chunk where the next read starts
    bool done;      // a terminator ended the line
};

Scan ScanChunk(const uint8_t* chunk, size_t count) {
    size_t i = 0;
    while (i < count) {
        uint8_t b = chunk[i];
        if (IsTerminator(b)) return {i, b == '\n' ? i + 1 : i, true};
        if (!gbk::IsLeadByte(b)) {
            ++i;
            continue;
        }
        if (i + 1 == count) {
            // The character is cut by the chunk's end: hold its lead byte back,
            // unless it is all the chunk holds (the file ends there).
            if (count == 1) return {count, count, false};
            return {i, i, false};
        }
        if (chunk[i + 1] == 0) return {i + 1, i + 1, true};  // lone lead byte, then the NUL ends the line
        i += 2;
    }
    return {count, count, false};
}

}  // namespace

std::string ReadLine(ByteSource& file) {
    std::string line;
    uint8_t chunk[kReadLineChunk];
    for (;;) {
        std::optional<uint64_t> start = file.Tell();
        if (!start) break;
        std::optional<size_t> count = file.Read(chunk, sizeof chunk);
        if (!count || *count > sizeof chunk) break;
        if (*count == 0) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            return line;
        }
        Scan scan = ScanChunk(chunk, *count);
        line.append(reinterpret_cast<const char*>(chunk), scan.take);
        if (scan.resume != *count && !file.Seek(static_cast<int64_t>(*start + scan.resume), ByteSource::From::Start))
            break;
        if (scan.done) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            return line;
        }
    }
    // A failing file: give nothing and leave it at its end, so a reading loop stops.
    file.Seek(0, ByteSource::From::End);
    return {};
}

bool IsEndOfFile(ByteSource& file, bool checkTerminator) {
    std::optional<uint64_t> position = file.Tell();
    if (!position) return true;
    std::optional<uint64_t> length = file.Length();
    if (!length || *position >= *length) return true;
    if (!checkTerminator) return false;
    uint8_t next = 0;
    std::optional<size_t> count = file.Read(&next, 1);
    bool result = !(count && *count == 1 && next != 0 && next != kEndOfText);
    file.Seek(static_cast<int64_t>(*position), ByteSource::From::Start);
    return result;
}
