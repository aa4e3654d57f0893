#!/usr/bin/env bash
# Runs the tests that need an unprivileged Windows user (root ignores the
# read-only bit under Wine) as the "nobody" user: its own copy of the test
# prefix, its own Wine server and its own virtual display.
# Usage: run-as-user.sh <build folder>/x64
set -euo pipefail
build=$(cd "$1" && pwd)
user_id=65534
source_prefix="$build/../wineprefix"
prefix="$build/../wineprefix-user"
home="$build/../user-home"

if [ "$(id -u)" != 0 ]; then
  # Already unprivileged: nothing to switch to, run the tests as we are.
  user_id=$(id -u)
fi
if [ ! -f "$source_prefix/.oxa-ready" ]; then
  echo "no ready test prefix at $source_prefix (run tools/prepare-prefix.sh)" >&2
  exit 1
fi
# The copy is made once and reused while the source prefix stays the same.
if [ ! -f "$prefix/.oxa-ready" ] || [ "$source_prefix/.oxa-ready" -nt "$prefix/.oxa-ready" ]; then
  rm -rf "$prefix" "$prefix.tmp"
  cp -a "$source_prefix" "$prefix.tmp"
  # Names the source server's private folder: the copy gets its own.
  rm -f "$prefix.tmp/wineserver"
  chown -R "$user_id:$user_id" "$prefix.tmp"
  mv "$prefix.tmp" "$prefix"
fi
mkdir -p "$home/artifacts"
chown -R "$user_id:$user_id" "$home"

run=(env -i PATH=/usr/bin:/bin HOME="$home" WINEPREFIX="$prefix" WINEARCH=win64 WINEDEBUG=-all
     WINEDLLOVERRIDES="mscoree,mshtml=" OXA_UNPRIVILEGED=1
     OXA_BUILD_DIR="Z:$build" OXA_ARTIFACTS="Z:$home/artifacts"
     xvfb-run -a -n 200 -s "-screen 0 1024x768x24"
     bash -c '/usr/lib/wine/wineserver64 -p
              /usr/lib/wine/wine64 cmd /c exit </dev/null >/dev/null 2>&1
              output=$(/usr/lib/wine/wine64 "$0/tests/e2e_tests.exe" --gtest_filter="RobustUnprivileged.*" 2>&1)
              status=$?
              echo "$output"
              # A skip or an empty selection is no pass here.
              echo "$output" | grep -q "^\[       OK \] RobustUnprivileged" || status=1
              /usr/lib/wine/wineserver64 -k
              exit $status' "$build")
if [ "$(id -u)" = 0 ]; then
  exec setpriv --reuid="$user_id" --regid="$user_id" --clear-groups "${run[@]}"
fi
exec "${run[@]}"
