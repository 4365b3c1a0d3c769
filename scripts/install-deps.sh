#!/usr/bin/env bash
# Installs from Debian's packages what the build, the tests and the program
# need; does nothing when all of it is already there.
set -euo pipefail
pkgs=(cmake ninja-build g++ qt6-base-dev libqt6sql6-sqlite libjpeg62-turbo-dev
      libpugixml-dev libgtest-dev libgmock-dev libbenchmark-dev fonts-dejavu-core ccache)
if [ "${1:-}" = "--fuzz" ]; then pkgs+=(clang); fi
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
