#!/usr/bin/env bash
# Builds the presets named (x64 with the tests and x86 when none is named)
# into $OXA_BUILD/<preset>, "build" by default, as the presets themselves do.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
export OXA_BUILD=${OXA_BUILD:-build}
export CMAKE_BUILD_PARALLEL_LEVEL=${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}
presets=("$@")
[ ${#presets[@]} -gt 0 ] || presets=(x64 x86)
for preset in "${presets[@]}"; do
  [ "$preset" != x64 ] || bash tools/googletest.sh
  # The folder given here wins over the preset's, and GoogleTest is looked
  # for beside it.
  cmake --preset "$preset" -B "$OXA_BUILD/$preset" -DCMAKE_PREFIX_PATH="$root/$OXA_BUILD/googletest-x64"
  cmake --build "$OXA_BUILD/$preset"
done
