#!/bin/sh
# Makes a fresh Wine prefix and starts its server for the whole test run, so that no test pays the
# start-up. The server and Wine's services outlive this script: they get no descriptor of ctest's.
set -eu
prefix=$1
rm -rf "$prefix"
mkdir -p "$prefix"
export WINEPREFIX="$prefix" WINEDEBUG=-all
# What Wine said goes with a failure, so a prefix that did not boot can be told from a failed test.
trap 'status=$?; [ "$status" -eq 0 ] || cat "$prefix/boot.log" >&2' EXIT
wineserver -p </dev/null >"$prefix/boot.log" 2>&1
wineboot -i </dev/null >>"$prefix/boot.log" 2>&1
echo "wine prefix ready: $prefix"
