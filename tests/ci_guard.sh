#!/usr/bin/env bash
# ci_guard.sh SOURCE_DIR: what a configure without the test tools does.
# Under CI=true, one without GoogleTest or without an outside reader
# (FreeType) must fail, never pass with less to run; elsewhere, one without
# an outside reader still builds the unit tests and the black-box tests
# that need none, and leaves out only those that need it.
set -u
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
out=$(CI=true cmake -S "$1" -B "$scratch/a" -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON -DGLYPHROW_WINDOWS_TESTS=OFF 2>&1)
[[ $? != 0 ]] || fail "the configure passed without GoogleTest"
grep -q "GoogleTest not found" <<<"$out" || { echo "$out"; fail "failed for another reason"; }
out=$(CI=true cmake -S "$1" -B "$scratch/b" -DCMAKE_DISABLE_FIND_PACKAGE_Freetype=ON -DGLYPHROW_WINDOWS_TESTS=OFF 2>&1)
[[ $? != 0 ]] || fail "the configure passed under CI without FreeType"
out=$(env -u CI cmake -S "$1" -B "$scratch/c" -DCMAKE_DISABLE_FIND_PACKAGE_Freetype=ON -DGLYPHROW_WINDOWS_TESTS=OFF 2>&1)
[[ $? == 0 ]] || { echo "$out"; fail "the configure failed without FreeType"; }
grep -qi "warning" <<<"$out" && { echo "$out"; fail "a warning for a missing test tool"; }
targets=$(cmake --build "$scratch/c" --target help 2>&1)
for t in unit_tests posix_tests blackbox_native; do
  grep -q "$t" <<<"$targets" || fail "$t is not built without FreeType"
done
! grep -q readers_native <<<"$targets" || fail "the tests that need FreeType are built without it"
echo "without GoogleTest or FreeType under CI the configure fails; elsewhere the tests that need neither are built"
