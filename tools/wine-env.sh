# Sourced by the scripts that run Windows programs: one 64-bit Wine prefix per
# checkout, reused across runs. Never the 32-bit loader: this kernel cannot
# execute 32-bit programs.
OXA_ROOT=${OXA_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
# OXA_BUILD names the build folder (default "build"), so that several
# checkouts or workers can build and test side by side; the presets read it.
export OXA_BUILD=${OXA_BUILD:-build}
export WINEPREFIX=${OXA_WINEPREFIX:-$OXA_ROOT/$OXA_BUILD/wineprefix}
export WINEARCH=win64
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="
WINE64=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver64
