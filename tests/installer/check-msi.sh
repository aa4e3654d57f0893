#!/usr/bin/env bash
# The installer packages: their tables (both architectures), that building
# again gives the same bytes, and, under Wine's msiexec in a copy of the test
# prefix, a silent install, an upgrade to a newer build, a refused downgrade
# and a silent removal that leaves the settings files as they were.
#   check-msi.sh BUILD_FOLDER VERSION
set -u
build=$(cd "$1" && pwd) version=$2
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
name="OXA Advanced Engraver Settings"
upgrade_code="{6C0A3E1B-7F4D-4C2A-9E51-2B8D0F3A4C11}"
# The programs in the packages: file name, then the Start-menu entry that
# opens it (none for "-").
programs=(
  "OxaAdvanced.exe|$name"
)
status=0 component_codes=
fail() { echo "FAIL: $*"; status=1; }
expect() { [ "$2" = "$3" ] || fail "$1: \"$2\", expected \"$3\""; }
# A table as text, without the carriage returns msiinfo ends its lines with.
table() { msiinfo export "$1" "$2" | tr -d '\r'; }
row() { awk -F'\t' -v k="$2" 'NR > 3 && $1 == k' <<<"$1"; }
field() { awk -F'\t' -v k="$2" -v n="$3" 'NR > 3 && $1 == k { print $n }' <<<"$1"; }
# The version resource's numbers, as the package writes them.
exe_version() {
  "${2}-windres" -i "$1" -O rc 2>/dev/null | sed -n 's/^ *FILEVERSION \([0-9]*\), \([0-9]*\), \([0-9]*\), \([0-9]*\)/\1.\2.\3.\4/p'
}

check_tables() {
  local arch=$1 binutils=$2 program_files=$3 template=$4 win64=$5
  local msi=$build/$arch/OxaAdvanced-$version-$arch.msi
  [ -f "$msi" ] || { fail "no package $msi"; return; }
  local props files comps shortcuts dirs
  props=$(table "$msi" Property)
  files=$(table "$msi" File)
  comps=$(table "$msi" Component)
  shortcuts=$(table "$msi" Shortcut)
  dirs=$(table "$msi" Directory)
  expect "$arch ProductVersion" "$(field "$props" ProductVersion 2).0" "$(exe_version "$build/$arch/OxaAdvanced.exe" "$binutils")"
  expect "$arch UpgradeCode" "$(field "$props" UpgradeCode 2)" "$upgrade_code"
  expect "$arch ALLUSERS" "$(field "$props" ALLUSERS 2)" 1
  expect "$arch Manufacturer" "$(field "$props" Manufacturer 2)" OXA
  expect "$arch ProductName" "$(field "$props" ProductName 2)" "$name"
  local icon
  icon=$(field "$props" ARPPRODUCTICON 2)
  [ -n "$(row "$(table "$msi" Icon)" "$icon")" ] || fail "$arch ARPPRODUCTICON \"$icon\" is not in the Icon table"
  expect "$arch Template" "$(msiinfo suminfo "$msi" | tr -d '\r' | sed -n 's/^Template: //p')" "$template"
  expect "$arch folder" "$(field "$dirs" INSTALLFOLDER 3)|$(field "$dirs" OxaFolder 2)" "ADVENG|Advanced Engraver Settings|$program_files"
  # 256: a 64-bit component.
  awk -F'\t' -v want="$win64" 'NR > 3 && int($4 / 256) % 2 != want { print "FAIL: component " $1 " attributes " $4; bad = 1 }
                               END { exit bad }' <<<"$comps" || status=1
  grep -q $'^NOT WIX_DOWNGRADE_DETECTED\tA newer version of \[ProductName\] is already installed' <(table "$msi" LaunchCondition) ||
    fail "$arch has no downgrade refusal"
  component_codes+=$(awk -F'\t' 'NR > 3 { print $2 }' <<<"$comps")$'\n'
  local entry file shortcut key
  for entry in "${programs[@]}"; do
    file=${entry%%|*} shortcut=${entry#*|}
    key=$(awk -F'\t' -v f="$file" 'NR > 3 && $3 ~ ("\\|" f "$") { print $1 }' <<<"$files")
    [ -n "$key" ] || { fail "$arch holds no $file"; continue; }
    expect "$arch $file version" "$(field "$files" "$key" 5)|$(exe_version "$build/$arch/$file" "$binutils")" \
      "$(field "$props" ProductVersion 2).0|$(field "$props" ProductVersion 2).0"
    [ -z "$(row "$(table "$msi" MsiFileHash)" "$key")" ] || fail "$arch $file has a hash beside its version"
    [ "$shortcut" = - ] && continue
    # Not advertised: the target is the file, not the feature.
    local sc
    sc=$(awk -F'\t' -v n="$shortcut" 'NR > 3 && $3 ~ ("\\|" n "$")' <<<"$shortcuts")
    expect "$arch shortcut to $file" "$(cut -f2,5,9 --output-delimiter=" " <<<"$sc")" "ProgramMenuFolder [#$key] $icon"
  done
}
check_tables x64 x86_64-w64-mingw32 ProgramFiles64Folder 'x64;1033' 1
check_tables x86 i686-w64-mingw32 ProgramFilesFolder 'Intel;1033' 0
# A component code names one set of files in one place.
[ -z "$(sort <<<"$component_codes" | uniq -d)" ] || fail "the packages share component codes"

work=$build/msi-test
rm -rf "$work"
mkdir -p "$work"
package() { bash "$root/installer/build-msi.sh" "$1" "$2" "$3" "$build/$1" "$build/$1/res" >/dev/null; }
# The same inputs at another time, from files with other times: the same bytes.
x64=$build/x64/OxaAdvanced-$version-x64.msi
mkdir -p "$work/later"
cp "$build/x64/OxaAdvanced.exe" "$build/x64/res/OxaAdvanced.ico" "$work/later/"
touch "$work/later/"*
bash "$root/installer/build-msi.sh" x64 "$version" "$work/again.msi" "$work/later" >/dev/null &&
  cmp -s "$x64" "$work/again.msi" || fail "building again does not give the same package"
# A newer build of the same source.
IFS=. read -r major minor patch <<<"$version"
newer_version=$major.$minor.$((patch + 1))
package x64 "$newer_version" "$work/newer.msi" || fail "cannot build version $newer_version"

# Wine: a copy of the test prefix, its own server; registry files and INI
# files copied, the rest linked.
source "$root/tools/wine-env.sh"
base=$WINEPREFIX
[ -f "$base/.oxa-ready" ] || { fail "no test prefix at $base (tools/prepare-prefix.sh)"; exit 1; }
export WINEPREFIX=$work/wineprefix
cp -al "$base" "$WINEPREFIX"
find "$WINEPREFIX" -maxdepth 3 \( -name '*.reg' -o -name '*.ini' \) -type f -exec sh -c 'cp --remove-destination "$0" "$0.copy" && mv "$0.copy" "$0"' {} \;
# No desktop entries on the Linux side for the shortcut.
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"
"$WINESERVER" -p
"$WINE64" cmd /c exit </dev/null >/dev/null 2>&1
trap '"$WINESERVER" -k 2>/dev/null' EXIT
drive=$WINEPREFIX/drive_c
winpath() { local p=${1//\//\\}; echo "Z:$p"; }
unixpath() { local p=${1//\\//}; echo "$drive/${p#C:/}"; }
# Under load Wine now and then ends a program before it runs any code of its
# own (see tools/wine-run.sh): such a run, which leaves no trace, is started
# again.
# Runs msiexec silently with a log; its exit code reaches here in 8 bits.
msiexec() {
  local log=$work/$1.log attempt rc
  shift
  for attempt in 1 2 3; do
    "$WINE64" msiexec "$@" /qn /l*v "$(winpath "$log")" </dev/null >/dev/null 2>&1
    rc=$?
    [ -s "$log" ] && break
    echo "msiexec ended with $rc before it wrote its log (attempt $attempt)" >&2
  done
  return $rc
}
# A registry key and what is under it, or the error that there is none.
reg_tree() {
  local out attempt rc
  for attempt in 1 2 3; do
    out=$("$WINE64" reg query "$1" /s </dev/null 2>&1)
    rc=$?
    [ $rc -eq 0 ] || [ -n "$out" ] && break
    echo "reg ended with $rc before printing anything (attempt $attempt)" >&2
  done
  tr -d '\r' <<<"$out"
}
logged() { sed -n "s/^Property(S): $2 = //p" "$work/$1.log" | tail -1 | tr -d '\r'; }
# Our products' uninstall entries in a view: "code version publisher".
entries() {
  reg_tree "HKLM\\Software\\${1:-}Microsoft\\Windows\\CurrentVersion\\Uninstall" |
    awk -v n="$name" '/^HKEY/ { if (ours) print code, version, publisher; ours = 0; code = $0; sub(/.*\\/, "", code) }
                      $1 == "DisplayName" { ours = (substr($0, index($0, "REG_SZ") + 10) == n) }
                      $1 == "DisplayVersion" { version = $3 } $1 == "Publisher" { publisher = $3 }
                      END { if (ours) print code, version, publisher }'
}
product_icon() {
  reg_tree 'HKLM\Software\Classes\Installer\Products' | sed -n 's/^ *ProductIcon *REG_SZ *//p'
}

# Settings files the programs keep, which no install or removal may touch.
settings=$drive/ProgramData
for f in OXAQRZ/QRZINFO.INI OXAWEN/QRZINFO.INI OXAEST/QRZINFO.INI OXADAT/JobInfo.ini; do
  mkdir -p "$settings/${f%/*}"
  printf '[General]\r\nLang=4\r\n; %s\r\n' "$f" >"$settings/$f"
done
snapshot() { (cd "$settings" && find OXAQRZ OXAWEN OXAEST OXADAT -exec stat -c '%n %s %Y' {} + | sort && cat OXA*/*); }
before=$(snapshot)

msiexec install -i "$(winpath "$x64")"
expect "silent install" $? 0
folder=$(unixpath "$(logged install INSTALLFOLDER)")
expect "program folder" "$folder" "$drive/Program Files/OXA/Advanced Engraver Settings/"
menu=$(unixpath "$(logged install ProgramMenuFolder)")
installed_as_built() {
  local entry file
  for entry in "${programs[@]}"; do
    file=${entry%%|*}
    cmp -s "$1$file" "$build/$2/$file" || fail "$file is not in $1 as built"
  done
}
installed_as_built "$folder" x64
for entry in "${programs[@]}"; do
  file=${entry%%|*} shortcut=${entry#*|}
  [ "$shortcut" = - ] && continue
  lnk=$menu$shortcut.lnk
  [ -f "$lnk" ] || { fail "no shortcut $lnk"; continue; }
  # 0x1000: the link carries an installer descriptor (advertised).
  [ $(( $(od -An -tu4 -j20 -N4 "$lnk") & 0x1000 )) -eq 0 ] || fail "$shortcut is advertised"
  strings -a "$lnk" | grep -qxF "C:\\Program Files\\OXA\\Advanced Engraver Settings\\$file" || fail "$shortcut does not open $file"
  strings -a -el "$lnk" | grep -q 'OxaAdvanced\.ico$' || fail "$shortcut has not the program's icon"
done
installed=$(entries)
expect "uninstall entry" "$(cut -d' ' -f2- <<<"$installed")" "$version OXA"
icon=$(product_icon)
[ -n "$icon" ] && cmp -s "$(unixpath "$icon")" "$build/x64/res/OxaAdvanced.ico" || fail "the product's icon \"$icon\" is not the program's"

msiexec upgrade -i "$(winpath "$work/newer.msi")"
expect "silent upgrade" $? 0
upgraded=$(entries)
installed_as_built "$folder" x64
expect "entries after the upgrade" "$(cut -d' ' -f2- <<<"$upgraded")" "$newer_version OXA"

# 1603 (fatal error) in 8 bits; Wine's silent mode shows and logs no message.
msiexec downgrade -i "$(winpath "$x64")"
expect "downgrade" $? 67
expect "downgrade finds" "$(logged downgrade WIX_DOWNGRADE_DETECTED)" "$(cut -d' ' -f1 <<<"$upgraded")"
grep -q 'LaunchConditions. Return value 0' "$work/downgrade.log" || fail "the downgrade was not stopped by its condition"
expect "entries after the downgrade" "$(entries)" "$upgraded"

msiexec remove -x "$(winpath "$work/newer.msi")"
expect "silent removal" $? 0
[ ! -e "$drive/Program Files/OXA" ] || fail "the program folder is left: $(find "$drive/Program Files/OXA")"
for entry in "${programs[@]}"; do
  shortcut=${entry#*|}
  [ "$shortcut" = - ] || [ ! -e "$menu$shortcut.lnk" ] || fail "the shortcut $shortcut is left"
done
expect "entries after the removal" "$(entries)" ""
expect "product icon after the removal" "$(product_icon)" ""
[ "$(snapshot)" = "$before" ] || fail "the settings files changed"

# The 32-bit package: only its files can be checked, its programs do not run.
msiexec install86 -i "$(winpath "$build/x86/OxaAdvanced-$version-x86.msi")"
expect "32-bit install" $? 0
installed_as_built "$drive/Program Files (x86)/OXA/Advanced Engraver Settings/" x86
expect "32-bit entry" "$(entries Wow6432Node\\ | cut -d' ' -f2-)" "$version OXA"
msiexec remove86 -x "$(winpath "$build/x86/OxaAdvanced-$version-x86.msi")"
expect "32-bit removal" $? 0
[ ! -e "$drive/Program Files (x86)/OXA" ] || fail "the 32-bit program folder is left"
[ "$(snapshot)" = "$before" ] || fail "the settings files changed"

[ $status -eq 0 ] && echo "packages: tables, same bytes again, install, upgrade, refused downgrade and removal as expected"
exit $status
