#!/usr/bin/env bash
# Idempotent set-up for a Debian 12 machine: installs the packages the build and the tests
# need when they are missing, then creates the Wine prefix.
set -eu
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

packages=(cmake make g++ googletest libgtest-dev libgmock-dev libbenchmark-dev clang
  libclang-rt-14-dev clang-format
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  mingw-w64-x86-64-dev wine wine64 xvfb xauth x11-utils fonts-wqy-microhei imagemagick
  fp-utils zip)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  line="apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages: ${missing[*]}" >&2
    echo "Run as root:" >&2
    echo "  $line" >&2
    exit 1
  fi
  echo "Installing: ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

"$here/tools/setup-wineprefix"
