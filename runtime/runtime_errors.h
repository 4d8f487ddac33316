// The runtime error table and the text of the fatal report.
// Portable: the report text is built and tested natively; showing it is platform code.
#pragma once

#include <cstdint>
#include <string>

// Messages of the codes that RtReportError takes (1 to 11); null for any other code.
const char* RuntimeErrorMessage(int32_t code);

// Messages of fatal errors raised inside the runtime itself (error code 0).
namespace fatal_text {
extern const char kAllocationFailed[];      // printf format with one %d
extern const char kStartWindowFailed[];
extern const char kTemplateUnreadable[];
extern const char kUnitMissing[];
extern const char kWindowNotLoaded[];
extern const char kUnitWindowMissing[];
extern const char kEventWindowUnknown[];
extern const char kEventUnitUnknown[];
extern const char kEventUnitInvalid[];
extern const char kNotANumber[];
extern const char kDllCommandMissing[];      // two %s: library file, routine
extern const char kDllCommandMissingSystem[];  // one %s: routine
extern const char kCaption[];
}  // namespace fatal_text

// "运行时出错!" and two line breaks, then the code line when code != 0, then the message line
// when the message is not empty.
std::string BuildFatalReportText(const char* message, int32_t code);

// The allocation message with the byte count filled in.
std::string AllocationFailedMessage(uint64_t byteCount);

// A message with printf-style %s fields filled from GBK texts (DLL command messages).
std::string FormatFatalMessage(const char* format, const char* first, const char* second = nullptr);
