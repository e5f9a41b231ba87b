#!/usr/bin/env bash
# The main job: installs what is missing, builds, and opens the sample page in the editor
# with the add-in. Without a display it plays the editor's tour offscreen instead and
# leaves the edited page and screenshots in build/tour/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
"$root/scripts/build.sh"
addin=("--addin" "$build/bin/OstrelPlugin.so" "--clsid" "{2D94A8A9-A676-40FA-A131-CB6D94BE99EC}")
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    exec "$build/bin/pagehost" "${addin[@]}" "$root/samples/welcome.html"
fi
echo "No display: playing the editor's tour offscreen."
exec "$build/bin/pagehost" --tour "$build/tour" "${addin[@]}" "$root/samples/welcome.html"
