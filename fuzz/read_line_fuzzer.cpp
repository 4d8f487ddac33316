// ReadLine over an in-memory file until its end. Byte 0 picks a read that
// fails (1..31) or none; the rest is the file. Every call must end after a
// bounded number of reads, and the lines with their terminators must account
// for every byte of the file.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "runtime/line_reader.h"

namespace {

class MemoryFile : public ByteSource {
public:
    MemoryFile(std::string content, int failRead) : data_(std::move(content)), failRead_(failRead) {}

    std::optional<uint64_t> Tell() override { return pos_; }
    std::optional<uint64_t> Length() override { return data_.size(); }
    bool Seek(int64_t offset, From from) override {
        int64_t base = from == From::Start ? 0 : static_cast<int64_t>(data_.size());
        if (base + offset < 0) return false;
        pos_ = static_cast<uint64_t>(base + offset);
        return true;
    }
    std::optional<size_t> Read(void* buffer, size_t size) override {
        if (++reads == failRead_) {
            failed = true;
            return std::nullopt;
        }
        if (pos_ >= data_.size()) return 0;
        size_t n = std::min<size_t>(size, data_.size() - pos_);
        std::memcpy(buffer, data_.data() + pos_, n);
        pos_ += n;
        return n;
    }

    uint64_t pos() const { return pos_; }
    int reads = 0;
    bool failed = false;

private:
    std::string data_;
    int failRead_;
    uint64_t pos_ = 0;
};

bool IsStopByte(char c) { return c == '\0' || c == '\x1A'; }

// The same line scanned over the whole rest of the file at once: reading in
// chunks must not change it. Gives the line and the position after the call.
std::string WholeScan(const std::string& s, size_t start, size_t& end) {
    size_t i = start;
    std::string line;
    end = s.size();
    while (i < s.size()) {
        unsigned char b = static_cast<unsigned char>(s[i]);
        if (IsStopByte(s[i]) || b == '\n') {
            end = b == '\n' ? i + 1 : i;
            break;
        }
        if (b >= 0x80 && i + 1 < s.size()) {
            if (s[i + 1] == '\0') {
                i += 1;
                end = i;
                break;
            }
            i += 2;
        } else {
            i += 1;
        }
    }
    line = s.substr(start, std::min(i, s.size()) - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    int failRead = data[0] < 32 ? data[0] : 0;
    std::string content(reinterpret_cast<const char*>(data + 1), size - 1);
    MemoryFile file(content, failRead);

    size_t calls = 0;
    while (!IsEndOfFile(file, false)) {
        if (++calls > content.size() + 1) std::abort();  // no progress
        uint64_t start = file.pos();
        int readsBefore = file.reads;
        file.failed = false;
        std::string line = ReadLine(file);
        uint64_t end = file.pos();
        int reads = file.reads - readsBefore;

        if (file.failed) {
            if (!line.empty() || end != content.size()) std::abort();
            return 0;
        }
        if (end < start || end > content.size()) std::abort();
        // Each chunk but the last two moves on by at least 511 bytes.
        if (static_cast<uint64_t>(reads) > (end - start) / (kReadLineChunk - 1) + 3) std::abort();
        if (line.find('\0') != std::string::npos) std::abort();

        size_t expectedEnd = 0;
        if (line != WholeScan(content, start, expectedEnd) || end != expectedEnd) std::abort();

        std::string segment = content.substr(start, end - start);
        if (segment.compare(0, line.size(), line) != 0) std::abort();
        std::string rest = segment.substr(std::min(line.size(), segment.size()));
        if (line.size() > segment.size()) std::abort();
        if (rest != "" && rest != "\r" && rest != "\n" && rest != "\r\n") std::abort();
        bool endedByLf = !rest.empty() && rest.back() == '\n';
        if (!endedByLf && end != content.size() && !IsStopByte(content[end])) std::abort();

        if (end == start) {
            // Stuck on NUL or 0x1A: only the terminator check sees it; skip it as a caller would.
            if (!line.empty() || !IsStopByte(content[start])) std::abort();
            if (!IsEndOfFile(file, true) || file.pos() != start) std::abort();
            file.Seek(static_cast<int64_t>(start + 1), ByteSource::From::Start);
        }
    }
    if (file.pos() != content.size()) std::abort();
    return 0;
}
