#!/usr/bin/env bash
# Installs what is missing, then configures and builds into build/ (or $BUILD_DIR).
# OSTREL_WERROR=ON (set by CI) makes every compiler warning an error.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
build=${BUILD_DIR:-$root/build}
# axe-core for the editor's Form Check, pinned, with npm; the build goes on without it.
"$root/third_party/axe-core/fetch.sh" "$build/axe-core"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} \
    -DOSTREL_WERROR="${OSTREL_WERROR:-OFF}" "$@" >/dev/null
cmake --build "$build" -j "$(nproc)"
