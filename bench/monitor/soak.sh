#!/usr/bin/env bash
# The monitor's soak: passes (1,000 unless given) over 27 lab hosts at mixed latencies up to
# 150 ms, started back to back by clicks on 开始; prints the runtime heap's bytes and blocks in
# use, the handle count and the thread count at the start, every 100 passes and at the end.
#   bench/monitor/soak.sh [PASSES]
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
source "$ROOT/tools/lib.sh"
build_native >/dev/null && build_windows win64 monitor_soak desktop_keeper >/dev/null
"$ROOT/tools/lab.sh" python3 "$ROOT/bench/monitor/monitor_bench.py" --soak "${1:-1000}"
