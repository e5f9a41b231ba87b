#!/usr/bin/env bash
# Installs the pinned playwright-core and vnu-jar (package-lock.json) into <folder> unless
# they are there. Tests that run at once share the folder: one installs, the others wait.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
folder=$1
mkdir -p "$folder"
exec 9>"$folder/.install-lock"
flock 9
if ! cmp -s "$here/package-lock.json" "$folder/package-lock.json" ||
   [ ! -d "$folder/node_modules/playwright-core" ] || [ ! -d "$folder/node_modules/vnu-jar" ]; then
    cp "$here/package.json" "$here/package-lock.json" "$folder/"
    (cd "$folder" && npm ci --no-audit --no-fund --loglevel=error)
fi
# Node finds modules beside the importing script: the scripts run from the same folder.
cp "$here"/*.mjs "$folder/"
