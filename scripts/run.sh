#!/usr/bin/env bash
# Installs what is missing, builds the configurator and starts it from its
# program folder (build/app/Morvantile_HART).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build/app -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMORV_TESTS=OFF >/dev/null
cmake --build build/app --target Morvantile_HART
cd build/app/Morvantile_HART
exec ./Morvantile_HART "$@"
