// A whole file written as one step: the bytes go into a temporary file beside it, which takes
// the file's name only once every byte is on the disk. A write that fails part way (a full
// disk) leaves the file that was there, or none, under the name. While it is written the
// temporary file is marked for deletion, so that it goes with its handle even when the
// process ends before it is put in place (a fatal report, a crash).
#pragma once

#include <cstddef>
#include <string>

#include "runtime/win32_handles.h"

class ReplacementFile {
public:
    // Creates the temporary file beside `path`; every name is made before the file is, so
    // nothing on the disk is left behind by an allocation that fails.
    explicit ReplacementFile(const std::wstring& path);
    ~ReplacementFile();  // not put in place: the temporary file goes
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    bool opened() const { return static_cast<bool>(file_); }
    bool Write(const void* bytes, size_t size);
    // Puts the written file in place of `path`, replacing one that is there. False when it
    // could not: the temporary file is then gone and `path` untouched.
    bool PutInPlace();

private:
    bool MarkForDeletion(bool gone);

    std::wstring path_;
    std::wstring temporary_;
    win::File file_;
    bool marked_ = false;  // the system deletes it when the handle closes
    bool wroteBytes_ = false;
};
