// The file object behind a file number: an open platform file with a position, read,
// write and seek. OpenFile enters each object into the runtime's file object registry
// with kind 1, and the number the tools hold is the object's address.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <optional>

#include "runtime/line_reader.h"
#include "runtime/win32_handles.h"

constexpr uint8_t kFileKindPlain = 1;

class FileObject final : public ByteSource {
public:
    // Takes the open file over; it is closed with the object (an error while closing is ignored).
    explicit FileObject(win::File file) : file_(std::move(file)) {}

    std::optional<uint64_t> Tell() override;
    std::optional<uint64_t> Length() override;
    bool Seek(int64_t offset, From from) override;
    std::optional<size_t> Read(void* buffer, size_t size) override;
    // Writes all bytes at the position; false on any error.
    bool Write(const void* bytes, size_t size);

private:
    HANDLE handle() const { return file_.get(); }
    win::File file_;
};

// Opens `path` (GBK) with an open mode 1-6 and a share mode 1-4; null on failure or when
// a mode is out of range.
FileObject* OpenFileObject(const char* path, int32_t openMode, int32_t shareMode);

// The registered plain file object that a file number names, or null.
FileObject* RegisteredFile(void* number);
