#!/usr/bin/env bash
# ci_guard.sh SOURCE_DIR: under CI=true a configure without GoogleTest must
# fail, never pass with no test to run.
set -u
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
out=$(CI=true cmake -S "$1" -B "$scratch" -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON -DGLYPHROW_WINDOWS_TESTS=OFF 2>&1)
status=$?
[[ $status != 0 ]] || { echo "FAIL: the configure passed without GoogleTest"; exit 1; }
grep -q "GoogleTest not found" <<<"$out" || { echo "FAIL: failed for another reason:"; echo "$out"; exit 1; }
echo "configure without GoogleTest under CI failed as it must"
