#!/usr/bin/env bash
# Builds both targets: $OXA_BUILD/x64 (with the tests) and $OXA_BUILD/x86
# ("build" by default), through the presets of the same names.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
# The presets put their folders under $OXA_BUILD.
export OXA_BUILD=${OXA_BUILD:-build}
export CMAKE_BUILD_PARALLEL_LEVEL=${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}
bash tools/googletest.sh
cmake --workflow --preset x64
cmake --workflow --preset x86
