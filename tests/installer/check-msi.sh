#!/usr/bin/env bash
# The installer packages: their tables (both architectures), that building
# again gives the same bytes, and, under Wine's msiexec in a copy of the test
# prefix, a silent install, an upgrade to a newer build, a refused downgrade
# and a silent removal that leaves the settings files as they were; the
# scheduled task registered by the install and the upgrade, not with
# ENFORCE=0, and taken by the removal.
#   check-msi.sh BUILD_FOLDER VERSION
set -u
build=$(cd "$1" && pwd) version=$2
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
name="OXA Advanced Engraver Settings"
# The programs in the packages: file name, then the Start-menu entry that
# opens it ("-" for none).
programs=(
  "OxaAdvanced.exe|$name"
  "OxaSet.exe|-"
)
status=0
fail() { echo "FAIL: $*"; status=1; }
expect() { [ "$2" = "$3" ] || fail "$1: \"$2\", expected \"$3\""; }
# A table's rows, without the carriage returns msiinfo ends its lines with;
# one cell: column N of the row whose key is K.
table() { msiinfo export "$1" "$2" | tr -d '\r' | tail -n +4; }
cell() { awk -F'\t' -v k="$2" -v n="$3" '$1 == k { print $n }' <<<"$1"; }
exe_version() {
  "$1-windres" -i "$2" -O rc 2>/dev/null | sed -n 's/^ *FILEVERSION \([0-9]*\), \([0-9]*\), \([0-9]*\), \([0-9]*\)/\1.\2.\3.\4/p'
}

# What the tables say, and what they should say, a line per fact.
facts() {
  local arch=$1 binutils=$2 msi=$build/$1/OxaAdvanced-$version-$1.msi props files entry file shortcut key
  props=$(table "$msi" Property) files=$(table "$msi" File)
  for p in ProductVersion UpgradeCode ALLUSERS Manufacturer ProductName ARPPRODUCTICON ENFORCE SecureCustomProperties; do echo "$p $(cell "$props" $p 2)"; done
  msiinfo suminfo "$msi" | tr -d '\r' | grep '^Template: '
  # (Exporting the Icon table would write its pictures out.)
  echo "Icon $(msiinfo streams "$msi" | sed -n 's/^Icon\.//p')"
  table "$msi" Directory | awk -F'\t' '$1 ~ /^(INSTALLFOLDER|OxaFolder)$/ { print "Directory", $1, $2, $3 }'
  # 256: a 64-bit component.
  echo "Components $(table "$msi" Component | awk -F'\t' '{ print int($4 / 256) % 2 ? "64-bit" : "32-bit" }' | sort -u)"
  table "$msi" LaunchCondition
  # The task's actions: their types say when and as whom OxaSet runs.
  table "$msi" CustomAction | awk -F'\t' '{ print "CustomAction", $1, $2, $3, $4 }'
  # Right after InstallValidate: the older product goes before ours is in.
  table "$msi" InstallExecuteSequence | awk -F'\t' '$1 == "RemoveExistingProducts" { print $1, $3 }'
  for entry in "${programs[@]}"; do
    file=${entry%%|*} shortcut=${entry#*|}
    key=$(awk -F'\t' -v f="$file" '$3 ~ ("\\|" f "$") { print $1 }' <<<"$files")
    echo "File $file $(cell "$files" "$key" 5) $(exe_version "$binutils" "$build/$arch/$file") $(table "$msi" MsiFileHash | cut -f1 | grep -cx "$key")"
    # Not advertised: the target is the file, not the feature.
    [ "$shortcut" = - ] || echo "Shortcut $(table "$msi" Shortcut | awk -F'\t' -v n="$shortcut" '$3 ~ ("\\|" n "$") { print $2, $5, $9 }')"
  done
}
expected() {
  local program_files=$1 template=$2 bits=$3 entry file shortcut
  cat <<EOF
ProductVersion $version
UpgradeCode {6C0A3E1B-7F4D-4C2A-9E51-2B8D0F3A4C11}
ALLUSERS 1
Manufacturer OXA
ProductName $name
ARPPRODUCTICON OxaAdvanced.ico
ENFORCE 1
SecureCustomProperties ENFORCE;SETTINGSFILE;WIX_DOWNGRADE_DETECTED;WIX_UPGRADE_DETECTED
Template: $template
Icon OxaAdvanced.ico
Directory INSTALLFOLDER OxaFolder ADVENG|Advanced Engraver Settings
Directory OxaFolder $program_files OXA
Components $bits
NOT WIX_DOWNGRADE_DETECTED	A newer version of [ProductName] is already installed. Remove it first to install version [ProductVersion].
CustomAction ApplySettingsFile 3090 OxaSet.exe /import "[SETTINGSFILE]" /nonotify /log "[TempFolder]OxaSet.log"
CustomAction RegisterPolicyTask 3090 OxaSet.exe /installtask
CustomAction UndoRegisterPolicyTask 3410 OxaSet.exe /removetask
CustomAction RemovePolicyTask 3154 OxaSet.exe /removetask
RemoveExistingProducts 1401
EOF
  for entry in "${programs[@]}"; do
    file=${entry%%|*} shortcut=${entry#*|}
    echo "File $file $version.0 $version.0 0"
    [ "$shortcut" = - ] || echo "Shortcut ProgramMenuFolder [#$file] OxaAdvanced.ico"
  done
}
diff <(facts x64 x86_64-w64-mingw32 | sort) <(expected ProgramFiles64Folder 'x64;1033' 64-bit | sort) || fail "x64 tables (< as they are, > as expected)"
diff <(facts x86 i686-w64-mingw32 | sort) <(expected ProgramFilesFolder 'Intel;1033' 32-bit | sort) || fail "x86 tables (< as they are, > as expected)"
# A component code names one set of files in one place.
[ -z "$(for a in x64 x86; do table "$build/$a/OxaAdvanced-$version-$a.msi" Component | cut -f2; done | sort | uniq -d)" ] ||
  fail "the packages share component codes"

work=$build/msi-test
rm -rf "$work"
mkdir -p "$work/later"
# The same inputs at another time, from files with other times: the same
# bytes. Then a newer build of the same source.
x64=$build/x64/OxaAdvanced-$version-x64.msi
for entry in "${programs[@]}"; do cp "$build/x64/${entry%%|*}" "$work/later/"; done
cp "$build/x64/res/OxaAdvanced.ico" "$work/later/"
cp -r "$root/installer/policy" "$work/later/"
find "$work/later" -exec touch {} +
bash "$root/installer/build-msi.sh" x64 "$version" "$work/again.msi" "$work/later" >/dev/null &&
  cmp -s "$x64" "$work/again.msi" || fail "building again does not give the same package"
IFS=. read -r major minor patch <<<"$version"
newer_version=$major.$minor.$((patch + 1))
bash "$root/installer/build-msi.sh" x64 "$newer_version" "$work/newer.msi" "$build/x64" "$build/x64/res" "$root/installer" >/dev/null ||
  fail "cannot build version $newer_version"

# Wine: a copy of the test prefix (registry and INI files copied, the rest
# linked) with its own server, and no desktop entries on the Linux side.
source "$root/tools/wine-env.sh"
[ -f "$WINEPREFIX/.oxa-ready" ] || { fail "no test prefix at $WINEPREFIX (tools/prepare-prefix.sh)"; exit 1; }
cp -al "$WINEPREFIX" "$work/wineprefix"
export WINEPREFIX=$work/wineprefix OXA_WINEPREFIX=$work/wineprefix
find "$WINEPREFIX" -maxdepth 3 \( -name '*.reg' -o -name '*.ini' \) -type f -exec sh -c 'cp "$0" "$0.copy" && mv "$0.copy" "$0"' {} \;
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"
"$WINESERVER" -p
"$WINE64" cmd /c exit </dev/null >/dev/null 2>&1
trap '"$WINESERVER" -k 2>/dev/null' EXIT
# The registry on disk may still point the data folder at a test's own,
# as the server last wrote it during a run: back to the machine's (tried
# again when Wine ends reg before it runs, as under load it may).
for attempt in 1 2 3; do
  "$WINE64" reg add 'HKLM\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders' /v "Common AppData" \
    /t REG_EXPAND_SZ /d '%ProgramData%' /f </dev/null >/dev/null 2>&1 && break
done
"$WINE64" reg delete 'HKLM\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders' /v "Common AppData" /f \
  </dev/null >/dev/null 2>&1
drive=$WINEPREFIX/drive_c
winpath() { local p=${1//\//\\}; echo "Z:$p"; }
unixpath() { local p=${1//\\//}; echo "$drive/${p#C:/}"; }
# msiexec LOG ARGS...: silently, with a log; the exit code reaches here in 8
# bits. Under load Wine now and then ends a program before it runs any code
# of its own (see tools/wine-run.sh): such a run writes no log and is started
# again.
msiexec() {
  local log=$work/$1.log attempt
  shift
  for attempt in 1 2 3; do
    "$WINE64" msiexec "$@" /qn /l*v "$(winpath "$log")" </dev/null >/dev/null 2>&1
    rc=$?
    [ -s "$log" ] && return $rc
  done
  return $rc
}
logged() { sed -n "s/^Property(S): $2 = //p" "$work/$1.log" | tr -d '\r' | tail -1; }
# A registry key with everything under it. Under load a Wine program can end
# before it runs, and more than once in a row: the query is made until reg
# answers that it read the key (a key that is not there costs four tries).
reg_query() {
  local attempt out
  for attempt in 1 2 3 4; do
    out=$("$WINE64" reg query "$1" /s </dev/null 2>/dev/null) && { printf '%s\n' "$out"; return 0; }
  done
  return 1
}
# Our products' uninstall entries in a registry view: "code version publisher".
entries() {
  reg_query "HKLM\\Software\\${1:-}Microsoft\\Windows\\CurrentVersion\\Uninstall" |
    tr -d '\r' | awk -v n="$name" '
      /^HKEY/ { if (ours) print code, version, publisher; ours = 0; code = $0; sub(/.*\\/, "", code) }
      $1 == "DisplayName" { ours = substr($0, index($0, "REG_SZ") + 10) == n }
      $1 == "DisplayVersion" { version = $3 } $1 == "Publisher" { publisher = $3 }
      END { if (ours) print code, version, publisher }'
}
product_icon() {
  reg_query 'HKLM\Software\Classes\Installer\Products' |
    tr -d '\r' | sed -n 's/^ *ProductIcon *REG_SZ *//p'
}
# Each program in FOLDER/ as the build of ARCH made it.
installed_as_built() {
  for entry in "${programs[@]}"; do
    cmp -s "$1${entry%%|*}" "$build/$2/${entry%%|*}" || fail "${entry%%|*} is not in $1 as built"
  done
  # The policy templates, the .admx and one .adml per language.
  for template in $(cd "$root/installer/policy" && find * -type f | sort); do
    cmp -s "$1PolicyDefinitions/$template" "$root/installer/policy/$template" ||
      fail "PolicyDefinitions/$template is not in $1 as in installer/policy"
  done
}

# The scheduled task the x64 package registers, as the prefix's scheduler
# keeps it (Wine keeps neither its triggers nor its action, and fires none).
task="$drive/windows/system32/tasks/$name policy"
task_is() {
  local now=gone
  [ -e "$task" ] && now=there
  [ "$now" = "$2" ] || fail "$1: the task is $now, expected $2"
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
installed_as_built "$folder" x64
task_is "install" there
# Wine puts a per-machine shortcut in the user's Start menu, Windows in all
# users': wherever the installer's folder is.
menu=$(unixpath "$(logged install ProgramMenuFolder)")
for entry in "${programs[@]}"; do
  file=${entry%%|*} lnk=$menu${entry#*|}.lnk
  [ "${entry#*|}" = - ] && continue
  [ -f "$lnk" ] || { fail "no shortcut $lnk"; continue; }
  # 0x1000: the link holds an installer descriptor (advertised) instead.
  expect "$lnk advertised, target, icon" \
    "$(( $(od -An -tu4 -j20 -N4 "$lnk") & 0x1000 )) $(strings -a "$lnk" | grep -cxF "C:\\Program Files\\OXA\\Advanced Engraver Settings\\$file") $(strings -a -el "$lnk" | grep -c 'OxaAdvanced\.ico$')" \
    "0 1 1"
done
expect "uninstall entry" "$(entries | cut -d' ' -f2-)" "$version OXA"
# The event log's source, its sentences in the installed OxaSet.exe; gone
# with the package (checked after the removal below).
event_source='HKLM\SYSTEM\CurrentControlSet\Services\EventLog\Application\OXA Advanced Engraver Settings'
expect "event source" "$(reg_query "$event_source" | tr -d '\r' | sed -n 's/^ *\([A-Za-z]*\) *\(REG_[A-Z_]*\) *\(.*\)$/\1 \2 \3/p' | sort | paste -sd'|')" \
  "EventMessageFile REG_SZ C:\\Program Files\\OXA\\Advanced Engraver Settings\\OxaSet.exe|TypesSupported REG_DWORD 0x7"
icon=$(product_icon)
[ -n "$icon" ] && cmp -s "$(unixpath "$icon")" "$build/x64/res/OxaAdvanced.ico" || fail "the product's icon \"$icon\" is not the program's"

msiexec upgrade -i "$(winpath "$work/newer.msi")"
expect "silent upgrade" $? 0
installed_as_built "$folder" x64
upgraded=$(entries)
expect "entries after the upgrade" "$(cut -d' ' -f2- <<<"$upgraded")" "$newer_version OXA"
# The older product goes after the newer one registered the task again.
task_is "upgrade" there

# 1603 (fatal error) in 8 bits; Wine's silent mode neither shows nor logs the
# message.
msiexec downgrade -i "$(winpath "$x64")"
expect "downgrade" "$? $(logged downgrade WIX_DOWNGRADE_DETECTED) $(grep -c 'LaunchConditions. Return value 0' "$work/downgrade.log")" \
  "67 $(cut -d' ' -f1 <<<"$upgraded") 1"
expect "entries after the downgrade" "$(entries)" "$upgraded"

msiexec remove -x "$(winpath "$work/newer.msi")"
expect "silent removal" $? 0
[ ! -e "$drive/Program Files/OXA" ] || fail "the program folder is left: $(find "$drive/Program Files/OXA")"
for entry in "${programs[@]}"; do
  [ "${entry#*|}" = - ] || [ ! -e "$menu${entry#*|}.lnk" ] || fail "the shortcut ${entry#*|} is left"
done
expect "entries and product icon after the removal" "$(entries)$(product_icon)" ""
task_is "removal" gone
reg_query "$event_source" >/dev/null && fail "the event source is left"
[ "$(snapshot)" = "$before" ] || fail "the settings files changed"

msiexec noenforce -i "$(winpath "$x64")" ENFORCE=0
expect "install with ENFORCE=0" $? 0
task_is "install with ENFORCE=0" gone
msiexec noenforce-remove -x "$(winpath "$x64")"
expect "removal without the task" $? 0

# The 32-bit package: its files only, its programs cannot run here (OxaSet
# neither, so the task stays off).
x86=$(winpath "$build/x86/OxaAdvanced-$version-x86.msi")
msiexec install86 -i "$x86" ENFORCE=0
expect "32-bit install" $? 0
installed_as_built "$drive/Program Files (x86)/OXA/Advanced Engraver Settings/" x86
expect "32-bit entry" "$(entries 'Wow6432Node\' | cut -d' ' -f2-)" "$version OXA"
msiexec remove86 -x "$x86"
expect "32-bit removal" $? 0
[ ! -e "$drive/Program Files (x86)/OXA" ] || fail "the 32-bit program folder is left"
[ "$(snapshot)" = "$before" ] || fail "the settings files changed"

# SETTINGSFILE: a file OxaSet refuses fails the install (1603 in 8 bits)
# and leaves the settings and the folder as they were; a good one is applied
# as the files are installed. OxaSet's lines go to its log.
printf '[Driver]\r\nRetail=13\r\n' >"$work/bad.ini"
printf '[Driver]\r\nRetailMode=13\r\n[JobLog]\r\nLogSerialNum=1\r\n' >"$work/good.ini"
msiexec badfile -i "$(winpath "$x64")" ENFORCE=0 SETTINGSFILE="$(winpath "$work/bad.ini")"
# Windows answers 1603 (67 in 8 bits); Wine's msiexec 1627 (91).
rc=$?
[ $rc = 67 ] || [ $rc = 91 ] || fail "install with a bad SETTINGSFILE: exit $rc, expected 1603 or Wine's 1627"
grep -q 'ApplySettingsFile' "$work/badfile.log" || fail "the installer's log does not name ApplySettingsFile"
[ "$(snapshot)" = "$before" ] || fail "a refused SETTINGSFILE changed the settings files"
[ ! -e "$drive/Program Files/OXA" ] || fail "a refused SETTINGSFILE left the program folder"
oxaset_log=$(unixpath "$(logged badfile TempFolder)OxaSet.log")
grep -q $'\texit 3\t' "$oxaset_log" 2>/dev/null || fail "no line of the refused import in $oxaset_log"
msiexec goodfile -i "$(winpath "$x64")" ENFORCE=0 SETTINGSFILE="$(winpath "$work/good.ini")"
expect "install with a SETTINGSFILE" $? 0
for f in OXAQRZ/QRZINFO.INI OXAWEN/QRZINFO.INI OXAEST/QRZINFO.INI; do
  grep -q '^RetailMode=13' "$settings/$f" || fail "SETTINGSFILE did not reach $f"
done
grep -q '^LogSerialNum=1' "$settings/OXADAT/JobInfo.ini" || fail "SETTINGSFILE did not reach JobInfo.ini"
msiexec goodfile-remove -x "$(winpath "$x64")"
expect "removal after a SETTINGSFILE" $? 0

[ $status -eq 0 ] && echo "packages: tables, same bytes again, install, upgrade, refused downgrade and removal, with and without the task, with a settings file, as expected"
exit $status
