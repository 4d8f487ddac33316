#!/bin/sh
# A handler that does not declare exactly the parameters of the event it is bound to does
# not build: the form compiler writes a check of each handler into the event code, and the
# C++ compiler refuses the event code.
#   handler_check.sh FORMC CXX SOURCE_DIR WORK_DIR
set -eu
formc=$1 cxx=$2 src=$3 work=$4
rm -rf "$work"
mkdir -p "$work"
cat >"$work/form.toml" <<'FORM'
[window]
id = 0x52010001
events = { Created = "OnCreated" }

[[unit]]
id = 0x16010010
name = "box"
type = "EditBox"
left = 0
top = 0
width = 10
height = 10
events = { KeyDown = "OnKey", MouseDown = "OnClick" }
FORM
"$formc" --handlers-header handlers.h --template-out "$work/template.cpp" --events-out "$work/events.cpp" "$work/form.toml"

# Builds the event code against handlers declared as given (one declaration a line).
builds() {
  { echo '#include <cstdint>'; for d in "$@"; do echo "$d"; done; } >"$work/handlers.h"
  "$cxx" -std=c++20 -fsyntax-only -I "$src" -I "$work" "$work/events.cpp" 2>"$work/errors.txt"
}
fail() { cat "$work/errors.txt"; echo "FAIL: $1"; exit 1; }

builds 'void OnCreated();' 'void OnKey(int32_t key, int32_t modifiers);' \
       'bool OnClick(int32_t x, int32_t y, int32_t modifiers);' || fail "handlers as their events pass them were refused"
if builds 'void OnCreated();' 'void OnKey(int32_t key);' 'void OnClick(int32_t x, int32_t y, int32_t modifiers);'; then
  fail "a key handler without the modifiers built"
fi
grep -q 'OnKey is bound to KeyDown and must take (int32_t key, int32_t modifiers)' "$work/errors.txt" || fail "no message names the handler"
if builds 'void OnCreated(int32_t unused);' 'void OnKey(int32_t key, int32_t modifiers);' \
          'void OnClick(int32_t x, int32_t y, int32_t modifiers);'; then
  fail "a handler of an event without arguments that takes one built"
fi
if builds 'void OnCreated();' 'void OnKey(int32_t key, int32_t modifiers);' 'void OnClick(double x, int32_t y, int32_t modifiers);'; then
  fail "a handler with a parameter of another type built"
fi
echo "handlers are checked against their events"
