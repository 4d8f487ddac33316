#include "runtime/program_path.h"

#include <gtest/gtest.h>

TEST(ProgramPath, WithoutABackslashTheWholePathIsTheFileName) {
    ProgramPath p = SplitProgramPath("minggui.exe");
    EXPECT_EQ(p.runDirectory, "");
    EXPECT_EQ(p.fileName, "minggui.exe");
    EXPECT_EQ(DirectoryWithBackslash("minggui.exe"), "");
}

TEST(ProgramPath, ADriveRootLeavesTheDriveAlone) {
    ProgramPath p = SplitProgramPath("D:\\minggui.exe");
    EXPECT_EQ(p.runDirectory, "D:");
    EXPECT_EQ(p.fileName, "minggui.exe");
    EXPECT_EQ(DirectoryWithBackslash("D:\\minggui.exe"), "D:\\");
}

TEST(ProgramPath, SplitsAtTheLastBackslashOutsideDoubleByteCharacters) {
    // "\x83\x5C" is one GBK character whose second byte is a backslash: not a separator.
    ProgramPath p = SplitProgramPath("C:\\tools\\a\x83\x5C.exe");
    EXPECT_EQ(p.runDirectory, "C:\\tools");
    EXPECT_EQ(p.fileName, "a\x83\x5C.exe");
    ProgramPath q = SplitProgramPath("C:\\\x83\x5C\\x.exe");
    EXPECT_EQ(q.runDirectory, "C:\\\x83\x5C");
    EXPECT_EQ(q.fileName, "x.exe");
}
