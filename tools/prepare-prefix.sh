#!/usr/bin/env bash
# Makes the Wine prefix once; later runs reuse it.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
if [ -f "$WINEPREFIX/.oxa-ready" ]; then
  exit 0
fi
rm -rf "$WINEPREFIX"
mkdir -p "$WINEPREFIX"
"$WINE64" wineboot -i >/dev/null 2>&1 || true
"$WINESERVER" -w
# Without a window manager every window shown or closed costs about 2 s
# unless Wine manages none; a crashing test must not wait on a crash dialog.
"$WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
"$WINE64" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
# Copies of the program under these names see an old Windows (refusal tests).
"$WINE64" reg add 'HKCU\Software\Wine\AppDefaults\OxaAdvanced_win2k.exe' /v Version /t REG_SZ /d win2k /f >/dev/null 2>&1
"$WINE64" reg add 'HKCU\Software\Wine\AppDefaults\OxaAdvanced_win98.exe' /v Version /t REG_SZ /d win98 /f >/dev/null 2>&1
"$WINE64" reg add 'HKCU\Software\Wine\AppDefaults\OxaAdvanced_winxp.exe' /v Version /t REG_SZ /d winxp /f >/dev/null 2>&1
"$WINE64" reg add 'HKCU\Software\Wine\AppDefaults\OxaAdvanced_vista.exe' /v Version /t REG_SZ /d vista /f >/dev/null 2>&1
# The colours and visual style as made, which run-tests.sh puts back: a run
# stopped inside the fit test's high-contrast look leaves them changed.
for saved in 'colours:HKCU\Control Panel\Colors' 'theme:HKCU\Software\Microsoft\Windows\CurrentVersion\ThemeManager'; do
  "$WINE64" reg export "${saved#*:}" "Z:${WINEPREFIX//\//\\}\\oxa-${saved%%:*}.reg" /y >/dev/null 2>&1
done
"$WINESERVER" -w
touch "$WINEPREFIX/.oxa-ready"
