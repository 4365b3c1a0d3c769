#!/usr/bin/env bash
# Installs from Debian's packages what the build, the tests and the program
# need, and generates the locales the tests run under; does nothing when all
# of it is already there.
set -euo pipefail
pkgs=(cmake ninja-build g++ qt6-base-dev libqt6sql6-sqlite libjpeg62-turbo-dev
      libpugixml-dev libgtest-dev libgmock-dev libbenchmark-dev fonts-dejavu-core fonts-urw-base35 ccache
      locales
      # The readers the file tests check their files with.
      libxml2-utils python3 poppler-utils)
# libFuzzer and clang's sanitizer runtimes are only recommended by clang, and
# recommendations are not installed below.
if [ "${1:-}" = "--fuzz" ]; then pkgs+=(clang libclang-rt-14-dev); fi
# The suite also runs under a comma-decimal locale; en_US is what a desktop
# most often has. C.UTF-8 comes with the C library itself.
locales=(de_DE.UTF-8 en_US.UTF-8)

missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
# "locale -a" lists de_DE.UTF-8 as de_DE.utf8.
have_locale() { grep -qix "${1%%.*}\.utf-\?8" <<<"$(locale -a 2>/dev/null || true)"; }
no_locale=()
for l in "${locales[@]}"; do
  have_locale "$l" || no_locale+=("$l")
done
[ ${#missing[@]} -eq 0 ] && [ ${#no_locale[@]} -eq 0 ] && exit 0

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null; then
    echo "Run this as root, or install sudo, to install: ${missing[*]} ${no_locale[*]}" >&2
    exit 1
  fi
  SUDO="sudo"
fi
if [ ${#missing[@]} -ne 0 ]; then
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update -qq
  $SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
if [ ${#no_locale[@]} -ne 0 ]; then
  echo "Generating locales: ${no_locale[*]}"
  for l in "${no_locale[@]}"; do
    # Uncomment the line when it is there, else add it.
    if grep -qE "^[#[:space:]]*${l//./\\.}[[:space:]]+UTF-8" /etc/locale.gen 2>/dev/null; then
      $SUDO sed -i -E "s/^[#[:space:]]*(${l//./\\.}[[:space:]]+UTF-8)/\1/" /etc/locale.gen
    else
      echo "$l UTF-8" | $SUDO tee -a /etc/locale.gen >/dev/null
    fi
  done
  $SUDO locale-gen --keep-existing >/dev/null
  for l in "${no_locale[@]}"; do
    have_locale "$l" || { echo "Could not generate the locale $l" >&2; exit 1; }
  done
fi
