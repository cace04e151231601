#!/usr/bin/env bash
# Benchmarks of the real keyvora.exe under Wine in Xvfb: step pacing, delay 0 throughput, stop
# latency, target list fill, start-up and footprint, each against a reference measured in the same
# run. Prints one table and writes it to bench/results.md. Not part of the test command.
#   BENCH_BUILD_DIR   the mingw build tree (default build/bench-win32)
#   BENCH_PREFIX      the Wine prefix (default build/bench-prefix; created on first use)
set -euo pipefail
cd "$(dirname "$0")"

build=${BENCH_BUILD_DIR:-build/bench-win32}
prefix=${BENCH_PREFIX:-$PWD/build/bench-prefix}

for tool in i686-w64-mingw32-g++ wine Xvfb xdotool python3; do
    command -v "$tool" >/dev/null || { echo "bench.sh: $tool is missing; run ./test.sh or ./run.sh once to set up" >&2; exit 1; }
done

cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/i686-w64-mingw32.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j2 --target keyvora probe recorder bench_window post_reference bench_agent target_fill

export KEYVORA_BUILD_DIR=$PWD/$build
export KEYVORA_E2E_WORK=$PWD/$build/bench-work
export KEYVORA_E2E_PREFIX=$prefix
exec python3 bench/run_bench.py
