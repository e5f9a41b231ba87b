#!/usr/bin/env bash
# Installs the pinned axe-core (package-lock.json) into <folder>/node_modules unless it is
# there; the build copies axe.min.js and its licence from there (CMakeLists.txt beside this).
# Without npm, or when npm fails (no network), it says so and ends with status 0: the editor
# builds and runs without axe-core, and its Form Check then says the audit did not run.
# OSTREL_REQUIRE_AXE_CORE=1 makes that a failure (CI sets it).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
folder=$1
give_up() {
    echo "fetch-axe-core: $*; the editor's accessibility audit will not run" >&2
    [ "${OSTREL_REQUIRE_AXE_CORE:-0}" != 1 ] || exit 1
    exit 0
}
command -v npm >/dev/null 2>&1 || give_up "npm is not installed"
mkdir -p "$folder"
# Builds that run at once share the folder: one installs, the others wait.
exec 9>"$folder/.install-lock"
flock 9
if cmp -s "$here/package-lock.json" "$folder/package-lock.json" &&
   [ -f "$folder/node_modules/axe-core/axe.min.js" ]; then
    exit 0
fi
cp "$here/package.json" "$here/package-lock.json" "$folder/"
(cd "$folder" && npm ci --no-audit --no-fund --loglevel=error) ||
    { rm -f "$folder/package-lock.json"; give_up "npm ci failed in $folder"; }
