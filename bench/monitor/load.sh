#!/usr/bin/env bash
# The monitor under load in the lab, driven from outside: 100 clicks on 开始 within 2 s, 50
# closes during passes, 500 hosts in each list with the longest wait for the window's answer
# during the pass. Prints the figures of each.
#   bench/monitor/load.sh [clicks|closes|hosts [ARGS]]   one of them; all three by default
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
source "$ROOT/tools/lib.sh"
# A Wine prefix of its own: a lab starting on a shared prefix stops the wineserver under it.
export MG_LAB_PREFIX=${MG_LAB_PREFIX:-$BUILD/wine-load}
build_native >/dev/null && build_windows win64 minggui monitor_load >/dev/null
LOAD="$BUILD/win64/bench/monitor/monitor_load.exe"
if [ $# -gt 0 ]; then
  exec "$ROOT/tools/lab.sh" wine "$LOAD" "$@"
fi
status=0
for mode in clicks closes hosts; do
  "$ROOT/tools/lab.sh" wine "$LOAD" "$mode" || status=1
done
exit $status
