// A small DLL for the DLL command tests. Two copies are built with the same file name and a
// different MG_PROBE_VARIANT, so a test can tell which copy the search found.
#include <windows.h>

#include <cstdint>
#include <cstring>

#ifndef MG_PROBE_VARIANT
#define MG_PROBE_VARIANT 1
#endif

extern "C" {

int32_t WINAPI WhoAmI() { return MG_PROBE_VARIANT; }

// Exported by ordinal 12 only (see probe_dll.def).
int32_t WINAPI OrdinalTwelve() { return 1212; }

// Eight arguments, as many as the ICMP echo call takes: their order must survive the call.
int64_t WINAPI WeighEight(intptr_t a, intptr_t b, intptr_t c, intptr_t d, intptr_t e, intptr_t f, intptr_t g,
                          intptr_t h) {
    return a + 2 * b + 3 * c + 4 * d + 5 * e + 6 * f + 7 * g + 8 * h;
}

int32_t WINAPI TextBytes(const char* text) { return static_cast<int32_t>(std::strlen(text)); }

// The packed record of the marshalling test, at declared widths without padding:
// byte, short, int, 6-byte array, nested {byte, int}, pointer.
// Reads every member, writes new values, and gives a checksum of what it read.
int32_t WINAPI FillRecord(unsigned char* r) {
    uint8_t b = r[0];
    int16_t s;
    int32_t i, y;
    intptr_t p;
    std::memcpy(&s, r + 1, 2);
    std::memcpy(&i, r + 3, 4);
    unsigned char bytes[6];
    std::memcpy(bytes, r + 7, 6);
    uint8_t x = r[13];
    std::memcpy(&y, r + 14, 4);
    std::memcpy(&p, r + 18, sizeof p);
    uint32_t sum = static_cast<uint32_t>(b + s + i + x + y + static_cast<int32_t>(p));
    for (unsigned char c : bytes) sum = sum * 31 + c;

    r[0] = static_cast<unsigned char>(b + 1);
    int16_t s2 = static_cast<int16_t>(-s);
    std::memcpy(r + 1, &s2, 2);
    int32_t i2 = i * 2;
    std::memcpy(r + 3, &i2, 4);
    std::memcpy(r + 7, "ABCDEF", 6);
    r[13] = 0xFE;
    int32_t y2 = y + 1;
    std::memcpy(r + 14, &y2, 4);
    intptr_t p2 = p + 1;
    std::memcpy(r + 18, &p2, sizeof p2);
    return static_cast<int32_t>(sum);
}

// Declared with the caller-cleans convention: a stdcall caller finds 8 bytes left on the
// 32-bit stack. (Under the x64 convention the two are the same.)
int32_t __cdecl CdeclPair(int32_t a, int32_t b) { return a + b; }

}  // extern "C"
