#!/usr/bin/env bash
# Builds in Release mode into build-bench/ (or $BENCH_BUILD_DIR), then runs every benchmark of
# the project and prints one table (see bench/README.md).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BENCH_BUILD_DIR:-$root/build-bench}
BUILD_DIR=$build BUILD_TYPE=Release "$root/scripts/build.sh"
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
python3 "$root/bench/report.py" "$build/bin"
