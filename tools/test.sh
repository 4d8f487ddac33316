#!/usr/bin/env bash
# Installs what is missing, builds all four builds and runs every test:
# native (sanitizers), fuzz corpora, and the Windows tests under Wine inside a
# private network namespace with loopback only. Ends with "N passed, N failed".
#   tools/test.sh                 everything
#   tools/test.sh -R Pattern      only tests whose name matches (ctest -R)
set -euo pipefail
source "$(dirname "$0")/lib.sh"

FILTER=()
[ "${1:-}" = "-R" ] && FILTER=(-R "$2")

install_missing
build_native
build_fuzz
build_windows win64
build_windows win32

RESULTS="$BUILD/results"
rm -rf "$RESULTS"; mkdir -p "$RESULTS"
status=0

log "native tests"
ctest --test-dir "$BUILD/native" -j "$JOBS" --output-on-failure --output-junit "$RESULTS/native.xml" "${FILTER[@]}" || status=1
log "fuzz corpus tests"
ctest --test-dir "$BUILD/fuzz" -j "$JOBS" --output-on-failure --output-junit "$RESULTS/fuzz.xml" "${FILTER[@]}" || status=1

log "Windows tests under Wine (private network namespace)"
"$ROOT/tools/lab.sh" ctest --test-dir "$BUILD/win64" --output-on-failure --timeout 120 \
  --output-junit "$RESULTS/win64.xml" "${FILTER[@]}" || status=1

python3 "$ROOT/tools/count-results.py" "$RESULTS"/*.xml || status=1
exit $status
