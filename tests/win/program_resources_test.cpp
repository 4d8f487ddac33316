// The built program file as Explorer sees it: its version block (product name in Chinese, the
// build's version) and its icon group with the four sizes; and no icon under the name the
// runtime would put on the main window's caption.
#include <gtest/gtest.h>

#include <windows.h>

#include <cwchar>
#include <set>
#include <string>
#include <vector>

namespace {

std::wstring ProgramPath() {
    std::wstring path = L"" MG_PROGRAM_EXE;
    for (wchar_t& c : path)
        if (c == L'/') c = L'\\';
    return path;
}

std::wstring StringValue(const std::vector<char>& block, const wchar_t* name) {
    std::wstring key = std::wstring(L"\\StringFileInfo\\080404b0\\") + name;
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), key.c_str(), &value, &length) || !value) return L"<missing>";
    return static_cast<const wchar_t*>(value);
}

#pragma pack(push, 2)
struct GroupIconEntry {  // GRPICONDIRENTRY: an icon directory entry as a resource holds it
    BYTE width, height, colours, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

}  // namespace

TEST(ProgramResources, VersionBlockNamesTheProductInChineseWithTheBuildsVersion) {
    const std::wstring path = ProgramPath();
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    ASSERT_GT(size, 0u) << "no version block, error " << GetLastError();
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, block.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
    unsigned major = 0, minor = 0, patch = 0;
    ASSERT_EQ(swscanf(L"" MG_PROGRAM_VERSION, L"%u.%u.%u", &major, &minor, &patch), 3);
    EXPECT_EQ(fixed->dwFileVersionMS, (major << 16) | minor);
    EXPECT_EQ(fixed->dwFileVersionLS, patch << 16);
    EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);

    // Explorer looks the texts up by the language and code page the translation table names.
    WORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                               &length));
    ASSERT_GE(length, 4u);
    EXPECT_EQ(translation[0], 0x0804);
    EXPECT_EQ(translation[1], 1200);

    EXPECT_EQ(StringValue(block, L"ProductName"), L"茗柜");
    EXPECT_EQ(StringValue(block, L"FileDescription"), L"茗柜 网吧前台工具箱");
    EXPECT_EQ(StringValue(block, L"FileVersion"), L"" MG_PROGRAM_VERSION);
    EXPECT_EQ(StringValue(block, L"ProductVersion"), L"" MG_PROGRAM_VERSION);
    EXPECT_EQ(StringValue(block, L"LegalCopyright").rfind(L"\u00a9 ", 0), 0u);
}

TEST(ProgramResources, IconGroupHoldsFourSizesAndNoneIsNamedForTheCaption) {
    HMODULE program = LoadLibraryExW(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(program, nullptr) << GetLastError();

    HRSRC group = FindResourceW(program, L"MINGGUI_ICON", MAKEINTRESOURCEW(14));  // RT_GROUP_ICON
    ASSERT_NE(group, nullptr);
    auto* directory = static_cast<const WORD*>(LockResource(LoadResource(program, group)));
    ASSERT_NE(directory, nullptr);
    ASSERT_EQ(directory[1], 1);  // icons, not cursors
    const WORD count = directory[2];
    ASSERT_EQ(count, 4);
    auto* entries = reinterpret_cast<const GroupIconEntry*>(directory + 3);
    std::set<int> sizes;
    for (WORD i = 0; i < count; ++i) {
        const int side = entries[i].width ? entries[i].width : 256;
        sizes.insert(side);
        EXPECT_EQ(entries[i].bitCount, 32);
        // Each size is an image the platform can make an icon of, at that size.
        HRSRC image = FindResourceW(program, MAKEINTRESOURCEW(entries[i].id), MAKEINTRESOURCEW(3));  // RT_ICON
        ASSERT_NE(image, nullptr) << side;
        ASSERT_EQ(SizeofResource(program, image), entries[i].bytes);
        auto* bits = static_cast<BYTE*>(LockResource(LoadResource(program, image)));
        HICON icon = CreateIconFromResourceEx(bits, entries[i].bytes, TRUE, 0x00030000, side, side, 0);
        ASSERT_NE(icon, nullptr) << side;
        ICONINFO info = {};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP bm = {};
        GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bm, &bm);
        EXPECT_EQ(bm.bmWidth, side);
        if (info.hbmColor) DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
    }
    EXPECT_EQ(sizes, (std::set<int>{16, 32, 48, 256}));

    // The runtime gives an icon of this name to windows whose form names none: the main
    // window's caption keeps the platform's application icon.
    EXPECT_EQ(FindResourceW(program, L"DEFAULT_ICON", MAKEINTRESOURCEW(14)), nullptr);
    FreeLibrary(program);
}
