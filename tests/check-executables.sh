#!/usr/bin/env bash
# Every executable: the right machine type and subsystem, no link time, a
# manifest for that processor, imports of system DLLs only (the runtime is
# linked statically) and none by a name that Windows 2000 lacks, the
# program's icon first among the icons, version details with its maker, and
# a weight that stays within its limit (a stray thread-safe static once
# pulled the whole exception and demangling runtime in, 110 KB of it). The dialog also declares system DPI awareness (or the
# system stretches the skin's pixels); the console program, which shows no
# window, is a console one.
set -u
build=$1
allowed='^(KERNEL32|USER32|GDI32|COMCTL32|SHELL32|ADVAPI32|OLE32|OLEAUT32|msvcrt)\.dll$'
fail=0
shopt -s nocasematch
check() {
  local exe=$1 objdump=$2 format=$3 arch=$4 kb=$5 subsystem=$6
  if [ ! -f "$exe" ]; then echo "missing: $exe"; fail=1; return; fi
  local bytes
  bytes=$(stat -c %s "$exe")
  [ "$bytes" -le $((kb * 1024)) ] || { echo "$exe: $bytes bytes, over $kb KB"; fail=1; }
  "$objdump" -f "$exe" | grep -q "file format $format" || { echo "$exe: not $format"; fail=1; }
  "$objdump" -p "$exe" | grep -q "^Subsystem.*(Windows $subsystem)" || { echo "$exe: not a Windows $subsystem program"; fail=1; }
  "$objdump" -p "$exe" | grep -q '^Time/Date.*1970$' || { echo "$exe: a link time in its header (the same sources would give other bytes)"; fail=1; }
  while read -r dll; do
    if ! [[ $dll =~ $allowed ]]; then echo "$exe imports $dll"; fail=1; fi
  done < <("$objdump" -p "$exe" | sed -n 's/^\s*DLL Name: //p')
  # Windows 2000 exports these by ordinal only; imported by name, the loader
  # would refuse the program before it can show its own refusal.
  if "$objdump" -p "$exe" | grep -Eq '\b(SetWindowSubclass|RemoveWindowSubclass|DefSubclassProc)\b'; then
    echo "$exe imports the subclass functions by name"; fail=1
  fi
  grep -aq "processorArchitecture=\"$arch\"" "$exe" || { echo "$exe: manifest is not for $arch"; fail=1; }
  grep -aq 'requestedExecutionLevel level="asInvoker"' "$exe" || { echo "$exe: manifest does not ask to run as invoker"; fail=1; }
  if [ "$subsystem" = GUI ] && ! grep -aq '<dpiAware xmlns="http://schemas.microsoft.com/SMI/2005/WindowsSettings">true</dpiAware>' "$exe"; then
    echo "$exe: manifest does not declare system DPI awareness"; fail=1
  fi
  if grep -aq 'processorArchitecture="' "$exe" && grep -ao 'processorArchitecture="[^"]*"' "$exe" | grep -vq "\"$arch\""; then
    echo "$exe: manifest names another processor"; fail=1
  fi
  local resources
  resources=$("${objdump%objdump}windres" -i "$exe" -O rc 2>/dev/null)
  [ "$(grep -m1 'RT_GROUP_ICON' <<<"$resources")" = "1 14 /* RT_GROUP_ICON */" ] || { echo "$exe: the first icon is not the program's"; fail=1; }
  grep -q 'Has 8 elements' <<<"$resources" || { echo "$exe: the icon lacks sizes"; fail=1; }
  grep -q 'VALUE "CompanyName", "OXA"' <<<"$resources" || { echo "$exe: no company name"; fail=1; }
  grep -q 'VALUE "LegalCopyright", "Copyright (C) 2026 OXA"' <<<"$resources" || { echo "$exe: no copyright"; fail=1; }
}
for program in OxaAdvanced:250:GUI OxaSet:150:CUI; do
  IFS=: read -r name kb subsystem <<<"$program"
  check "$build/x64/$name.exe" x86_64-w64-mingw32-objdump pei-x86-64 amd64 "$kb" "$subsystem"
  check "$build/x86/$name.exe" i686-w64-mingw32-objdump pei-i386 X86 "$kb" "$subsystem"
done
if [ $fail -eq 0 ]; then echo "every executable: machine, subsystem, no link time, manifest (processor, as invoker, DPI aware for the dialog), imports (none by a name Windows 2000 lacks), icon, version details and weight as expected"; fi
exit $fail
