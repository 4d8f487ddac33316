// The SplitText command's scan: a GBK text cut at a delimiter, moving by whole
// characters so that a delimiter never matches across a character boundary.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Members of text split at delimiter (the command's default is ","). With a
// maximum (negative counts as 0) at most that many members, the rest dropped.
// Empty text or maximum 0: no members; empty delimiter: the whole text.
// Adjacent delimiters give empty members (an empty string stands for a null
// member); the text after the last delimiter is a member only when not empty.
std::vector<std::string> SplitText(const char* text, const char* delimiter,
                                   std::optional<int32_t> maximum = std::nullopt);
