#include "runtime/commands/replacement_file.h"

#include <windows.h>

#include <atomic>

namespace {

// Beside the file, unique in this process and told apart from other processes' by the id.
std::wstring TemporaryNameFor(const std::wstring& path) {
    static std::atomic<unsigned> counter{0};
    return path + L"." + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter) + L".tmp";
}

}  // namespace

ReplacementFile::ReplacementFile(const std::wstring& path) : path_(path), temporary_(TemporaryNameFor(path)) {
    file_.reset(CreateFileW(temporary_.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                            nullptr));
    if (file_) marked_ = MarkForDeletion(true);
}

ReplacementFile::~ReplacementFile() {
    if (!file_) return;
    file_.reset();
    if (!marked_) DeleteFileW(temporary_.c_str());
}

bool ReplacementFile::MarkForDeletion(bool gone) {
    FILE_DISPOSITION_INFO disposition = {};
    disposition.DeleteFile = gone ? TRUE : FALSE;
    return SetFileInformationByHandle(file_.get(), FileDispositionInfo, &disposition, sizeof disposition) != 0;
}

bool ReplacementFile::Write(const void* bytes, size_t size) {
    auto p = static_cast<const char*>(bytes);
    while (size > 0) {
        DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size), wrote = 0;
        if (!::WriteFile(file_.get(), p, chunk, &wrote, nullptr) || wrote == 0) return false;
        p += wrote;
        size -= wrote;
        wroteBytes_ = true;
    }
    return true;
}

bool ReplacementFile::PutInPlace() {
    // On the disk before it takes the name: a disk that fills up when the cache is written out
    // fails here, not under the file's name. An empty file has no bytes to lose, and a flush
    // costs a disk round trip: a first start makes two host files empty before filling them.
    if (!file_ || (wroteBytes_ && !FlushFileBuffers(file_.get()))) return false;
    if (marked_ && !MarkForDeletion(false)) return false;
    marked_ = false;
    file_.reset();
    if (MoveFileExW(temporary_.c_str(), path_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
    DeleteFileW(temporary_.c_str());
    return false;
}
