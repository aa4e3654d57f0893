#!/usr/bin/env bash
# Benchmark: start-up, OK and footprint of OxaAdvanced.exe against what the
# platform itself needs for the same dialog and the same writes (the floor
# programs in this folder). Builds x64 and x86 with OXA_BENCH=ON into
# <folder>/bench-x64 and bench-x86, runs everything under one persistent Wine
# server on one virtual X display, prints the report (also saved as
# <folder>/bench-report.txt). Not part of the tests.
#   OXA_BUILD        folder (default build-bench); its wineprefix is shared
#                    with a test build there, so do not run both at once
#   OXA_DISPLAY_NUM  first X display number to try (default 150)
#   BENCH_ROUNDS     interleaved rounds (default 30); BENCH_CYCLES repaint and
#                    hover cycles for the GDI check (default 1000)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
export OXA_BUILD=${OXA_BUILD:-build-bench}
build="$root/$OXA_BUILD"

if [ -z "${OXA_BENCH_INNER:-}" ]; then
  bash tools/setup.sh
  export CMAKE_BUILD_PARALLEL_LEVEL=${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}
  for arch in x64 x86; do
    bash tools/build.sh "bench-$arch" >/dev/null
  done
  bash tools/prepare-prefix.sh
  # The same script again, inside a virtual X display of its own.
  OXA_BENCH_INNER=1 exec xvfb-run -a -n "${OXA_DISPLAY_NUM:-150}" -s "-screen 0 1024x768x24" bash "$root/bench/run.sh" "$@"
fi

source tools/wine-env.sh
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders'
finish() {
  # The driver restores the data folder setting; this covers a driver that died.
  "$WINE64" reg add "$key" /v "Common AppData" /t REG_EXPAND_SZ /d '%ProgramData%' /f >/dev/null 2>&1 || true
  "$WINESERVER" -k 2>/dev/null || true
}
"$WINESERVER" -k 2>/dev/null || true
"$WINESERVER" -p
# The server's helper processes start here, attached to nothing.
"$WINE64" cmd /c exit </dev/null >/dev/null 2>&1
trap finish EXIT

data="$build/bench-data"
# The driver's standard error: where the +file trace of its children lands.
trace="$build/bench-trace.txt"
rm -rf "$data" "$trace"
mkdir -p "$data"
winpath() { echo "Z:${1//\//\\}"; }
"$WINE64" "$build/bench-x64/BenchDriver.exe" --data "$(winpath "$data")" --x86 "$(winpath "$build/bench-x86")" \
  --trace "$(winpath "$trace")" --rounds "${BENCH_ROUNDS:-30}" --cycles "${BENCH_CYCLES:-1000}" \
  </dev/null 2>"$trace" | tr -d '\r' | tee "$build/bench-report.txt"
