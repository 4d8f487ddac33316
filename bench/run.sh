#!/usr/bin/env bash
# Builds the benchmarks in an optimised native tree (no sanitizers) and runs them.
#   bench/run.sh            every benchmark
# MG_BENCH_PASSES (7) sets the monitoring passes per host set; bench/monitor/soak.sh is the soak.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD="$ROOT/build/bench-native"

cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$BUILD" -j2 --target template_read_bench formc

echo "== template reading: representative 118-record image"
"$BUILD/bench/template_read_bench"

echo "== template reading: the compiled main window form"
"$BUILD/tools/formc" --template-out "$BUILD/bench/main_window_template.cpp" \
  --events-out "$BUILD/bench/tool_event_code.cpp" --image "$BUILD/bench/main_window.bin" \
  "$ROOT/toolbox/main_window.toml"
"$BUILD/bench/template_read_bench" "$BUILD/bench/main_window.bin"

# Windows benchmarks (loading windows under Wine) go below this line.
echo "== window loading: about 100 units from a template against CreateWindowExW (Wine)"
source "$ROOT/tools/lib.sh"
build_native >/dev/null && build_windows win64 >/dev/null && "$ROOT/tools/lab.sh" wine "$ROOT/build/win64/bench/window_load_bench.exe"

echo "== a monitoring pass over 6 + 21 lab hosts against fping -r0 -t500 on the same hosts (Wine)"
"$ROOT/tools/lab.sh" python3 "$ROOT/bench/monitor/monitor_bench.py"

echo "== start-up to the window painted with its lists, and idle CPU with the clock ticking (Wine)"
"$ROOT/bench/startup/startup.sh"
