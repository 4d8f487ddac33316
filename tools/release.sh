#!/usr/bin/env bash
# Builds both programs in release mode and writes the download into dist/:
#   minggui-x86_64.exe, minggui-i686.exe    the 64-bit and the 32-bit program
#   使用说明.txt, 更新说明.txt, LICENSE.txt   the guide, the release notes and the licence for
#                                            Notepad; the guide's pictures (page-*.png)
#   minggui-VERSION.zip                      all of the above in one folder, with SHA256SUMS.txt
#   SHA256SUMS.txt                           checksums of the zip and of every file in it
# and checks them (ok or FAIL per check): the imports against tools/windows-imports.txt and the
# oldest Windows the build states, the PE headers, no test hooks, the icon, the texts, the
# checksums and the zip, and each program started alone from drive E: under Wine
# (tools/stick-run.sh, inside the lab).
#
# A release of one commit is the same bytes in any folder: the commit's time is the programs'
# PE time stamp and the zip's member times, and nothing of the folder's path goes in.
#   tools/release.sh            the release of the working tree, into dist/
#   tools/release.sh --twice    HEAD exported into two folders, released in each, the two dist/
#                               compared file by file; dist/ is then the first of them
set -euo pipefail
source "$(dirname "$0")/lib.sh"

VERSION=$(sed -n 's/^project(minggui VERSION \([0-9.]*\).*/\1/p' "$ROOT/CMakeLists.txt")
[ -n "$VERSION" ] || { log "no version in CMakeLists.txt"; exit 1; }
OLDEST_WINDOWS=$(sed -n 's/^set(MG_OLDEST_WINDOWS \([0-9.]*\)).*/\1/p' "$ROOT/CMakeLists.txt")
[ -n "$OLDEST_WINDOWS" ] || { log "no MG_OLDEST_WINDOWS in CMakeLists.txt"; exit 1; }
DIST="$ROOT/dist"

# --twice: two releases of HEAD in two folders of different names and depths, compared.
if [ "${1:-}" = --twice ]; then
  started=$(date +%s)
  commit=$(git -C "$ROOT" rev-parse HEAD)
  if [ -n "$(git -C "$ROOT" status --porcelain --untracked-files=no)" ]; then
    log "the working tree has changes that are not committed: --twice releases HEAD ($commit) without them"
  fi
  WORK=$(mktemp -d /tmp/minggui-twice.XXXXXX)
  trap 'rm -rf "$WORK"' EXIT
  RUNS=("$WORK/a" "$WORK/second/release-tree")
  for tree in "${RUNS[@]}"; do
    mkdir -p "$tree"
    git -C "$ROOT" archive --format=tar "$commit" | tar -x -C "$tree"
    log "release of $commit in $tree"
    # The exported tree has no .git: the commit's time comes from here. The stick runs use
    # this repository's Wine prefixes rather than making two new ones.
    SOURCE_DATE_EPOCH=$(git -C "$ROOT" log -1 --format=%ct "$commit") MG_RELEASE_PREFIXES="$BUILD" \
      "$tree/tools/release.sh" || { log "the release in $tree failed"; exit 1; }
  done
  log "comparing the two dist/ folders"
  differ=0
  names=$( (cd "${RUNS[0]}/dist" && ls -A; cd "${RUNS[1]}/dist" && ls -A) | LC_ALL=C sort -u)
  while IFS= read -r name; do
    first=$(sha256sum "${RUNS[0]}/dist/$name" 2>/dev/null | cut -d' ' -f1) || true
    second=$(sha256sum "${RUNS[1]}/dist/$name" 2>/dev/null | cut -d' ' -f1) || true
    if [ -n "$first" ] && [ "$first" = "$second" ]; then
      printf 'same       %s  %s\n' "$first" "$name"
    else
      printf 'DIFFERENT  %s  %s (first)\n           %s  %s (second)\n' "${first:-missing}" "$name" \
        "${second:-missing}" "$name"
      differ=1
    fi
  done <<<"$names"
  rm -rf "$DIST"
  cp -a "${RUNS[0]}/dist" "$DIST"
  log "dist/ is the first run's; both runs took $(( $(date +%s) - started )) s"
  if [ "$differ" != 0 ]; then
    log "the two releases of $commit differ"
    exit 1
  fi
  log "the two releases of $commit are the same bytes"
  exit 0
fi

# The commit's time, for the PE time stamps (GNU ld and strip take SOURCE_DATE_EPOCH) and the
# zip: a release does not depend on when it was built.
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
  SOURCE_DATE_EPOCH=$(git -C "$ROOT" log -1 --format=%ct 2>/dev/null) ||
    { log "no commit to take the time from: set SOURCE_DATE_EPOCH"; exit 1; }
fi
export SOURCE_DATE_EPOCH

install_missing
install_wine32
log "native build (form compiler)"
configure_native
cmake --build "$BUILD/native" -j "$JOBS" --target formc

# Only the program is built in the release trees: no tests. It is compiled from the sources
# alone, not taken from the shared compiler cache, whose objects may carry another folder's
# relative paths; and it is linked anew, so that its time stamp is this commit's.
for arch in x86_64 i686; do
  log "release build ($arch)"
  cmake -S "$ROOT" -B "$BUILD/release-$arch" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-$arch.cmake" -DMG_FORMC="$BUILD/native/tools/formc" \
    -DCMAKE_C_COMPILER_LAUNCHER= -DCMAKE_CXX_COMPILER_LAUNCHER= >/dev/null
  rm -f "$BUILD/release-$arch/toolbox/minggui.exe"
  cmake --build "$BUILD/release-$arch" -j "$JOBS" --target minggui
done

rm -rf "$DIST"
mkdir -p "$DIST"
for arch in x86_64 i686; do
  cp "$BUILD/release-$arch/toolbox/minggui.exe" "$DIST/minggui-$arch.exe"
  "$arch-w64-mingw32-strip" "$DIST/minggui-$arch.exe"
done
python3 "$ROOT/tools/pack-release.py" "$DIST" "$VERSION" "$SOURCE_DATE_EPOCH" >/dev/null
ZIP="$DIST/minggui-$VERSION.zip"

log "checks"
failed=0
check() {  # description, then the command that must succeed
  local what=$1
  shift
  if "$@"; then echo "ok    $what"; else echo "FAIL  $what"; failed=1; fi
}

imports_checked() {  # program, its objdump
  python3 "$ROOT/tools/check-imports.py" "$OLDEST_WINDOWS" "$ROOT/tools/windows-imports.txt" "$1" "$2"
}
pe_is() {  # program, file format, optional-header magic; and the subsystem is Windows GUI
  local header
  header=$(x86_64-w64-mingw32-objdump -p "$1")
  grep -q "file format $2\$" <<<"$header" && grep -q "^Magic[[:space:]]*$3" <<<"$header" &&
    grep -q '^Subsystem[[:space:]]*00000002' <<<"$header"
}
# An older Windows refuses a program whose header names a newer subsystem or OS version.
pe_states_oldest_windows() {
  local header field found
  header=$(x86_64-w64-mingw32-objdump -p "$1")
  for field in Subsystem OSystem; do
    found=$(awk -v f="$field" '$1 == "Major" f "Version" { major = $2 } $1 == "Minor" f "Version" { minor = $2 }
      END { print major "." minor }' <<<"$header")
    [ "$found" = "$OLDEST_WINDOWS" ] || { echo "      $field version $found"; return 1; }
  done
}
# The test hooks read MG_CLOCK_FILE by its UTF-16 name: without the hooks the name is absent.
names_variable() {
  python3 -c 'import sys; sys.exit(0 if "MG_CLOCK_FILE".encode("utf-16-le") in open(sys.argv[1], "rb").read() else 1)' "$1"
}
no_test_hooks() { ! names_variable "$1"; }
# Notepad on Windows 7 shows lines only at CR LF, and reads UTF-8 as such only after a BOM.
for_notepad() {
  python3 -c 'import sys
data = open(sys.argv[1], "rb").read()
sys.exit(0 if data.startswith(b"\xef\xbb\xbf") and data.count(b"\n") == data.count(b"\r\n") > 0 else 1)' "$1"
}
# The zip holds exactly the files beside it (and its own SHA256SUMS.txt) under one folder, each
# the same bytes as beside it, and its checksums hold for what it unpacks to.
zip_matches_dist() {
  local unpacked listed expected status=0
  unpacked=$(mktemp -d /tmp/minggui-zip.XXXXXX)
  listed=$(unzip -Z1 "$ZIP" | LC_ALL=C sort)
  expected=$(cd "$DIST" && ls -A | grep -vxF "minggui-$VERSION.zip" | sed "s|^|minggui-$VERSION/|" | LC_ALL=C sort)
  if [ "$listed" != "$expected" ]; then
    echo "      the zip holds: $(echo $listed)"
    status=1
  fi
  # unzip picks the UTF-8 name from the Unicode path field of the GBK-named members.
  (cd "$unpacked" && unzip -q "$ZIP") || status=1
  for name in $(cd "$DIST" && ls -A | grep -vxF -e "minggui-$VERSION.zip" -e SHA256SUMS.txt); do
    cmp -s "$DIST/$name" "$unpacked/minggui-$VERSION/$name" || { echo "      differs in the zip: $name"; status=1; }
  done
  (cd "$unpacked/minggui-$VERSION" && sha256sum --quiet --strict -c SHA256SUMS.txt) || status=1
  rm -rf "$unpacked"
  return $status
}

for arch in x86_64 i686; do
  check "minggui-$arch.exe imports only functions of tools/windows-imports.txt, none newer than Windows $OLDEST_WINDOWS" \
    imports_checked "$DIST/minggui-$arch.exe" "$arch-w64-mingw32-objdump"
done
check "minggui-i686.exe is PE32 (pei-i386), subsystem Windows GUI" pe_is "$DIST/minggui-i686.exe" pei-i386 010b
check "minggui-x86_64.exe is PE32+ (pei-x86-64), subsystem Windows GUI" pe_is "$DIST/minggui-x86_64.exe" pei-x86-64 020b
for arch in x86_64 i686; do
  check "minggui-$arch.exe states Windows $OLDEST_WINDOWS as its subsystem and OS version" \
    pe_states_oldest_windows "$DIST/minggui-$arch.exe"
done
if [ -f "$BUILD/win64/toolbox/minggui.exe" ]; then  # the search finds the hooks where they are
  check "the test build (build/win64) reads MG_CLOCK_FILE" names_variable "$BUILD/win64/toolbox/minggui.exe"
fi
for arch in x86_64 i686; do
  check "minggui-$arch.exe has no test hooks (MG_CLOCK_FILE not read)" no_test_hooks "$DIST/minggui-$arch.exe"
done
check "toolbox/resources/minggui.ico is what tools/make-icon.py draws" python3 "$ROOT/tools/make-icon.py" --check
for text in 使用说明.txt 更新说明.txt LICENSE.txt; do
  check "$text is UTF-8 with a byte-order mark and CR LF line ends" for_notepad "$DIST/$text"
done
check "SHA256SUMS.txt holds for the zip and every file in it" \
  bash -c "cd '$DIST' && sha256sum --quiet --strict -c SHA256SUMS.txt"
check "the zip holds the files beside it and its own SHA256SUMS.txt, which holds" zip_matches_dist
# Each program alone in an empty folder mapped as drive E:, in a prefix of its own.
PREFIXES=${MG_RELEASE_PREFIXES:-$BUILD}
check "minggui-x86_64.exe runs alone from drive E: (64-bit Wine)" \
  env MG_LAB_PREFIX="$PREFIXES/wine-release" "$ROOT/tools/lab.sh" "$ROOT/tools/stick-run.sh" "$DIST/minggui-x86_64.exe"
check "minggui-i686.exe runs alone from drive E: (32-bit Wine, win32 prefix)" \
  env MG_LAB_ARCH=win32 MG_LAB_PREFIX="$PREFIXES/wine32-release" "$ROOT/tools/lab.sh" "$ROOT/tools/stick-run.sh" \
  "$DIST/minggui-i686.exe"

ls -l "$DIST"
if [ "$failed" != 0 ]; then
  log "release checks failed"
  exit 1
fi
log "dist/ is ready: minggui-$VERSION.zip"
