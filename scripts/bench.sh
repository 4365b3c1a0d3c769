#!/usr/bin/env bash
# Builds and runs the benchmarks (optimised, no sanitizers).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DMORV_TESTS=OFF -DMORV_BENCH=ON >/dev/null
cmake --build build/bench --target morv_bench
build/bench/bench/morv_bench "$@"
