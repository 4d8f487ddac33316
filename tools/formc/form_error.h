// The form compiler's one error: a message that names the source line, the unit and the key.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

struct FormError {
    std::string message;
};

[[noreturn]] inline void Throw(std::string message) { throw FormError{std::move(message)}; }

inline std::string HexId(uint32_t v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%08X", v);
    return buf;
}
