#!/usr/bin/env bash
# Builds both programs in release mode and writes the download into dist/:
#   minggui-x86_64.exe, minggui-i686.exe    the 64-bit and the 32-bit program
#   使用说明.txt, page-*.png                the guide (docs/使用说明.md) for Notepad, its pictures
#   SHA256SUMS                               checksums of all of the above
#   minggui-VERSION.zip                      all of it in one folder
# and checks them: only DLLs that come with Windows imported, the 32-bit program a 32-bit GUI
# program, no test hooks, the committed icon the one tools/make-icon.py draws, and each program
# started alone from drive E: under Wine (tools/stick-run.sh, inside the lab).
set -euo pipefail
source "$(dirname "$0")/lib.sh"

VERSION=$(sed -n 's/^project(minggui VERSION \([0-9.]*\).*/\1/p' "$ROOT/CMakeLists.txt")
[ -n "$VERSION" ] || { log "no version in CMakeLists.txt"; exit 1; }
DIST="$ROOT/dist"

install_missing
install_wine32
log "native build (form compiler)"
configure_native
cmake --build "$BUILD/native" -j "$JOBS" --target formc

# Only the program is built in the release trees: no tests.
for arch in x86_64 i686; do
  log "release build ($arch)"
  cmake -S "$ROOT" -B "$BUILD/release-$arch" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-$arch.cmake" -DMG_FORMC="$BUILD/native/tools/formc" >/dev/null
  cmake --build "$BUILD/release-$arch" -j "$JOBS" --target minggui
done

rm -rf "$DIST"
mkdir -p "$DIST"
for arch in x86_64 i686; do
  cp "$BUILD/release-$arch/toolbox/minggui.exe" "$DIST/minggui-$arch.exe"
  "$arch-w64-mingw32-strip" "$DIST/minggui-$arch.exe"
done
python3 "$ROOT/tools/pack-release.py" "$DIST" "$VERSION" "$ROOT/docs/使用说明.md" "$ROOT"/docs/page-*.png >/dev/null

log "checks"
failed=0
check() {  # description, then the command that must succeed
  local what=$1
  shift
  if "$@"; then echo "ok    $what"; else echo "FAIL  $what"; failed=1; fi
}

# DLLs that every Windows since XP has in its system folder.
WINDOWS_DLLS='^(kernel32|user32|gdi32|comctl32|comdlg32|shell32|ole32|oleaut32|advapi32|msvcrt|ws2_32|iphlpapi|winmm|version|imm32|shlwapi|uuid)\.dll$'
imports_only_windows_dlls() {
  local dlls others
  dlls=$(x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
  echo "      imports: $(echo $dlls)"
  others=$(grep -Ev "$WINDOWS_DLLS" <<<"$dlls" || true)
  [ -z "$others" ] || { echo "      not part of Windows: $others"; return 1; }
}
pe_is() {  # program, file format, optional-header magic; and the subsystem is Windows GUI
  local header
  header=$(x86_64-w64-mingw32-objdump -p "$1")
  grep -q "file format $2\$" <<<"$header" && grep -q "^Magic[[:space:]]*$3" <<<"$header" &&
    grep -q '^Subsystem[[:space:]]*00000002' <<<"$header"
}
# The test hooks read MG_CLOCK_FILE by its UTF-16 name: without the hooks the name is absent.
names_variable() {
  python3 -c 'import sys; sys.exit(0 if "MG_CLOCK_FILE".encode("utf-16-le") in open(sys.argv[1], "rb").read() else 1)' "$1"
}
no_test_hooks() { ! names_variable "$1"; }

for arch in x86_64 i686; do
  check "minggui-$arch.exe imports only DLLs that come with Windows" imports_only_windows_dlls "$DIST/minggui-$arch.exe"
done
check "minggui-i686.exe is PE32 (pei-i386), subsystem Windows GUI" pe_is "$DIST/minggui-i686.exe" pei-i386 010b
check "minggui-x86_64.exe is PE32+ (pei-x86-64), subsystem Windows GUI" pe_is "$DIST/minggui-x86_64.exe" pei-x86-64 020b
if [ -f "$BUILD/win64/toolbox/minggui.exe" ]; then  # the search finds the hooks where they are
  check "the test build (build/win64) reads MG_CLOCK_FILE" names_variable "$BUILD/win64/toolbox/minggui.exe"
fi
for arch in x86_64 i686; do
  check "minggui-$arch.exe has no test hooks (MG_CLOCK_FILE not read)" no_test_hooks "$DIST/minggui-$arch.exe"
done
check "toolbox/resources/minggui.ico is what tools/make-icon.py draws" python3 "$ROOT/tools/make-icon.py" --check
check "SHA256SUMS matches the files" bash -c "cd '$DIST' && sha256sum --quiet -c SHA256SUMS"
check "the zip holds the programs, the guide, its pictures and SHA256SUMS" \
  bash -c "[ \$(unzip -Z1 '$DIST/minggui-$VERSION.zip' | wc -l) = $(($(ls "$DIST" | wc -l) - 1)) ]"
# Each program alone in an empty folder mapped as drive E:, in a prefix of its own.
check "minggui-x86_64.exe runs alone from drive E: (64-bit Wine)" \
  env MG_LAB_PREFIX="$BUILD/wine-release" "$ROOT/tools/lab.sh" "$ROOT/tools/stick-run.sh" "$DIST/minggui-x86_64.exe"
check "minggui-i686.exe runs alone from drive E: (32-bit Wine, win32 prefix)" \
  env MG_LAB_ARCH=win32 MG_LAB_PREFIX="$BUILD/wine32-release" "$ROOT/tools/lab.sh" "$ROOT/tools/stick-run.sh" \
  "$DIST/minggui-i686.exe"

ls -l "$DIST"
if [ "$failed" != 0 ]; then
  log "release checks failed"
  exit 1
fi
log "dist/ is ready: minggui-$VERSION.zip"
