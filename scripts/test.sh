#!/usr/bin/env bash
# Installs what is missing, builds every test with AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs them all.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DMORV_SANITIZE=ON -DMORV_TESTS=ON >/dev/null
cmake --build build/test
cd build/test
ctest --output-on-failure -j "$(nproc)"
