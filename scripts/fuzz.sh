#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs one of them:
#   scripts/fuzz.sh <target> [seconds]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --fuzz
target=${1:?usage: scripts/fuzz.sh <target> [seconds]}
secs=${2:-60}
CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DMORV_TESTS=OFF -DMORV_FUZZ=ON >/dev/null
cmake --build build/fuzz --target "$target"
mkdir -p build/fuzz/corpus/"$target"
seed=fuzz/corpus/"$target"
dirs=(build/fuzz/corpus/"$target")
[ -d "$seed" ] && dirs+=("$seed")
QT_QPA_PLATFORM=offscreen build/fuzz/fuzz/"$target" -max_total_time="$secs" "${dirs[@]}"
