#!/usr/bin/env bash
# Builds GoogleTest for the 64-bit MinGW toolchain into $OXA_BUILD/googletest-x64,
# where the x64 preset finds it: Debian ships its sources only. Done once per
# build folder, again when the sources or the toolchain file change.
#   OXA_GTEST_SOURCE  GoogleTest sources (default /usr/src/googletest)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
source=${OXA_GTEST_SOURCE:-/usr/src/googletest}
toolchain="$root/cmake/mingw-x64.cmake"
prefix="$root/${OXA_BUILD:-build}/googletest-x64"
stamp="$prefix/lib/cmake/GTest/GTestConfig.cmake"
if [ -f "$stamp" ] && [ "$stamp" -nt "$source/CMakeLists.txt" ] && [ "$stamp" -nt "$toolchain" ]; then
  exit 0
fi
echo "Building GoogleTest for MinGW x64 into $prefix"
work="$prefix-build"
rm -rf "$prefix" "$work"
# C++17 without GNU extensions, like the tests that link it.
cmake -S "$source" -B "$work" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_CXX_STANDARD=17 -DCMAKE_CXX_EXTENSIONS=OFF -DBUILD_GMOCK=OFF -DINSTALL_GTEST=ON \
  -DCMAKE_INSTALL_PREFIX="$prefix" >/dev/null
cmake --build "$work" -j"$(nproc)" >/dev/null
cmake --install "$work" >/dev/null
rm -rf "$work"
