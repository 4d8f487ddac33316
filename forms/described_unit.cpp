#include "forms/described_unit.h"

#include <string>

#include "runtime/fatal.h"

void FailOnUnknownProperty(const char* name) {
    // A fault of the program itself, never of its input: the report names the culprit.
    std::string message = std::string("unit type behaviour names an unknown property: ") + name;
    FatalReport(message.c_str(), 0);
}
