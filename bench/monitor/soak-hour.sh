#!/usr/bin/env bash
# The monitor left running: one click on 开始 with an interval of 5 seconds, its own timer then
# starting a pass every 5 seconds for an hour (about 720 passes) over 27 lab hosts; prints the
# runtime heap's bytes and blocks in use, the handle count and the thread count at the start,
# every 5 minutes and at the end, which should match.
#   bench/monitor/soak-hour.sh [SECONDS [INTERVAL]]     (3600 and 5 unless given)
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
source "$ROOT/tools/lib.sh"
# A Wine prefix of its own: a lab starting on a shared prefix stops the wineserver under it.
export MG_LAB_PREFIX=${MG_LAB_PREFIX:-$BUILD/wine-soak-hour}
build_native >/dev/null && build_windows win64 monitor_soak >/dev/null
"$ROOT/tools/lab.sh" python3 "$ROOT/bench/monitor/monitor_bench.py" --soak-for "${1:-3600}" "${2:-5}"
