// File commands: whole files by path, numbered open files, directories.
#include <cstring>
#include <string>

#include "runtime/commands/command_args.h"
#include "runtime/commands/core_commands.h"
#include "runtime/commands/file_object.h"
#include "runtime/commands/replacement_file.h"
#include "runtime/entries.h"
#include "runtime/gbk_text.h"
#include "runtime/heap.h"
#include "runtime/line_reader.h"

namespace {

std::wstring WidePath(int32_t count, ArgValue* args) { return WideFromGbk(cmd::TextOr(count, args, 0, "")); }

// Byte set arguments from the second on, in order; null and empty ones are skipped.
template <typename Sink>
bool WriteByteSetArguments(int32_t count, ArgValue* args, Sink&& write) {
    for (int32_t i = 1; i < count; ++i) {
        const void* block = args[i].Pointer();
        uint32_t length = array_block::ByteSetLength(block);
        if (length == 0) continue;
        if (!write(array_block::ByteSetData(block), length)) return false;
    }
    return true;
}

// Reads the whole file into a fresh byte set; null when it is empty or unreadable.
void* ReadWholeFile(HANDLE h) {
    LARGE_INTEGER size;
    if (!GetFileSizeEx(h, &size) || size.QuadPart <= 0) return nullptr;
    // A byte set counts its length in 32 bits; a larger file cannot be one.
    if (static_cast<uint64_t>(size.QuadPart) > 0x7FFFFFF0u) return nullptr;
    auto length = static_cast<uint32_t>(size.QuadPart);
    auto block = static_cast<char*>(NewByteSet(nullptr, length));
    uint32_t have = 0;
    while (have < length) {
        DWORD got = 0;
        if (!::ReadFile(h, block + 8 + have, length - have, &got, nullptr)) {
            RtFree(block);
            return nullptr;
        }
        if (got == 0) break;  // the file shrank meanwhile: what was read is the content
        have += got;
    }
    if (have == 0) {
        RtFree(block);
        return nullptr;
    }
    if (have < length) std::memcpy(block + 4, &have, 4);
    return block;
}

}  // namespace

void CreateDirectory(ArgValue* result, int32_t count, ArgValue* args) {
    cmd::SetBool(result, CreateDirectoryW(WidePath(count, args).c_str(), nullptr) != 0);
}

void FileExists(ArgValue* result, int32_t count, ArgValue* args) {
    const char* path = cmd::TextOr(count, args, 0, "");
    bool found = false;
    if (*path) {
        WIN32_FIND_DATAW data;
        found = static_cast<bool>(win::FindHandle(FindFirstFileW(WideFromGbk(path).c_str(), &data)));
    }
    cmd::SetBool(result, found);
}

void ReadFile(ArgValue* result, int32_t count, ArgValue* args) {
    cmd::SetByteSet(result, nullptr);
    const char* path = cmd::TextOr(count, args, 0, "");
    if (!*path) return;
    win::File file(CreateFileW(WideFromGbk(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return;
    cmd::SetByteSet(result, ReadWholeFile(file.get()));
}

// The file takes its new content whole or not at all: a write that fails part way leaves what
// was there (a half-written file would pass for a whole one).
void WriteFile(ArgValue* result, int32_t count, ArgValue* args) {
    cmd::SetBool(result, false);
    const char* path = cmd::TextOr(count, args, 0, "");
    if (!*path) return;
    ReplacementFile file(WideFromGbk(path));
    if (!file.opened()) return;
    bool written = WriteByteSetArguments(count, args, [&](const void* p, size_t n) { return file.Write(p, n); });
    cmd::SetBool(result, written && file.PutInPlace());
}

void OpenFile(ArgValue* result, int32_t count, ArgValue* args) {
    int32_t openMode = cmd::IntOr(count, args, 1, 3);
    int32_t shareMode = cmd::IntOr(count, args, 2, 1);
    FileObject* file = OpenFileObject(cmd::TextOr(count, args, 0, ""), openMode, shareMode);
    if (file) RtNotify(kNotifyAddFile, reinterpret_cast<intptr_t>(file), kFileKindPlain);
    cmd::SetHandle(result, file);
}

void CloseFile(ArgValue*, int32_t count, ArgValue* args) {
    FileObject* file = RegisteredFile(cmd::PointerOr(count, args, 0, nullptr));
    if (!file) return;
    RtNotify(kNotifyRemoveFile, reinterpret_cast<intptr_t>(file), 0);
    delete file;
}

void ReadLine(ArgValue* result, int32_t count, ArgValue* args) {
    cmd::SetText(result, nullptr);
    FileObject* file = RegisteredFile(cmd::PointerOr(count, args, 0, nullptr));
    if (!file) return;
    std::string line = ::ReadLine(*file);
    cmd::SetText(result, NewText(line.data(), line.size()));
}

void WriteBytes(ArgValue* result, int32_t count, ArgValue* args) {
    cmd::SetBool(result, false);
    FileObject* file = RegisteredFile(cmd::PointerOr(count, args, 0, nullptr));
    if (!file) return;
    std::optional<uint64_t> start = file->Tell();
    bool ok = WriteByteSetArguments(count, args, [&](const void* p, size_t n) { return file->Write(p, n); });
    if (!ok && start) file->Seek(static_cast<int64_t>(*start), ByteSource::From::Start);
    cmd::SetBool(result, ok);
}

void IsEndOfFile(ArgValue* result, int32_t count, ArgValue* args) {
    cmd::SetBool(result, true);
    FileObject* file = RegisteredFile(cmd::PointerOr(count, args, 0, nullptr));
    if (!file) return;
    bool checkTerminator = cmd::Given(count, args, 1) && cmd::Arg(count, args, 1).Int() == 1;
    cmd::SetBool(result, ::IsEndOfFile(*file, checkTerminator));
}
