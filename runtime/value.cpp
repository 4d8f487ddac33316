// Keeps mg_portable non-empty; the value model itself is header-only.
#include "runtime/value.h"
