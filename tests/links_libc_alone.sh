#!/usr/bin/env bash
# The native tool links no C++ runtime: ldd lists the C library, the
# dynamic loader and the vDSO, and nothing else.
others=$(ldd "$1" | grep -v -E 'linux-vdso|ld-linux|/libc\.so' )
[[ -z $others ]] || { echo "FAIL: also linked: $others"; exit 1; }
ldd "$1" | grep -q '/libc\.so' || { echo "FAIL: no C library?"; exit 1; }
