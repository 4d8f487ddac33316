#!/usr/bin/env bash
# Start-up and idle cost of the program under Wine, in the lab, from one run:
# - process start to the main window painted with both result lists loaded, for the program,
#   the direct baseline (the same window by plain CreateWindowExW calls) and a bare window of
#   the same size, alternating; medians and the ratios program/direct and program/bare;
# - CPU time over 60 s idle on the sheet page with the clock ticking, the program's and its
#   wineserver's against the bare window's and its wineserver's, each alone.
#   bench/startup/startup.sh
# MG_STARTUP_PROGRAM measures another build of the program; MG_STARTUP_BEFORE names an earlier
# build to start alternately with it, for a before and after in one sitting (its idle cost
# measured too); MG_STARTUP_ROUNDS (15) sets the rounds, MG_IDLE_SECONDS (60) the idle time.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
source "$ROOT/tools/lib.sh"
configure_native
cmake --build "$BUILD/native" -j "$JOBS" --target formc >/dev/null
build_windows win64 minggui direct_window bare_window startup_bench desktop_keeper >/dev/null
ensure_chinese_locale
export LANG=zh_CN.UTF-8  # the fonts the program has on a Chinese Windows (see tools/run.sh)
PROGRAM="${MG_STARTUP_PROGRAM:-$BUILD/win64/toolbox/minggui.exe}"
BENCH="$BUILD/win64/bench"
BEFORE="${MG_STARTUP_BEFORE:-}"
"$ROOT/tools/lab.sh" bash -c "
  wine '$BENCH/startup_bench.exe' '$PROGRAM' '$BENCH/direct_window.exe' '$BENCH/bare_window.exe' ${MG_STARTUP_ROUNDS:-15} $BEFORE
  python3 '$ROOT/bench/startup/idle_bench.py' '$PROGRAM' '$BENCH/bare_window.exe' $BEFORE"
