#!/usr/bin/env bash
# Fails each heap allocation of the real program's start in turn, from the first to the last
# one made before its window shows both host lists, each in a start of its own in the lab, and
# prints how many there were and how many ended in the allocation report with exit code -1.
# About 1 to 2 s per allocation.
#   tools/allocation-sweep.sh                    every allocation
#   tools/allocation-sweep.sh FIRST [LAST [STEP]]   a part of them
#   tools/allocation-sweep.sh --templates [COUNT]   the window template cut short and with bits
#                                                   flipped (COUNT of each, default 100)
#   tools/allocation-sweep.sh --action NAME [FIRST [LAST [STEP]]]
#       the allocations of one action once the window is up, counted from its press: NAME is
#       pass (a click on 开始, until the pass over 6 and 21 lab hosts has written its last row),
#       export (导出文件, until the record is written), calculate (Enter on 计算 with counts
#       typed) or top-up (the top-up calculation); each failed in a start of its own
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
source "$ROOT/tools/lib.sh"
if [ "${MG_SWEEP_NO_BUILD:-}" != 1 ]; then
  build_native >/dev/null && build_windows win64 minggui failure_sweep >/dev/null
fi
# The sweep runs copies, so that a build meanwhile changes nothing under it; and a Wine prefix
# of its own, so that it can run beside the tests.
COPY=$(mktemp -d "$BUILD/sweep.XXXXXX")
trap 'rm -rf "$COPY"' EXIT
cp "$BUILD/win64/toolbox/minggui.exe" "$BUILD/win64/tests/win/toolbox/failure_sweep.exe" "$COPY/"
SWEEP="$COPY/failure_sweep.exe"
export MG_PROGRAM_UNDER_TEST="Z:${COPY//\//\\}\\minggui.exe"
export MG_LAB_PREFIX=${MG_LAB_PREFIX:-$BUILD/wine-sweep}
if [ "${1:-}" = --templates ]; then
  shift
  "$ROOT/tools/lab.sh" wine "$SWEEP" templates "$@"
elif [ "${1:-}" = --action ]; then
  shift
  "$ROOT/tools/lab.sh" wine "$SWEEP" action "$@"
else
  "$ROOT/tools/lab.sh" wine "$SWEEP" allocations "$@"
fi
