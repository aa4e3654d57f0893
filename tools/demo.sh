#!/usr/bin/env bash
# Installs what is missing, builds, and opens the dialog under Wine on a demo
# data folder (a copy of tools/demo-data). With $DISPLAY the dialog is yours
# to use and close; without one it runs on a virtual display, a screenshot is
# saved and its path printed, and the dialog is closed.
#   OXA_DPI=144      runs it at that DPI (the prefix's LogPixels, put back after)
#   OXA_LANG=4       shows it in that language (the demo files' Lang value)
#   OXA_SCREEN=WxH   the virtual display's size (default 1024x768)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
bash tools/setup.sh
bash tools/build.sh >/dev/null
bash tools/prepare-prefix.sh
source tools/wine-env.sh
out="$root/$OXA_BUILD"
demo="$out/demo"
rm -rf "$demo" && mkdir -p "$demo" && cp -r tools/demo-data/. "$demo/"
if [ -n "${OXA_LANG:-}" ]; then
  for f in "$demo"/*/QRZINFO.INI; do sed -i "s/^Lang=.*/Lang=$OXA_LANG/" "$f"; done
fi
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders'
"$WINE64" reg add "$key" /v "Common AppData" /t REG_SZ /d "Z:${demo//\//\\}" /f >/dev/null 2>&1
dpiKey='HKCU\Control Panel\Desktop'
restore() {
  "$WINE64" reg add "$key" /v "Common AppData" /t REG_EXPAND_SZ /d '%ProgramData%' /f >/dev/null 2>&1 || true
  "$WINE64" reg add "$dpiKey" /v LogPixels /t REG_DWORD /d 96 /f >/dev/null 2>&1 || true
}
trap restore EXIT
if [ -n "${OXA_DPI:-}" ]; then
  "$WINE64" reg add "$dpiKey" /v LogPixels /t REG_DWORD /d "$OXA_DPI" /f >/dev/null 2>&1
fi
"$WINESERVER" -w
echo "Settings files: $demo"
if [ -n "${DISPLAY:-}" ]; then
  "$WINE64" "$out/x64/OxaAdvanced.exe" || true
else
  shot="$out/artifacts/demo${OXA_DPI:+-$OXA_DPI}${OXA_LANG:+-lang$OXA_LANG}.png"
  rm -f "$out/artifacts/demo.bmp"
  OXA_BUILD_DIR="Z:$out/x64" OXA_ARTIFACTS="Z:$out/artifacts" OXA_DEMO_DATA="Z:$demo" \
    xvfb-run -a -s "-screen 0 ${OXA_SCREEN:-1024x768}x24" "$WINE64" "$out/x64/tests/e2e_tests.exe" \
      --gtest_also_run_disabled_tests --gtest_filter='Demo.DISABLED_ShowAndScreenshot' >/dev/null 2>&1 || true
  [ -f "$out/artifacts/demo.bmp" ] || { echo "The dialog did not open"; exit 1; }
  convert "$out/artifacts/demo.bmp" "$shot"
  echo "Screenshot: $shot"
fi
