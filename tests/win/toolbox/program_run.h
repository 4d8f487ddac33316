// The real program started for a run that may end in a fatal report: copied into a fresh
// directory beside host files that name lab addresses only, started with test hooks in its
// environment, and watched until it ends: every message box it shows (answered with OK), whether
// its main window came up, and its exit code. Used by the tests and by the sweep tool.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/win/child_process.h"

struct ProgramRun {
    bool started = false;
    std::string notStarted;             // when it did not start: the step that failed, its error
    std::vector<MessageBoxSeen> boxes;  // in the order they showed
    bool windowShown = false;           // the main window "茗柜" came up
    bool closedByUs = false;            // no box came, so the main window was closed
    DWORD exitCode = STILL_ACTIVE;      // STILL_ACTIVE: it did not end in time and was killed
};

struct RunOptions {
    std::vector<std::wstring> environment;  // "NAME=value"
    // Once the main window is up and has shown no box for this long, it is closed (a run
    // that is expected to go on normally); 0 waits for a box or the end instead.
    DWORD closeAfterQuietMs = 0;
    DWORD timeoutMs = 30000;
};

// Host files of lab addresses (answering at once, after a delay, and never).
std::vector<std::pair<std::wstring, std::string>> LabHostFiles();

ProgramRun RunProgram(const RunOptions& options);

// Answers the started program's message boxes, noting each in `run`, until it ends (true) or
// the options' time is up (false; it still runs).
bool WatchToTheEnd(ChildProcess& child, ProgramRun& run, const RunOptions& options);

// The program run with this window template instead of its own (its test hook reads the file).
ProgramRun RunWithTemplate(const std::vector<uint8_t>& image, DWORD closeAfterQuietMs = 0);

// The text of the fatal report box for a message (code 0).
std::wstring FatalText(const std::wstring& message);

// Empty when the run ended the way a fatal allocation failure must: one box, captioned 错误,
// saying that an allocation of some byte count failed, and exit code -1. Otherwise what went
// wrong.
std::string AllocationFailureMisbehaviour(const ProgramRun& run);

// Empty when the run ended with the template message and exit code -1.
std::string TemplateFailureMisbehaviour(const ProgramRun& run);

// Empty when a run of a template that the reader accepted did not crash or hang: either the
// window came up and closed normally with no box, or one fatal box and exit code -1.
std::string AcceptedTemplateMisbehaviour(const ProgramRun& run);

// A one-line account of a run, for messages.
std::string Describe(const ProgramRun& run);

// The number of heap allocations of a normal start, counted when the main window is up with
// both result lists filled (the program's test hook answers it). 0 when it could not be asked.
uint64_t AllocationsUntilListsLoaded();
