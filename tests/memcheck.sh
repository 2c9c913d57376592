#!/usr/bin/env bash
# memcheck.sh STATUS TOOL ARGS...: runs the tool under valgrind memcheck and
# passes when memcheck found nothing and the tool exited with STATUS.
expected=$1; shift
valgrind --quiet --error-exitcode=99 --leak-check=full --errors-for-leak-kinds=definite,indirect \
  --suppressions="$(dirname "$0")/memcheck.supp" "$@"
status=$?
[[ $status == "$expected" ]] || { echo "status $status, expected $expected"; exit 1; }
