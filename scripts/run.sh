#!/usr/bin/env bash
# The main job: installs what is missing, builds, and runs the editor with the add-in.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
"$root/scripts/build.sh"
exec "$build/bin/ostrel_spine_demo"
