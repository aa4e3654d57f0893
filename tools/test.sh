#!/usr/bin/env bash
# The test command: installs what is missing, builds both targets, runs every
# test under 64-bit Wine on a virtual X display large enough for the dialog
# at 168 DPI.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
bash tools/setup.sh
bash tools/build.sh
bash tools/prepare-prefix.sh
exec xvfb-run -a -n "${OXA_DISPLAY_NUM:-99}" -s "-screen 0 1920x1200x24" bash tools/run-tests.sh "$@"
