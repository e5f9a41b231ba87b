#!/usr/bin/env bash
# The page document's browser comparison and validity check over the test site's pages
# before and after two region updates.
# Usage: run-site-checks.sh <site_update_checks> <page-corpus> <snippet> <work-folder> <modules-folder>
set -euo pipefail
page=$(cd "$(dirname "$0")/../page" && pwd)
tool=$1 corpus=$2 snippet=$3 work=$4 modules=$5
"$page/browser/ensure-modules.sh" "$modules"
cp "$page/validator/validity.mjs" "$modules/"
rm -rf "$work"
"$tool" "$corpus" "$snippet" "$work"
status=0
node "$modules/differential.mjs" "$work/manifest.json" || status=1
node "$modules/validity.mjs" "$work" "$modules/node_modules/vnu-jar/build/dist/vnu.jar" || status=1
exit $status
