#!/usr/bin/env bash
# package_deb.sh BUILD_DIR SOURCE_DIR: `cmake --install` lays the family out
# under a prefix; cpack makes a .deb whose metadata and contents are right,
# and the tools unpacked from it check, convert and draw the sample font.
set -u
build=$1
source_dir=$2
fail=0
bad() { echo "FAIL: $*"; fail=1; }
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
version=$(sed -n 's/^project(glyphrow VERSION \([0-9.]*\).*/\1/p' "$source_dir/CMakeLists.txt")
[[ -n $version ]] || bad "no version in CMakeLists.txt"

installed=(bin/glyphrow bin/glyphdraw bin/glyphcheck bin/glyphpick bin/glyphshow
           share/man/man1/glyphrow.1.gz share/man/man1/glyphdraw.1.gz share/man/man1/glyphcheck.1.gz
           share/man/man1/glyphpick.1.gz share/man/man1/glyphshow.1.gz share/doc/glyphrow/copyright share/doc/glyphrow/changelog.gz
           share/doc/glyphrow/README.md share/doc/glyphrow/examples/sample-font.txt
           share/doc/glyphrow/examples/sample-font.bin share/doc/glyphrow/examples/sample-font.png)

cmake --install "$build" --prefix "$scratch/prefix" >/dev/null || bad "cmake --install failed"
for f in "${installed[@]}"; do
  [[ -f $scratch/prefix/$f ]] || bad "not installed: $f"
done

cpack --config "$build/CPackConfig.cmake" -B "$scratch/package" >"$scratch/cpack.log" 2>&1 || { cat "$scratch/cpack.log"; exit 1; }
deb=$(ls "$scratch"/package/*.deb 2>/dev/null | head -1)
[[ -n $deb ]] || { echo "FAIL: no .deb made"; exit 1; }
field() { dpkg-deb -f "$deb" "$1"; }
[[ $(field Package) == glyphrow ]] || bad "Package: $(field Package)"
[[ $(field Version) == "$version" ]] || bad "Version: $(field Version), not $version"
[[ $(field Depends) =~ ^libc6\ \(\>=\ [0-9.]+\)$ ]] || bad "Depends: $(field Depends)"
[[ -n $(field Description) ]] || bad "no Description"
[[ -n $(field Maintainer) ]] || bad "no Maintainer"
contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
for f in "${installed[@]}"; do
  grep -qx "./usr/$f" <<<"$contents" || bad "not in the package: /usr/$f"
done

# Debian's own checker of packages: no error and no warning.
lintian --fail-on error,warning "$deb" >"$scratch/lintian.log" 2>&1 || { cat "$scratch/lintian.log"; bad "lintian"; }
grep -q '^License: Expat' "$scratch/prefix/share/doc/glyphrow/copyright" || bad "the copyright file names no licence"

dpkg-deb -x "$deb" "$scratch/root" || bad "can't unpack"
doc=$scratch/root/usr/share/doc/glyphrow/examples
cd "$scratch"
cp "$doc/sample-font.txt" sample.txt
"$scratch/root/usr/bin/glyphcheck" sample.txt 8 || bad "glyphcheck found something in the sample"
"$scratch/root/usr/bin/glyphrow" sample.txt sample.bin || bad "glyphrow failed"
cmp -s sample.bin "$doc/sample-font.bin" || bad "the unpacked glyphrow made another font"
"$scratch/root/usr/bin/glyphdraw" sample.bin sample.png || bad "glyphdraw failed"
cmp -s sample.png "$doc/sample-font.png" || bad "the unpacked glyphdraw made another sheet"
"$scratch/root/usr/bin/glyphdraw" sample.bin sample.bdf && "$scratch/root/usr/bin/glyphpick" sample.bdf again.bin ||
  bad "glyphdraw to BDF or glyphpick failed"
cmp -s again.bin "$doc/sample-font.bin" || bad "the unpacked glyphpick picked another font"
[[ $("$scratch/root/usr/bin/glyphshow" sample.bin "Hi" | wc -l) == 8 ]] || bad "the unpacked glyphshow didn't draw 8 rows"
echo "$(basename "$deb"): $(stat -c %s "$deb") bytes, Depends: $(field Depends)"
exit $fail
