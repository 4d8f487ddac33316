#!/usr/bin/env bash
# Runs every fuzz target of fuzz/CMakeLists.txt for a while (600 s each unless given), one
# after the other, at the lowest priority, each from its seed corpus (new inputs go to a
# scratch corpus under build/fuzz/runs, never into fuzz/corpus). Prints each target's
# executions and findings; a finding's input is kept in build/fuzz/runs/<target>/ and the run
# of that target stops there. Exits non-zero when any target found something.
#   fuzz/run.sh [SECONDS]
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
source "$ROOT/tools/lib.sh"
SECONDS_EACH=${1:-600}
build_fuzz >/dev/null
targets=$(sed -n 's/^mg_fuzzer(\([a-z_0-9]*\) .*/\1/p' "$ROOT/fuzz/CMakeLists.txt")
RUNS="$BUILD/fuzz/runs"
status=0
summary=()
for t in $targets; do
  dir="$RUNS/$t"
  rm -rf "$dir"; mkdir -p "$dir/corpus"
  log "fuzzing $t for $SECONDS_EACH s"
  rc=0
  nice -n 19 "$BUILD/fuzz/fuzz/$t" -max_total_time="$SECONDS_EACH" -print_final_stats=1 \
    -artifact_prefix="$dir/" "$dir/corpus" "$ROOT/fuzz/corpus/$t" >"$dir/log" 2>&1 || rc=$?
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$dir/log" | tail -1)
  findings=$(find "$dir" -maxdepth 1 -type f \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' \
    -o -name 'oom-*' -o -name 'slow-unit-*' \) | wc -l)
  if [ "$rc" != 0 ] && [ "$findings" = 0 ]; then findings="1 (exit $rc, see $dir/log)"; fi
  [ "$findings" = 0 ] || status=1
  summary+=("$(printf '%-22s %12s executions  %s findings' "$t" "${execs:-?}" "$findings")")
done
printf '%s\n' "${summary[@]}"
exit $status
