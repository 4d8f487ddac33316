#!/usr/bin/env bash
# Installs what is missing, builds the toolbox and starts it under Wine.
# With a DISPLAY the program opens there. Without one it runs on Wine's own desktop under
# Xvfb: a screenshot of the desktop as the program opens, then one of the window per page
# (its tabs clicked where tools/tab_spots reports them) are saved, their paths printed,
# and the program is closed again. MG_UPDATE_DOCS=1 also copies the page shots to docs/.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

install_missing
log "native build (form compiler)"
cmake -S "$ROOT" -B "$BUILD/native" -G Ninja -DCMAKE_BUILD_TYPE=Sanitize \
  -DCMAKE_CXX_COMPILER=g++ -DCMAKE_C_COMPILER=gcc >/dev/null
cmake --build "$BUILD/native" -j "$JOBS" --target formc
log "Windows build (win64)"
cmake -S "$ROOT" -B "$BUILD/win64" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-x86_64.cmake" -DMG_FORMC="$BUILD/native/tools/formc" >/dev/null
cmake --build "$BUILD/win64" -j "$JOBS" --target minggui tab_spots

# The program keeps its files (host lists, records) beside itself: run a copy in build/run.
# It runs as on a Chinese Windows: there the default character set (GB2312) picks a
# Chinese font for the form's fonts that name no face; under a Western locale Wine picks
# one without Chinese glyphs.
ensure_chinese_locale
export LANG=zh_CN.UTF-8
RUN_DIR="$BUILD/run"
mkdir -p "$RUN_DIR"
cp "$BUILD/win64/toolbox/minggui.exe" "$RUN_DIR/"

if [ -n "${DISPLAY:-}" ]; then
  prepare_prefix
  log "starting the toolbox"
  cd "$RUN_DIR" && exec wine ./minggui.exe
fi

start_display
trap 'wineserver -k 2>/dev/null || true; stop_display' EXIT
prepare_prefix
log "starting the toolbox on Wine's desktop under Xvfb ($DISPLAY)"
(cd "$RUN_DIR" && wine explorer /desktop=minggui,1024x768 ./minggui.exe >/dev/null 2>&1 &)
sleep "${MG_SHOT_DELAY:-6}"
SHOTS="$BUILD/screenshots"
mkdir -p "$SHOTS"
SHOT="$SHOTS/main-window.png"
import -window root "$SHOT"
echo "$SHOT"

# Where the window and its tabs are: asked of the running program on the same desktop.
cp "$BUILD/win64/tools/tab_spots.exe" "$RUN_DIR/"
SPOTS="$RUN_DIR/tab-spots.txt"
rm -f "$SPOTS"
(cd "$RUN_DIR" && wine explorer /desktop=minggui,1024x768 ./tab_spots.exe tab-spots.txt >/dev/null 2>&1 &)
for _ in $(seq 100); do [ -s "$SPOTS" ] && grep -q '^tab' "$SPOTS" && break; sleep 0.1; done
sleep 0.5
if ! grep -q '^tab' "$SPOTS" 2>/dev/null; then
  log "the tabs were not found; no page screenshots"
  exit 1
fi
read -r _ WX WY WW WH < <(grep '^window' "$SPOTS")

click_unit() {
  local x y
  read -r _ _ x y < <(grep "^unit $1 " "$SPOTS")
  xdotool mousemove "$x" "$y" click 1
  sleep 0.3
}
type_keys() {  # a text (may be empty), then the keys named after it
  [ -n "$1" ] && xdotool type --delay 40 "$1"
  shift
  for k in "$@"; do xdotool key "$k"; sleep 0.1; done
}
# The sheet as a cashier counts: every box in turn with Enter, the other money by mouse.
count_stock() {
  click_unit 盘饮料1
  for c in 3 3 "" "" "" "" "" "" "" "" "" "" "" 1 3 "" "" "" "" "" "" "" 1 "" "" "" "" "" "" "" 2 ""; do
    type_keys "$c" Return
  done
  click_unit 其它钱数
  type_keys 12
  click_unit 计算
}
top_up() {
  click_unit 编辑框1
  type_keys 100 Return
  type_keys 20 Return
  type_keys 3 Return Return
}

page=0
for name in inventory monitor topup; do
  page=$((page + 1))
  read -r _ TX TY < <(grep '^tab' "$SPOTS" | sed -n "${page}p")
  xdotool mousemove "$TX" "$TY" click 1
  sleep 1.5
  case $name in
    inventory) count_stock ;;
    topup) top_up ;;
  esac
  sleep 0.5
  PAGE_SHOT="$SHOTS/page-$name.png"
  import -window root -crop "${WW}x${WH}+${WX}+${WY}" +repage "$PAGE_SHOT"
  echo "$PAGE_SHOT"
  if [ "${MG_UPDATE_DOCS:-}" = 1 ]; then
    mkdir -p "$ROOT/docs"
    cp "$PAGE_SHOT" "$ROOT/docs/page-$name.png"
  fi
done
