#!/usr/bin/env bash
# The monitor's soak: passes (1,000 unless given) over 27 lab hosts at mixed latencies up to
# 150 ms, started back to back by clicks on 开始; prints the runtime heap's bytes and blocks in
# use, the handle count, the thread count and the working set at the start, every 100 passes
# and at the end. With --tip the pointer rests on the first inside row, whose tip stays open
# and is redrawn by every pass (each pass then started as the monitor's timer starts one).
#   bench/monitor/soak.sh [PASSES] [--tip]
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
source "$ROOT/tools/lib.sh"
# A Wine prefix of its own: a lab starting on a shared prefix stops the wineserver under it.
export MG_LAB_PREFIX=${MG_LAB_PREFIX:-$BUILD/wine-soak}
build_native >/dev/null && build_windows win64 monitor_soak desktop_keeper >/dev/null
mode=--soak
[ "${2:-}" = --tip ] && mode=--soak-tip
"$ROOT/tools/lab.sh" python3 "$ROOT/bench/monitor/monitor_bench.py" "$mode" "${1:-1000}"
