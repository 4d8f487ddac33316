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
  fonts-wqy-microhei fonts-arphic-ukai fonts-wine iproute2 procps python3 locales fping curl
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
    # An index that fails to download (a mirror caught mid-sync) leaves the others usable.
    apt-get update -q >/dev/null 2>&1 || log "apt-get update reported errors; installing from the indexes it has"
    apt-get install -y -q --no-install-recommends "${missing[@]}" >/dev/null
  fi
}

# The 32-bit side: Debian's i386 Wine, whose loader qemu-user runs (the kernel here runs no
# 32-bit ELF), started by the `wine32` command. Idempotent. The i386 loader is diverted away
# from /usr/lib/wine/wine before wine32 is installed, so `wine` keeps starting the 64-bit loader.
WINE32_LOADER=/usr/lib/wine/wine32.i386
WINE32_WRAPPER=/usr/lib/wine/wine32
WINE32=/usr/local/bin/wine32

qemu_user_is_new() {
  # bookworm's qemu-user 7.2 ignores MAP_FIXED_NOREPLACE and Wine crawls under it.
  command -v qemu-i386 >/dev/null &&
    [ "$(qemu-i386 --version | sed -n 's/.*version \([0-9]*\).*/\1/p' | head -1)" -ge 10 ]
}

# Multiarch wants an i386 library at exactly the version of its amd64 twin. When the mirror's
# i386 index of the security suite is out of sync ("File has unexpected size"), apt offers
# only older i386 versions and refuses. This fetches, for every package of the closure whose
# amd64 candidate is newer than the i386 one, the i386 build of that very version from the
# pool beside its amd64 file, and prints the paths of the .deb files for apt to install.
i386_twins_of_amd64_candidates() {
  local dir="$BUILD/i386-debs" closure p base amd64 uri
  mkdir -p "$dir"
  closure=$(apt-cache depends --recurse --no-recommends --no-suggests --no-conflicts --no-breaks --no-replaces \
    --no-enhances "$@" 2>/dev/null | grep -E '^[a-z0-9].*:i386$' | sort -u | sed 's/:i386$//')
  # One policy query for every twin (apt-cache takes a second per call): "name amd64 i386".
  # shellcheck disable=SC2046
  apt-cache policy $(for p in $closure; do echo "$p:amd64 $p:i386"; done) 2>/dev/null |
    awk '/^[^ ].*:$/ { name = $1; sub(/:$/, "", name) }
         /Installed:/ { installed[name] = $2 }
         /Candidate:/ { candidate[name] = $2 }
         END { for (n in candidate) if (n !~ /:i386$/) {
               b = n; sub(/:amd64$/, "", b)  # the native twin is named without its architecture
               if (installed[n] != "(none)" && candidate[n] != "(none)" && candidate[n] != candidate[b ":i386"])
                 print b, candidate[n] } }' |
    while read -r base amd64; do
      uri=$(apt-get download --print-uris "$base:amd64=$amd64" 2>/dev/null | awk -F"'" 'NR == 1 { print $2 }')
      uri=${uri%_amd64.deb}_i386.deb
      [ "$uri" != _i386.deb ] && curl -fsSL -o "$dir/${uri##*/}" "$uri" && echo "$dir/${uri##*/}"
    done
}

install_wine32() {
  if [ -x "$WINE32_LOADER" ] && [ -x "$WINE32_WRAPPER" ] && [ -x "$WINE32" ] && qemu_user_is_new; then return 0; fi
  log "installing the 32-bit Wine (i386, run by qemu-user from backports)"
  export DEBIAN_FRONTEND=noninteractive
  dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
  local backports=/etc/apt/sources.list.d/minggui-backports.sources mirror
  mirror=$(awk '/^URIs:/ { print $2; exit }' /etc/apt/sources.list.d/debian.sources 2>/dev/null)
  printf 'Types: deb\nURIs: %s\nSuites: bookworm-backports\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' \
    "${mirror:-http://deb.debian.org/debian}" >"$backports"
  # The i386 indexes are sometimes caught mid-sync on the mirror: try once more, then go on
  # with what came (i386_twins_of_amd64_candidates covers an index that lags).
  apt-get update -q >/dev/null 2>&1 || { sleep 5; apt-get update -q >/dev/null 2>&1; } || true
  if ! dpkg-divert --list /usr/lib/wine/wine | grep -q wine32.i386; then
    dpkg-divert --local --rename --divert "$WINE32_LOADER" --add /usr/lib/wine/wine >/dev/null
  fi
  local wanted=(wine32:i386 libxrender1:i386 libxrandr2:i386 libxi6:i386 libxcursor1:i386 libxcomposite1:i386
    libxinerama1:i386 libxfixes3:i386)
  if ! apt-get install -y -q --no-install-recommends --no-remove "${wanted[@]}" >/dev/null 2>&1; then
    log "the i386 index lags the amd64 one: taking the matching i386 packages from the pool"
    apt-get install -y -q --no-install-recommends --no-remove "${wanted[@]}" $(i386_twins_of_amd64_candidates "${wanted[@]}") >/dev/null
  fi
  apt-get install -y -q --no-install-recommends -t bookworm-backports qemu-user >/dev/null
  rm -f "$backports"
  # Wine starts its child processes as "<loader's directory>/<argv0's base name>", so the
  # wrapper lies beside the loader under the name it is called by, and passes itself as argv0;
  # WINELOADERNOEXEC skips Wine's re-exec of the i386 ELF, which the kernel would refuse.
  cat >"$WINE32_WRAPPER" <<WRAPPER
#!/bin/sh
export WINELOADERNOEXEC=1
exec qemu-i386 -0 $WINE32_WRAPPER $WINE32_LOADER "\$@"
WRAPPER
  chmod +x "$WINE32_WRAPPER"
  ln -sf "$WINE32_WRAPPER" "$WINE32"
  if [ ! -x "$WINE32_LOADER" ] || ! qemu_user_is_new; then
    log "the 32-bit Wine could not be installed"
    return 1
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

# Waits until the Wine processes of $WINEPREFIX have ended, at most $1 seconds; then ends
# them: a desktop or service that stays would keep `wineserver -w` waiting for ever.
wine_settle() {
  timeout "${1:-120}" wineserver -w 2>/dev/null || { wineserver -k 2>/dev/null || true; }
}

# The Wine prefix in $WINEPREFIX: created once, with CJK fonts mapped so Chinese never shows as
# boxes and .txt files associated with the editor (neither is a Wine default, in a 64-bit
# prefix or a 32-bit one). $1 is the prefix's Wine: wine (64-bit) or wine32 (a win32 prefix).
prepare_prefix() {
  local wine=${1:-wine} arch=win64 attempt
  [ "$wine" = wine32 ] && arch=win32
  # A prefix whose making was cut short (a slow emulated start, a service that hung) is made
  # once more; a prefix is marked ready only once its system folder is there.
  for attempt in 1 2; do
    [ -f "$WINEPREFIX/.minggui-ready-3" ] && break
    log "creating Wine prefix ($arch) $WINEPREFIX"
    rm -rf "$WINEPREFIX"
    WINEARCH=$arch "$wine" wineboot -i >/dev/null 2>&1 || true
    wine_settle 300
    "$wine" regedit "$ROOT/tools/wine-prefix.reg" >/dev/null 2>&1
    wine_settle 120
    if [ -f "$WINEPREFIX/drive_c/windows/system32/kernel32.dll" ]; then
      touch "$WINEPREFIX/.minggui-ready-3"
    else
      log "the Wine prefix $WINEPREFIX was not completed"
    fi
  done
  [ -f "$WINEPREFIX/.minggui-ready-3" ] || return 1
  # Caption buttons are glyphs of the Marlett font; without it Wine draws letters ("r" for
  # close). Debian's fonts-wine has it, but this Wine finds fonts in the prefix's own font
  # folder and not in its data folder. Copied into older prefixes too.
  local marlett=/usr/share/wine/fonts/marlett.ttf fonts="$WINEPREFIX/drive_c/windows/Fonts"
  if [ -f "$marlett" ] && [ -d "$fonts" ] && [ ! -f "$fonts/marlett.ttf" ]; then
    cp "$marlett" "$fonts/"
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
