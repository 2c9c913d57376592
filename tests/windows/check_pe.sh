#!/usr/bin/env bash
# check_pe.sh EXE OBJDUMP MAX_BYTES: checks one of the family's exes: a
# 32-bit console program, dynamic base on, no bigger than MAX_BYTES, with no
# section beyond the expected ones, an application manifest that asks for
# asInvoker, and imports from KERNEL32.dll only among the eleven functions of
# the platform seam, and GetLastError for every tool but glyphrow.
set -u
exe=$1
objdump=${2:-i686-w64-mingw32-objdump}
max_bytes=${3:-8192}
objcopy=${objdump%objdump}objcopy
fail=0
bad() { echo "FAIL: $*"; fail=1; }

headers=$("$objdump" -p "$exe") || { echo "FAIL: objdump can't read $exe"; exit 1; }
grep -q 'file format pei-i386' <<<"$headers" || bad "not pei-i386"
grep -qE '^Magic\s+010b\s+\(PE32\)' <<<"$headers" || bad "not PE32"
grep -qE '^Subsystem\s+00000003\s+\(Windows CUI\)' <<<"$headers" || bad "not a console program"
characteristics=$(awk '/^DllCharacteristics/{print $2}' <<<"$headers")
(( 0x$characteristics & 0x40 )) || bad "dynamic base is off ($characteristics)"

size=$(stat -c %s "$exe")
(( size <= max_bytes )) || bad "$size bytes, more than $max_bytes"
expected=" .text .rdata .bss .idata .rsrc .reloc "
sections=$("$objdump" -h "$exe" | awk '/^ +[0-9]+ /{print $2}' | tr '\n' ' ')
for s in $sections; do
  [[ $expected == *" $s "* ]] || bad "unexpected section $s"
done

resources=$(mktemp)
trap 'rm -f "$resources"' EXIT
"$objcopy" -O binary --only-section=.rsrc "$exe" "$resources" 2>/dev/null
grep -aq 'requestedExecutionLevel level="asInvoker"' "$resources" || bad "no manifest asking for asInvoker"

dlls=$(grep -E '^\s*DLL Name:' <<<"$headers" | awk '{print $3}' | sort | tr '\n' ' ')
[[ $dlls == "KERNEL32.dll " ]] || bad "imported DLLs: $dlls"

allowed=" CloseHandle CreateFileA ExitProcess GetCommandLineA GetProcessHeap GetStdHandle HeapAlloc HeapFree ReadFile SetFilePointer WriteFile "
# The other tools name the cause of a file that can't be opened; glyphrow
# keeps its own texts and the eleven.
[[ $(basename "$exe") == glyphrow.exe ]] || allowed+="GetLastError "
imports=$(awk '/DLL Name:/{on=1; next} on && /^[[:space:]]+[0-9a-f]+[[:space:]]+[0-9]+[[:space:]]+[A-Za-z_][A-Za-z0-9_]*$/{print $3} /^$/{on=0}' <<<"$headers" | sort | tr '\n' ' ')
[[ -n $imports ]] || bad "no imported function found"
for f in $imports; do
  [[ $allowed == *" $f "* ]] || bad "imports $f"
done

echo "$(basename "$exe"): $size bytes (at most $max_bytes); sections:$sections; imports from KERNEL32.dll: $imports"
exit $fail
