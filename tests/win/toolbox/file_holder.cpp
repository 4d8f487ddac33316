// Another program holding a file: opens the file named by its argument for reading with no
// sharing at all, as some editors and backup tools do, and keeps it open until it is ended.
#include <windows.h>

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    HANDLE file = CreateFileW(argv[1], GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    Sleep(INFINITE);
    return 0;
}
