#!/usr/bin/env bash
# Starts one program alone from drive E: of the Wine prefix, as from a USB stick, and checks
# that it opens its window 茗柜 and writes its files beside itself (疆内.txt, 疆外.txt and the
# folder 盘货记录), nothing else; then closes it with Alt+F4 and expects exit code 0.
# Run inside the lab (tools/lab.sh; MG_LAB_ARCH=win32 for a 32-bit program). Nothing is
# clicked: monitoring never starts with the default host lists.
#   tools/lab.sh tools/stick-run.sh dist/minggui-x86_64.exe
set -euo pipefail
# Not lib.sh: it would point WINEPREFIX at the run command's prefix instead of the lab's.
log() { printf '== %s\n' "$*" >&2; }

if [ "${MG_LAB_READY:-}" != 1 ]; then
  log "stick-run.sh runs inside tools/lab.sh"
  exit 2
fi
PROGRAM=$(realpath "$1")
NAME=$(basename "$PROGRAM")
WINE=wine
[ "${MG_LAB_ARCH:-win64}" = win32 ] && WINE=wine32
WAIT=${MG_STICK_WAIT:-120}  # seconds; the emulated 32-bit Wine starts slowly

STICK=$(mktemp -d /tmp/minggui-stick.XXXXXX)
WINE_LOG=$(mktemp /tmp/minggui-stick-log.XXXXXX)
DRIVE="$WINEPREFIX/dosdevices/e:"
cp "$PROGRAM" "$STICK/"
ln -sfn "$STICK" "$DRIVE"
PID=
cleanup() {
  [ -n "$PID" ] && kill "$PID" 2>/dev/null
  rm -f "$DRIVE"
  rm -rf "$STICK" "$WINE_LOG"
}
trap cleanup EXIT

fail() {
  log "$NAME from drive E: $*"
  tail -20 "$WINE_LOG" >&2
  exit 1
}

"$WINE" "E:\\$NAME" </dev/null >"$WINE_LOG" 2>&1 &
PID=$!
window=
for _ in $(seq $((WAIT * 4))); do
  window=$(xdotool search --name '^茗柜$' 2>/dev/null | head -1) || true
  [ -n "$window" ] && [ -f "$STICK/疆内.txt" ] && [ -f "$STICK/疆外.txt" ] && [ -d "$STICK/盘货记录" ] && break
  kill -0 "$PID" 2>/dev/null || fail "ended before its window and files appeared"
  sleep 0.25
done
[ -n "$window" ] || fail "showed no window 茗柜 within $WAIT s"
[ -f "$STICK/疆内.txt" ] && [ -f "$STICK/疆外.txt" ] && [ -d "$STICK/盘货记录" ] ||
  fail "did not write 疆内.txt, 疆外.txt and 盘货记录 beside itself"
found=$(cd "$STICK" && ls -A | sort | tr '\n' ' ')
expected=$(printf '%s\n' "$NAME" 疆内.txt 疆外.txt 盘货记录 | sort | tr '\n' ' ')
[ "$found" = "$expected" ] || fail "left other files beside itself: $found"

# The window asked to close as a user does it; the program ends by itself.
sleep 1
xdotool windowfocus --sync "$window" key alt+F4 2>/dev/null || true
status=
for _ in $(seq 80); do
  if ! kill -0 "$PID" 2>/dev/null; then
    wait "$PID" && status=0 || status=$?
    PID=
    break
  fi
  sleep 0.25
done
[ -n "$status" ] || fail "did not end within 20 s of Alt+F4"
[ "$status" = 0 ] || fail "ended with exit code $status"
echo "$NAME from drive E: window 茗柜, 疆内.txt, 疆外.txt and 盘货记录 beside it, closed with exit code 0"
