// The core commands that the tools reach through RtCallCoreCommand, and ShellOpen of the
// operating-system interface library. Each is a CommandRoutine: (result, count, args).
// Text, byte set and array results are fresh heap blocks owned by the caller; an empty
// text or byte set comes back as null.
#pragma once

// windows.h first, then its A/W switches that share names with commands are dropped (every
// platform call here names the W function itself). Its include guard keeps them dropped.
#include <windows.h>
#undef MessageBox
#undef CreateDirectory

#include <cstdint>

#include "runtime/command.h"
#include "runtime/value.h"

#define MG_COMMAND(name) void name(ArgValue* result, int32_t count, ArgValue* args)

// Conversions (conversion_commands.cpp).
MG_COMMAND(ToNumber);        // any basic value → double
MG_COMMAND(ToInteger);       // any basic value → integer
MG_COMMAND(ToText);          // basic value, byte set or numeric array → text
MG_COMMAND(ToBytes);         // basic value or numeric array → byte set
MG_COMMAND(MakeShort);       // low byte, high byte → short integer
MG_COMMAND(PointerToBytes);  // address, length → byte set

// Texts (text_commands.cpp).
MG_COMMAND(TextLength);  // text → byte count
MG_COMMAND(SplitText);   // text, [delimiter], [maximum count] → text array

// Program environment (system_commands.cpp).
MG_COMMAND(GetRunDirectory);     // → text
MG_COMMAND(GetCurrentDateTime);  // → date-time, local, whole seconds
MG_COMMAND(Sleep);               // milliseconds

// Files (file_commands.cpp).
MG_COMMAND(CreateDirectory);  // path → logical
MG_COMMAND(FileExists);       // path or pattern → logical
MG_COMMAND(ReadFile);         // path → byte set
MG_COMMAND(WriteFile);        // path, byte set, [byte set ...] → logical
MG_COMMAND(OpenFile);         // path, [open mode 1-6], [share mode 1-4] → file number
MG_COMMAND(CloseFile);        // file number
MG_COMMAND(ReadLine);         // file number → text
MG_COMMAND(WriteBytes);       // file number, byte set, [byte set ...] → logical
MG_COMMAND(IsEndOfFile);      // file number, [check terminator] → logical

// Dialogs and window capture (dialog_commands.cpp, capture_command.cpp).
MG_COMMAND(MessageBox);          // value, [flags], [caption], [owner] → button
MG_COMMAND(CaptureWindowImage);  // [window handle], [width], [height] → BMP file image

// Operating-system interface library (shell_commands.cpp).
MG_COMMAND(ShellOpen);  // [verb], file, [parameters], [directory], [show mode] → shell result

#undef MG_COMMAND

// Library 5, the operating-system interface library: command 0 is ShellOpen.
extern const LibraryInfo kShellLibrary;
