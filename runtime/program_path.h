// Splitting the program's full path into run directory and file name. Portable.
#pragma once

#include <string>

struct ProgramPath {
    std::string runDirectory;  // before the last backslash; empty without one
    std::string fileName;      // after the last backslash; the whole path without one
};

// Splits at the last backslash that is not the second byte of a GBK character.
ProgramPath SplitProgramPath(const std::string& fullPath);

// The directory with its trailing backslash (everything up to and including the last one).
std::string DirectoryWithBackslash(const std::string& fullPath);
