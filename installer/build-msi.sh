#!/usr/bin/env bash
# Builds the installer package from OxaAdvanced.wxs with wixl:
#   build-msi.sh ARCH VERSION OUTPUT.msi FOLDER...
# ARCH is x64 or x86; each file the package names is taken from the first
# FOLDER that has it.
#
# The same inputs give the same bytes. wixl stamps the time it runs and a
# random package code, and the cabinet keeps each file's time: here the files
# are copies dated to one time, wixl runs at that time, and the package code
# is made from what the package holds. The time is SOURCE_DATE_EPOCH, or a
# fixed one: a commit's time would tell apart packages of the same files.
# The product code follows from architecture and version, so every version
# is a new product that upgrades the one before.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
wxs=$here/OxaAdvanced.wxs
die() { echo "build-msi: $*" >&2; exit 1; }
[ $# -ge 4 ] || die "usage: build-msi.sh x64|x86 VERSION OUTPUT.msi FOLDER..."
arch=$1 version=$2 out=$3
shift 3
case $arch in
  x64) template='x64;1033' ;;
  x86) template='Intel;1033' ;;
  *) die "architecture $arch is neither x64 nor x86" ;;
esac
# The installer compares three numbers, the first two up to 255, the third
# up to 65535.
[[ $version =~ ^([0-9]+)\.([0-9]+)\.([0-9]+)$ ]] &&
  [ "${BASH_REMATCH[1]}" -le 255 ] && [ "${BASH_REMATCH[2]}" -le 255 ] && [ "${BASH_REMATCH[3]}" -le 65535 ] ||
  die "version $version is not major.minor.build within 255.255.65535"
for tool in wixl msibuild msiinfo faketime; do
  command -v $tool >/dev/null || die "$tool is missing (tools/setup.sh installs it)"
done
export TZ=UTC
epoch=${SOURCE_DATE_EPOCH:-1767225600}
stamp=$(date -u -d "@$epoch" '+%Y-%m-%d %H:%M:%S')

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
defines=(-a "$arch" -D Arch="$arch" -D Version="$version")
source_xml=$(wixl -E "${defines[@]}" -D ProductCode=x "$wxs")
names=$(grep -o ' Source\(File\)\?="[^"]*"' <<<"$source_xml" | sed 's/.*="\(.*\)"/\1/' | sort -u)
for name in $names; do
  for folder in "$@"; do
    if [ -f "$folder/$name" ]; then mkdir -p "$(dirname "$stage/$name")" && cp "$folder/$name" "$stage/$name"; break; fi
  done
  [ -f "$stage/$name" ] || die "$name is in none of: $*"
  touch -d "@$epoch" "$stage/$name"
done

upgrade=$(grep -o 'UpgradeCode="[^"]*"' <<<"$source_xml" | cut -d'"' -f2)
codes=$(cd "$stage" && python3 - "$upgrade" "$arch" "$version" "$wxs" $names <<'EOF'
import hashlib, sys, uuid
upgrade, arch, version, wxs, *files = sys.argv[1:]
space = uuid.UUID(upgrade)
content = hashlib.sha256(f"{arch} {version}\n".encode())
for path in [wxs] + files:
    content.update(open(path, "rb").read())
print(str(uuid.uuid5(space, f"product {arch} {version}")).upper())
print(str(uuid.uuid5(space, "package " + content.hexdigest())).upper())
EOF
)
product=${codes%$'\n'*} package=${codes#*$'\n'}

msi=$stage/package.msi
if ! (cd "$stage" && faketime -f "$stamp" wixl "${defines[@]}" -D ProductCode="$product" -o "$msi" "$wxs" 2>wixl.log); then
  cat "$stage/wixl.log" >&2
  die "wixl failed on $wxs"
fi
cat "$stage/wixl.log" >&2
# wixl leaves the version column of the file table empty, so the installer
# would take the programs for data files; each gets its own version, and no
# hash, which is only for files without one.
while IFS=$'\t' read -r key _ filename _; do
  file=$stage/${filename#*|}
  [ -f "$file" ] || continue  # not a program: the templates lie in folders of their own
  fileversion=$(python3 - "$file" <<'EOF'
import struct, sys
data = open(sys.argv[1], "rb").read()
at = data.find(struct.pack("<I", 0xFEEF04BD)) if data[:2] == b"MZ" else -1
if at >= 0:
    ms, ls = struct.unpack_from("<II", data, at + 8)
    print(f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}")
EOF
)
  [ -n "$fileversion" ] || continue
  faketime -f "$stamp" msibuild "$msi" \
    -q "UPDATE \`File\` SET \`Version\` = '$fileversion' WHERE \`File\` = '$key'" \
    -q "DELETE FROM \`MsiFileHash\` WHERE \`File_\` = '$key'" || die "cannot set the version of $key"
done < <(msiinfo export "$msi" File | tail -n +4)
# wixl takes Execute="rollback" for an immediate action: the undo of the
# task's registration gets its type here, 3410 being a program among the
# installed files (18), its exit code ignored (64), run on rollback (256)
# from the script (1024), not impersonated (2048).
faketime -f "$stamp" msibuild "$msi" \
  -q "UPDATE \`CustomAction\` SET \`Type\` = 3410 WHERE \`Action\` = 'UndoRegisterPolicyTask'" ||
  die "cannot make UndoRegisterPolicyTask a rollback action"
# Nor does it take Secure="yes": ENFORCE and SETTINGSFILE join the
# properties passed on to the part of the install that runs elevated, or a
# user elevated for the install would get the task, or no settings, whatever
# the command line said.
secure=$(msiinfo export "$msi" Property | tr -d '\r' | awk -F'\t' '$1 == "SecureCustomProperties" { print $2 }')
faketime -f "$stamp" msibuild "$msi" \
  -q "UPDATE \`Property\` SET \`Value\` = 'ENFORCE;SETTINGSFILE${secure:+;$secure}' WHERE \`Property\` = 'SecureCustomProperties'" ||
  die "cannot make ENFORCE and SETTINGSFILE secure properties"
summary() { msiinfo suminfo "$msi" | tr -d '\r' | sed -n "s/^$1: //p"; }
faketime -f "$stamp" msibuild "$msi" -s "$(summary Subject)" "$(summary Author)" "$template" "{$package}" ||
  die "cannot set the package code"
mkdir -p "$(dirname "$out")"
mv "$msi" "$out.tmp"
mv "$out.tmp" "$out"
echo "build-msi: $out ($arch, $version, package {$package})"
