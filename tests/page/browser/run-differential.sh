#!/usr/bin/env bash
# The differential test: our edits against Chromium's DOM operation over the page corpus.
# Usage: run-differential.sh <page_differential_edit> <corpus> <snippets> <work-folder> <modules-folder>
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
tool=$1 corpus=$2 snippets=$3 work=$4 modules=$5
"$here/ensure-modules.sh" "$modules"
rm -rf "$work"
node "$here/element-pages.mjs" "$here/element-names.txt" "$work/sweep"
"$tool" "$corpus" "$snippets" "$work" 150 "$work/sweep"
exec node "$modules/differential.mjs" "$work/manifest.json"
