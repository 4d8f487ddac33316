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
# The i686 build is compiled and linked; its tests are the x86-64 build's.
build_windows win32 minggui

RESULTS="$BUILD/results"
rm -rf "$RESULTS"; mkdir -p "$RESULTS"
status=0

log "native tests"
ctest --test-dir "$BUILD/native" -j "$JOBS" --output-on-failure --output-junit "$RESULTS/native.xml" "${FILTER[@]}" || status=1
log "fuzz corpus tests"
ctest --test-dir "$BUILD/fuzz" -j "$JOBS" --output-on-failure --output-junit "$RESULTS/fuzz.xml" "${FILTER[@]}" || status=1

# Two labs side by side, each with its own namespace, display, prefix and wineserver, each
# running every second test: the Windows tests mostly wait on windows and timers.
log "Windows tests under Wine (two private network namespaces)"
export MG_RESPONDER_BUILT=1
pids=()
for shard in 1 2; do
  MG_LAB_PREFIX="$BUILD/wine-test-$shard" "$ROOT/tools/lab.sh" \
    ctest --test-dir "$BUILD/win64" --output-on-failure --timeout 120 -I "$shard,,2" \
    --output-junit "$RESULTS/win64-$shard.xml" "${FILTER[@]}" >"$RESULTS/win64-$shard.log" 2>&1 &
  pids+=($!)
done
for shard in 1 2; do
  wait "${pids[$((shard - 1))]}" || status=1
  log "Windows tests, shard $shard of 2"
  cat "$RESULTS/win64-$shard.log"
done

python3 "$ROOT/tools/count-results.py" "$RESULTS"/*.xml || status=1
exit $status
