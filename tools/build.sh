#!/usr/bin/env bash
# Builds both targets: $OXA_BUILD/x64 (with the tests) and $OXA_BUILD/x86 ("build" by default).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
jobs=$(nproc)
cmake -S . -B ${OXA_BUILD:-build}/x64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x64.cmake -DCMAKE_BUILD_TYPE=Release \
  -DOXA_TESTS=ON -DCMAKE_CROSSCOMPILING_EMULATOR="$root/tools/wine-run.sh" >/dev/null
cmake --build ${OXA_BUILD:-build}/x64 -j"$jobs"
cmake -S . -B ${OXA_BUILD:-build}/x86 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build ${OXA_BUILD:-build}/x86 -j"$jobs"
