#!/usr/bin/env bash
# Installs what building and testing need on Debian 12 (as root), only what is
# missing.
set -euo pipefail
packages=(cmake make python3 g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix googletest
          wine64 xvfb xauth imagemagick binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
          wixl msitools faketime)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  # With the recommended packages: Wine then has the fonts its dialogs are
  # measured with on these machines.
  apt-get install -y -qq "${missing[@]}" >/dev/null
fi
