#!/usr/bin/env bash
# Installs what is missing, builds the toolbox and starts it under Wine.
# With a DISPLAY the program opens there. Without one it runs on Wine's own desktop under
# Xvfb, a screenshot is saved, its path printed, and the program is closed again.
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
cmake --build "$BUILD/win64" -j "$JOBS" --target minggui

# The program keeps its files (host lists, records) beside itself: run a copy in build/run.
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
mkdir -p "$BUILD/screenshots"
SHOT="$BUILD/screenshots/main-window.png"
import -window root "$SHOT"
echo "$SHOT"
