#!/usr/bin/env bash
# Installs from Debian's packages what the build, the tests and the program
# need; does nothing when all of it is already there.
set -euo pipefail
pkgs=(cmake ninja-build g++ qt6-base-dev libqt6sql6-sqlite libjpeg62-turbo-dev
      libpugixml-dev libgtest-dev libgmock-dev libbenchmark-dev fonts-dejavu-core fonts-urw-base35 ccache)
# libFuzzer and clang's sanitizer runtimes are only recommended by clang, and
# recommendations are not installed below.
if [ "${1:-}" = "--fuzz" ]; then pkgs+=(clang libclang-rt-14-dev); fi
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null; then
    echo "Run this as root, or install sudo, to install: ${missing[*]}" >&2
    exit 1
  fi
  SUDO="sudo"
fi
$SUDO apt-get update -qq
$SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
