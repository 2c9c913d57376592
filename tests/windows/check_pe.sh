#!/usr/bin/env bash
# Checks the PE32 header and import table of one of the family's exes: a
# 32-bit console program, dynamic base on, importing from KERNEL32.dll only
# functions among the eleven of the platform seam, and nothing else.
set -u
exe=$1
objdump=${2:-i686-w64-mingw32-objdump}
fail=0
bad() { echo "FAIL: $*"; fail=1; }

headers=$("$objdump" -p "$exe") || { echo "FAIL: objdump can't read $exe"; exit 1; }
grep -q 'file format pei-i386' <<<"$headers" || bad "not pei-i386"
grep -qE '^Magic\s+010b\s+\(PE32\)' <<<"$headers" || bad "not PE32"
grep -qE '^Subsystem\s+00000003\s+\(Windows CUI\)' <<<"$headers" || bad "not a console program"
characteristics=$(awk '/^DllCharacteristics/{print $2}' <<<"$headers")
(( 0x$characteristics & 0x40 )) || bad "dynamic base is off ($characteristics)"

dlls=$(grep -E '^\s*DLL Name:' <<<"$headers" | awk '{print $3}' | sort | tr '\n' ' ')
[[ $dlls == "KERNEL32.dll " ]] || bad "imported DLLs: $dlls"

allowed=" CloseHandle CreateFileA ExitProcess GetCommandLineA GetProcessHeap GetStdHandle HeapAlloc HeapFree ReadFile SetFilePointer WriteFile "
imports=$(awk '/DLL Name:/{on=1; next} on && /^[[:space:]]+[0-9a-f]+[[:space:]]+[0-9]+[[:space:]]+[A-Za-z_][A-Za-z0-9_]*$/{print $3} /^$/{on=0}' <<<"$headers" | sort | tr '\n' ' ')
[[ -n $imports ]] || bad "no imported function found"
for f in $imports; do
  [[ $allowed == *" $f "* ]] || bad "imports $f"
done

echo "$(basename "$exe"): $(stat -c %s "$exe") bytes; imports from KERNEL32.dll: $imports"
exit $fail
