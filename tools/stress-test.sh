#!/usr/bin/env bash
# Runs the test command (tools/test.sh) several times in a row while a CPU hog keeps every
# core busy, and prints each run's closing line: a suite that holds only on an idle machine
# fails here. Not part of CI.
#   tools/stress-test.sh [RUNS]       3 runs unless given; logs in build/stress/
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
source "$ROOT/tools/lib.sh"

RUNS=${1:-3}
LOGS="$BUILD/stress"
mkdir -p "$LOGS"

if ! command -v stress-ng >/dev/null; then
  log "installing stress-ng"
  DEBIAN_FRONTEND=noninteractive apt-get update -q >/dev/null 2>&1
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends stress-ng >/dev/null
fi
# The first run installs and builds with the hog already going; later runs find it all built.
stress-ng --cpu "$JOBS" --cpu-method matrixprod --quiet &
HOG=$!
trap 'kill $HOG 2>/dev/null; wait $HOG 2>/dev/null' EXIT
log "CPU hog: stress-ng on $JOBS cores"

failed=0
for run in $(seq "$RUNS"); do
  start=$(date +%s)
  "$ROOT/tools/test.sh" >"$LOGS/run-$run.log" 2>&1
  rc=$?
  [ $rc -eq 0 ] || failed=$((failed + 1))
  printf 'run %d of %d (%d s, exit %d): %s\n' "$run" "$RUNS" $(($(date +%s) - start)) "$rc" \
    "$(grep -E '^[0-9]+ passed, [0-9]+ failed' "$LOGS/run-$run.log" | tail -1)"
done
echo "$((RUNS - failed)) of $RUNS runs green under load (logs in $LOGS)"
[ $failed -eq 0 ]
