#!/usr/bin/env bash
# Runs a command inside a private network namespace with loopback only, with
# its own Xvfb display and one persistent wineserver, then removes the namespace.
# ICMP in tests can therefore reach nothing but 127.x addresses.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
# Tests use a prefix of their own (MG_LAB_PREFIX picks another, so that runs can overlap).
export WINEPREFIX="${MG_LAB_PREFIX:-$BUILD/wine-test}"

if [ "${MG_IN_LAB:-}" != 1 ]; then
  NS="minggui-lab-$$"
  ip netns add "$NS"
  trap 'ip netns del "$NS" 2>/dev/null || true' EXIT
  ip netns exec "$NS" ip link set lo up
  ip netns exec "$NS" sysctl -qw net.ipv4.icmp_echo_ignore_all=1
  MG_IN_LAB=1 ip netns exec "$NS" "$0" "$@"
  exit $?
fi

start_display
wineserver -k 2>/dev/null || true
prepare_prefix
wineserver -p
# Start Wine's background services now, with harmless descriptors: started by a test they
# would inherit its output pipes and keep them open after the test ends.
wine cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
trap 'wineserver -k 2>/dev/null || true; stop_display' EXIT
"$@"
