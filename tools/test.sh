#!/usr/bin/env bash
# Installs what is missing, builds all four builds and runs every test:
# native (sanitizers), fuzz corpora, and the Windows tests of the x86-64 and the i686 build
# under Wine inside private network namespaces with loopback only. Ends with "N passed, N failed".
#   tools/test.sh                 everything
#   tools/test.sh -R Pattern      only tests whose name matches (ctest -R)
set -euo pipefail
source "$(dirname "$0")/lib.sh"

FILTER=()
[ "${1:-}" = "-R" ] && FILTER=(-R "$2")

install_missing
install_wine32
build_native
build_fuzz
build_windows win64
# The i686 build: the program and the tests that run it (tests/win/CMakeLists.txt says which).
build_windows win32

RESULTS="$BUILD/results"
rm -rf "$RESULTS"; mkdir -p "$RESULTS"
status=0

log "native tests"
ctest --test-dir "$BUILD/native" -j "$JOBS" --output-on-failure --output-junit "$RESULTS/native.xml" "${FILTER[@]}" || status=1
log "fuzz corpus tests"
ctest --test-dir "$BUILD/fuzz" -j "$JOBS" --output-on-failure --output-junit "$RESULTS/fuzz.xml" "${FILTER[@]}" || status=1

# Three labs side by side, each with its own namespace, display, prefix and wineserver: two
# run every second test of the x86-64 build, one the 32-bit program's tests under the i386 Wine.
# The Windows tests mostly wait on windows and timers.
log "Windows tests under Wine (three private network namespaces)"
export MG_RESPONDER_BUILT=1
# The two x86-64 labs share one build tree, where ctest lists each test program's cases into a
# file when the program is new: listed once here, so that neither lab reads the other's half-
# written list.
MG_LAB_PREFIX="$BUILD/wine-test-1" "$ROOT/tools/lab.sh" ctest --test-dir "$BUILD/win64" -N >/dev/null
labs=(win64-1 win64-2 win32)
pids=()
for lab in "${labs[@]}"; do
  case $lab in
    win64-*) env=(MG_LAB_PREFIX="$BUILD/wine-test-${lab#win64-}") tree=win64 shard=(-I "${lab#win64-},,2") ;;
    win32) env=(MG_LAB_ARCH=win32) tree=win32 shard=() ;;
  esac
  env "${env[@]}" "$ROOT/tools/lab.sh" \
    ctest --test-dir "$BUILD/$tree" --output-on-failure --timeout 300 "${shard[@]}" \
    --output-junit "$RESULTS/$lab.xml" "${FILTER[@]}" >"$RESULTS/$lab.log" 2>&1 &
  pids+=($!)
done
for i in "${!labs[@]}"; do
  wait "${pids[$i]}" || status=1
  log "Windows tests: ${labs[$i]}"
  cat "$RESULTS/${labs[$i]}.log"
done

# Every suite's report is named: one that is missing counts as a failure.
reports=("$RESULTS/native.xml" "$RESULTS/fuzz.xml")
for lab in "${labs[@]}"; do reports+=("$RESULTS/$lab.xml"); done
python3 "$ROOT/tools/count-results.py" "${reports[@]}" || status=1
exit $status
