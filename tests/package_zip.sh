#!/usr/bin/env bash
# package_zip.sh WINDOWS_BUILD_DIR SOURCE_DIR RUNNER: cpack makes
# glyphrow-VERSION-win32.zip of the four exes, the README, the licence and the sample;
# the exes unpacked from it check, convert and draw the sample, run by
# RUNNER (wine, or the emulated CPU's pe_run).
set -u
build=$1
source_dir=$2
run=$3
fail=0
bad() { echo "FAIL: $*"; fail=1; }
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
version=$(sed -n 's/^project(glyphrow VERSION \([0-9.]*\).*/\1/p' "$source_dir/CMakeLists.txt")

cpack --config "$build/CPackConfig.cmake" -B "$scratch/package" >"$scratch/cpack.log" 2>&1 || { cat "$scratch/cpack.log"; exit 1; }
zip=$scratch/package/glyphrow-$version-win32.zip
[[ -f $zip ]] || { echo "FAIL: no glyphrow-$version-win32.zip"; ls "$scratch/package"; exit 1; }
top=glyphrow-$version-win32
listed=$(unzip -Z1 "$zip")
for f in glyphrow.exe glyphdraw.exe glyphcheck.exe glyphpick.exe glyphshow.exe README.md LICENSE \
         examples/sample-font.txt examples/sample-font.bin examples/sample-font.png; do
  grep -qx "$top/$f" <<<"$listed" || bad "not in the zip: $f"
done
grep -qE 'launch|stray' <<<"$listed" && bad "a test exe is in the zip"

unzip -q "$zip" -d "$scratch/unpacked" || bad "can't unzip"
cd "$scratch/unpacked/$top"
cp examples/sample-font.txt sample.txt
"$run" glyphcheck.exe sample.txt 8 >/dev/null || bad "glyphcheck.exe found something in the sample"
"$run" glyphrow.exe sample.txt sample.bin >/dev/null || bad "glyphrow.exe failed"
cmp -s sample.bin examples/sample-font.bin || bad "the unpacked glyphrow.exe made another font"
"$run" glyphdraw.exe sample.bin sample.png >/dev/null || bad "glyphdraw.exe failed"
cmp -s sample.png examples/sample-font.png || bad "the unpacked glyphdraw.exe made another sheet"
"$run" glyphdraw.exe sample.bin sample.psf >/dev/null && "$run" glyphpick.exe sample.psf again.bin >/dev/null ||
  bad "glyphdraw.exe to PSF or glyphpick.exe failed"
cmp -s again.bin examples/sample-font.bin || bad "the unpacked glyphpick.exe picked another font"
"$run" glyphshow.exe sample.bin "Hi" hi.txt >/dev/null && [[ -s hi.txt ]] || bad "the unpacked glyphshow.exe drew nothing"
echo "$(basename "$zip"): $(stat -c %s "$zip") bytes"
exit $fail
