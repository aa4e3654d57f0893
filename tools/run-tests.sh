#!/usr/bin/env bash
# Runs ctest with one persistent Wine server, so each test process starts in
# a fraction of a second. Expects an X display.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
cd "$OXA_ROOT"
"$WINESERVER" -k 2>/dev/null
"$WINESERVER" -p
# Start the server's helper processes with nothing attached to the test's
# output, or ctest waits on them.
"$WINE64" cmd /c exit </dev/null >/dev/null 2>&1
# A run stopped while a test had the prefix at another DPI, or with other
# fonts, leaves it so.
"$WINE64" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f </dev/null >/dev/null 2>&1
"$WINE64" reg delete 'HKCU\Software\Wine\Fonts\Replacements' /f </dev/null >/dev/null 2>&1
# Or in the high-contrast look: its colours and visual style as made.
for saved in colours theme; do
  [ -f "$WINEPREFIX/oxa-$saved.reg" ] &&
    "$WINE64" reg import "Z:${WINEPREFIX//\//\\}\\oxa-$saved.reg" </dev/null >/dev/null 2>&1
done
ctest --preset x64 --test-dir "$OXA_BUILD/x64" "$@"
status=$?
"$WINESERVER" -k 2>/dev/null
# Screenshots the tests saved, as PNG for people to look at.
for bmp in $OXA_BUILD/x64/artifacts/*.bmp; do
  [ -e "$bmp" ] && convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"
done
[ -d $OXA_BUILD/x64/artifacts ] && echo "Screenshots: $OXA_ROOT/$OXA_BUILD/x64/artifacts"
exit $status
