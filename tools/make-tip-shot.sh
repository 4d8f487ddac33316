#!/usr/bin/env bash
# The README's picture of a row tip: the row tip test, run in the lab with MG_TIP_SHOT set,
# saves what the screen shows of the inside list and the tip of its first row after eight
# passes; that becomes docs/row-tip.png.
#   tools/make-tip-shot.sh
set -euo pipefail
source "$(dirname "$0")/lib.sh"
install_missing
build_native >/dev/null
build_windows win64 toolbox_tests >/dev/null
SHOTS="$BUILD/screenshots"
mkdir -p "$SHOTS"
BMP="$SHOTS/row-tip.bmp"
rm -f "$BMP"
MG_TIP_SHOT="Z:${BMP//\//\\}" "$ROOT/tools/lab.sh" \
  ctest --test-dir "$BUILD/win64" -R 'RowTip\.' --output-on-failure
[ -s "$BMP" ] || { log "the test saved no picture"; exit 1; }
convert "$BMP" -strip "$ROOT/docs/row-tip.png"
echo "$ROOT/docs/row-tip.png"
