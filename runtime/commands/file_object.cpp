#include "runtime/commands/file_object.h"

#include "runtime/entries.h"
#include "runtime/gbk_text.h"

std::optional<uint64_t> FileObject::Tell() {
    LARGE_INTEGER zero = {}, position;
    if (!SetFilePointerEx(handle(), zero, &position, FILE_CURRENT)) return std::nullopt;
    return static_cast<uint64_t>(position.QuadPart);
}

std::optional<uint64_t> FileObject::Length() {
    LARGE_INTEGER size;
    if (!GetFileSizeEx(handle(), &size)) return std::nullopt;
    return static_cast<uint64_t>(size.QuadPart);
}

bool FileObject::Seek(int64_t offset, From from) {
    LARGE_INTEGER distance;
    distance.QuadPart = offset;
    return SetFilePointerEx(handle(), distance, nullptr, from == From::Start ? FILE_BEGIN : FILE_END) != 0;
}

std::optional<size_t> FileObject::Read(void* buffer, size_t size) {
    DWORD got = 0;
    if (size > 0x7FFFFFFF) size = 0x7FFFFFFF;  // one platform read takes a 32-bit count
    if (!::ReadFile(handle(), buffer, static_cast<DWORD>(size), &got, nullptr)) return std::nullopt;
    return got;
}

bool FileObject::Write(const void* bytes, size_t size) {
    auto p = static_cast<const char*>(bytes);
    while (size > 0) {
        DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size), wrote = 0;
        if (!::WriteFile(handle(), p, chunk, &wrote, nullptr) || wrote == 0) return false;
        p += wrote;
        size -= wrote;
    }
    return true;
}

FileObject* OpenFileObject(const char* path, int32_t openMode, int32_t shareMode) {
    static const DWORD kAccess[] = {GENERIC_READ,  GENERIC_WRITE, GENERIC_READ | GENERIC_WRITE,
                                    GENERIC_WRITE, GENERIC_WRITE, GENERIC_READ | GENERIC_WRITE};
    static const DWORD kDisposition[] = {OPEN_EXISTING, OPEN_EXISTING, OPEN_EXISTING,
                                         CREATE_ALWAYS, OPEN_ALWAYS,   OPEN_ALWAYS};
    // 1 others read and write, 2 others may not read, 3 others may not write, 4 neither.
    static const DWORD kShare[] = {FILE_SHARE_READ | FILE_SHARE_WRITE, FILE_SHARE_WRITE, FILE_SHARE_READ, 0};
    if (!path || !*path || openMode < 1 || openMode > 6 || shareMode < 1 || shareMode > 4) return nullptr;
    win::File file(CreateFileW(WideFromGbk(path).c_str(), kAccess[openMode - 1], kShare[shareMode - 1], nullptr,
                               kDisposition[openMode - 1], FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return nullptr;
    return new FileObject(std::move(file));
}

FileObject* RegisteredFile(void* number) {
    if (!number) return nullptr;
    intptr_t kind = RtNotify(kNotifyFileKind, reinterpret_cast<intptr_t>(number), 0);
    return kind == kFileKindPlain ? static_cast<FileObject*>(number) : nullptr;
}
