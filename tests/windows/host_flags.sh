#!/usr/bin/env bash
# host_flags.sh SOURCE_DIR OBJDUMP: a packager's host flags in the
# environment (Debian's hardening flags) must not reach the cross build:
# it configures, and glyphrow.exe comes out as it does without them.
set -u
source_dir=$1
objdump=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export CFLAGS="-g -O2 -fstack-protector-strong -Wformat -Werror=format-security"
export CXXFLAGS="$CFLAGS"
export LDFLAGS="-Wl,-z,relro -Wl,-z,now"
cmake -S "$source_dir" -B "$scratch" -DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/i686-w64-mingw32.cmake" \
  -DCMAKE_BUILD_TYPE=MinSizeRel >"$scratch/configure.log" 2>&1 || { echo "FAIL: configure"; tail -20 "$scratch/configure.log"; exit 1; }
cmake --build "$scratch" --target glyphrow_exe >"$scratch/build.log" 2>&1 || { echo "FAIL: build"; tail -20 "$scratch/build.log"; exit 1; }
"$(dirname "$0")/check_pe.sh" "$scratch/glyphrow.exe" "$objdump" 5632
