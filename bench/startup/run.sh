#!/bin/sh
# Runs the start-up benchmark on a private X server. Usage: bench/startup/run.sh [BUILD_DIR] [-n RUNS]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../../build/dev}
[ $# -gt 0 ] && shift
command -v chromium >/dev/null || { echo "chromium is not installed (scripts/setup installs it)" >&2; exit 2; }
cmake --build "$build" --target bench_startup
exec xvfb-run -a -s "-screen 0 1920x1080x24" "$build/bench/startup/bench_startup" "$@"
