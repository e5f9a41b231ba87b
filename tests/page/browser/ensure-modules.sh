#!/usr/bin/env bash
# Installs the pinned playwright-core (package-lock.json) into <folder> unless it is there.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
folder=$1
mkdir -p "$folder"
if ! cmp -s "$here/package-lock.json" "$folder/package-lock.json" ||
   [ ! -d "$folder/node_modules/playwright-core" ]; then
    cp "$here/package.json" "$here/package-lock.json" "$folder/"
    (cd "$folder" && npm ci --no-audit --no-fund --loglevel=error)
fi
# Node finds modules beside the importing script: the scripts run from the same folder.
cp "$here"/*.mjs "$folder/"
