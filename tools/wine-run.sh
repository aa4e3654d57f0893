#!/usr/bin/env bash
# Runs one Windows program under 64-bit Wine (ctest's cross-compiling emulator).
#
# Under load, Wine now and then ends a program with an error in a few
# hundredths of a second, before the program has run any code of its own or
# printed anything. Such a run is reported with its exit code and started
# once more; a program that printed anything keeps its result.
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
out=$(mktemp)
trap 'rm -f "$out"' EXIT
for attempt in 1 2; do
  "$WINE64" "$@" 2>&1 | tee "$out"
  rc=${PIPESTATUS[0]}
  if [ "$rc" -eq 0 ] || [ -s "$out" ]; then
    exit "$rc"
  fi
  echo "wine-run: $1 ended with code $rc before printing anything (attempt $attempt)"
done
exit "$rc"
