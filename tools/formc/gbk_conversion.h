// Texts of the form source (UTF-8) as the template stores them (GBK).
#pragma once

#include <string>
#include <string_view>

// The GBK form of a UTF-8 text; a FormError naming `where` when a character has no GBK form,
// the text is not UTF-8, or it holds a NUL.
std::string Utf8ToGbk(std::string_view text, const std::string& where);
