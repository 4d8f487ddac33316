#!/usr/bin/env bash
# Runs a command inside the test lab: a private network namespace with loopback only,
# where the kernel ignores echo requests and the project's ICMP responder answers them
# after a delay chosen by the address (127.0.x.y at once, 127.1.H.L after H*256+L ms,
# every other address never). The command gets its own Xvfb display and one persistent
# wineserver; afterwards all of them are stopped and the namespace is removed. A small
# filesystem stands for a full disk (MG_LAB_FULL_DISK_DIR).
# ICMP in tests can therefore reach nothing but 127.x addresses.
#   tools/lab.sh ctest --test-dir build/win64 -R Pattern
#   tools/lab.sh fping -r0 -t500 -e 127.0.0.1 127.1.0.80 127.2.0.1
#   MG_LAB_ARCH=win32 tools/lab.sh ctest --test-dir build/win32 -R Pattern   (the 32-bit program)
set -euo pipefail
source "$(dirname "$0")/lib.sh"

# Already inside a running lab (a script started by lab.sh calls it again): just run.
if [ "${MG_LAB_READY:-}" = 1 ]; then
  exec "$@"
fi

# MG_LAB_ARCH=win32 runs 32-bit programs: the i386 Wine (wine32) in a win32 prefix.
ARCH=${MG_LAB_ARCH:-win64}
if [ "$ARCH" = win32 ]; then
  WINE=wine32
  DEFAULT_PREFIX="$BUILD/wine32-test"
else
  WINE=wine
  DEFAULT_PREFIX="$BUILD/wine-test"
fi
# Tests use a prefix of their own (MG_LAB_PREFIX picks another, so that runs can overlap).
export WINEPREFIX="${MG_LAB_PREFIX:-$DEFAULT_PREFIX}"

if [ "${MG_IN_LAB:-}" != 1 ]; then
  build_responder
  NS="minggui-lab-$$"
  ip netns add "$NS"
  # Name lookups in the lab ask a resolver on loopback, where none answers: a name that
  # /etc/hosts does not know fails at once and no query leaves the machine.
  mkdir -p "/etc/netns/$NS"
  echo "nameserver 127.0.0.1" > "/etc/netns/$NS/resolv.conf"
  trap 'ip netns del "$NS" 2>/dev/null || true; rm -rf "/etc/netns/$NS"' EXIT
  ip netns exec "$NS" ip link set lo up
  ip netns exec "$NS" sysctl -qw net.ipv4.icmp_echo_ignore_all=1
  MG_IN_LAB=1 ip netns exec "$NS" "$0" "$@"
  exit $?
fi

# A full disk for the tests: a folder whose 盘货记录 is a filesystem of 96 KiB. It is mounted in
# the lab's own mount namespace (ip netns exec gave it one), before the wineserver starts, and
# goes with the lab.
FULL_DISK_DIR=$(mktemp -d /tmp/minggui-full-disk.XXXXXX)
mkdir "$FULL_DISK_DIR/盘货记录"
mount -t tmpfs -o size=96k minggui-full-disk "$FULL_DISK_DIR/盘货记录"
export MG_LAB_FULL_DISK_DIR="$FULL_DISK_DIR"
trap 'wineserver -k 2>/dev/null || true; stop_display; stop_responder; umount "$FULL_DISK_DIR/盘货记录" 2>/dev/null; rm -rf "$FULL_DISK_DIR"' EXIT
# The responder first: the wineserver's ICMP service and the command find the hosts answering.
start_responder
start_display
wineserver -k 2>/dev/null || true
prepare_prefix "$WINE"
wineserver -p
# Start Wine's background services now, with harmless descriptors: started by a test they
# would inherit its output pipes and keep them open after the test ends.
"$WINE" cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
# Wine's desktop process stays for the whole lab (tools/desktop_keeper), so that a test program
# never starts while the desktop of the previous one is going away.
# The first test starts once the desktop is up: a program that starts while the desktop is
# still being made can hang at its exit (seen with the emulated 32-bit Wine on a busy machine).
KEEPER="$BUILD/$ARCH/tools/desktop_keeper.exe"
if [ -f "$KEEPER" ]; then
  READY=$(mktemp -u /tmp/minggui-desktop.XXXXXX)
  "$WINE" "$KEEPER" "Z:${READY//\//\\}" </dev/null >/dev/null 2>&1 &
  for _ in $(seq 1200); do
    [ -e "$READY" ] && break
    sleep 0.1
  done
  [ -e "$READY" ] || log "the lab's desktop did not come up in 120 s; going on"
  rm -f "$READY"
fi
export MG_LAB_READY=1
"$@"
