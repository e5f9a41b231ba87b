#!/usr/bin/env bash
# The validity test: pages before and after two runs of the add-in, judged by the Nu Html
# Checker. Usage: run-validity.sh <page_validity_edit> <corpus> <template.wtf> <work-folder> <modules-folder>
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
tool=$1 corpus=$2 template=$3 work=$4 modules=$5
"$here/../browser/ensure-modules.sh" "$modules"
cp "$here/validity.mjs" "$modules/"
rm -rf "$work"
"$tool" "$corpus" "$template" "$work"
exec node "$modules/validity.mjs" "$work" "$modules/node_modules/vnu-jar/build/dist/vnu.jar"
