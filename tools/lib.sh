# Shared by tools/run.sh and tools/test.sh: packages, builds, the Wine prefix and the lab namespace.
# shellcheck shell=bash

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD="$ROOT/build"
export WINEPREFIX="$BUILD/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
JOBS=$(nproc 2>/dev/null || echo 2)

PACKAGES=(
  cmake ninja-build g++ clang libclang-rt-14-dev googletest libgtest-dev libtomlplusplus-dev
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
  wine wine64 xvfb xauth imagemagick xdotool x11-utils
  fonts-wqy-microhei fonts-arphic-ukai iproute2 procps python3 locales fping
)

log() { printf '== %s\n' "$*" >&2; }

install_missing() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  if ((${#missing[@]})); then
    log "installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q >/dev/null
    apt-get install -y -q --no-install-recommends "${missing[@]}" >/dev/null
  fi
}

configure_native() {
  cmake -S "$ROOT" -B "$BUILD/native" -G Ninja -DCMAKE_BUILD_TYPE=Sanitize \
    -DCMAKE_CXX_COMPILER=g++ -DCMAKE_C_COMPILER=gcc >/dev/null
}

build_native() {
  log "native build"
  configure_native
  cmake --build "$BUILD/native" -j "$JOBS"
}

build_fuzz() {
  log "fuzz build"
  cmake -S "$ROOT" -B "$BUILD/fuzz" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMG_FUZZ=ON \
    -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang >/dev/null
  cmake --build "$BUILD/fuzz" -j "$JOBS"
}

# $1 = win64 or win32; further arguments name the only targets to build.
build_windows() {
  local arch=$1 toolchain targets=()
  shift
  for t in "$@"; do targets+=(--target "$t"); done
  [ "$arch" = win64 ] && toolchain=mingw-x86_64 || toolchain=mingw-i686
  log "Windows build ($arch)"
  cmake -S "$ROOT" -B "$BUILD/$arch" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/$toolchain.cmake" \
    -DMG_FORMC="$BUILD/native/tools/formc" >/dev/null
  cmake --build "$BUILD/$arch" -j "$JOBS" "${targets[@]}"
}

# The program runs as on a Chinese Windows (tools/run.sh); Wine then needs the locale to
# exist, or it cannot name files in Chinese.
ensure_chinese_locale() {
  if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
    log "generating the zh_CN.UTF-8 locale"
    sed -i 's/^# *\(zh_CN.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' >> /etc/locale.gen
    locale-gen >/dev/null
  fi
}

# The Wine prefix: created once, with CJK fonts mapped so Chinese never shows as boxes
# and .txt files associated with the editor.
prepare_prefix() {
  if [ ! -f "$WINEPREFIX/.minggui-ready-2" ]; then
    log "creating Wine prefix"
    rm -rf "$WINEPREFIX"
    wine wineboot -i >/dev/null 2>&1 || true
    wineserver -w
    wine regedit "$ROOT/tools/wine-prefix.reg" >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.minggui-ready-2"
  fi
}

# Starts Xvfb on a free display and exports DISPLAY; remembers the pid for stop_display.
# Xvfb picks the number itself (-displayfd), so labs started side by side never collide.
start_display() {
  local fifo n=
  fifo=$(mktemp -u /tmp/minggui-display.XXXXXX)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  XVFB_PID=$!
  read -r -t 20 n <"$fifo" || true
  rm -f "$fifo"
  if [ -z "$n" ]; then
    log "Xvfb did not start"
    return 1
  fi
  export DISPLAY=":$n"
}

stop_display() {
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null; wait "${XVFB_PID:-}" 2>/dev/null || true
}

# The lab's ICMP responder (tools/icmp_responder), from the native build. Building just
# its target is a no-op when it is up to date, and makes a fresh machine work too.
RESPONDER="$BUILD/native/tools/icmp_responder/icmp_responder"

build_responder() {
  local out
  # test.sh has built it already and runs several labs at once: no second ninja then.
  [ "${MG_RESPONDER_BUILT:-}" = 1 ] && [ -x "$RESPONDER" ] && return 0
  if [ ! -f "$BUILD/native/build.ninja" ]; then
    install_missing
    configure_native
  fi
  if ! out=$(cmake --build "$BUILD/native" -j "$JOBS" --target icmp_responder 2>&1); then
    printf '%s\n' "$out" >&2
    log "could not build the ICMP responder"
    return 1
  fi
}

# Starts the responder in the current network namespace and waits until it answers.
# MG_LAB_LOG=FILE keeps its log of every request and reply. Sets RESPONDER_PID.
start_responder() {
  local ready args=() errors=/dev/stderr
  ready=$(mktemp -u /tmp/minggui-responder.XXXXXX)
  if [ -n "${MG_LAB_LOG:-}" ]; then args+=(--log); errors=$MG_LAB_LOG; fi
  "$RESPONDER" --ready-file "$ready" "${args[@]}" </dev/null >/dev/null 2>>"$errors" &
  RESPONDER_PID=$!
  for _ in $(seq 100); do
    [ -e "$ready" ] && break
    kill -0 "$RESPONDER_PID" 2>/dev/null || break
    sleep 0.05
  done
  if [ ! -e "$ready" ]; then
    log "the ICMP responder did not start"
    stop_responder
    return 1
  fi
  rm -f "$ready"
}

stop_responder() {
  [ -n "${RESPONDER_PID:-}" ] || return 0
  kill "$RESPONDER_PID" 2>/dev/null || true
  wait "$RESPONDER_PID" 2>/dev/null || true
  RESPONDER_PID=
}
