#!/usr/bin/env bash
# What an installed build must do, checked on the build folder that scripts/test.sh made
# (build/, or $BUILD_DIR):
#  1. `cmake --install` into a scratch DESTDIR (axe-core and its licences too, when the build
#     has them); the installed pagehost plays its tour on a copy
#     of the sample page from another folder, with a clean environment and the build
#     folder's binaries out of reach (build/bin renamed meanwhile), and the add-in's form
#     lands in the page; no installed binary resolves a library from the build folder. A
#     second tour, in German, opens Help > Handbook (the installed handbook) and Help > About
#     (the version and the licences).
#  2. `cpack -G DEB` builds the package; unpacked with dpkg-deb -x, lintian finds no error in
#     it and scripts/check-desktop-files.sh none in the unpacked tree. As root (CI), dpkg
#     installs it under a scratch root (dpkg --root; the computer's own files are not
#     touched): its maintainer scripts start no program of the package, `dpkg -S` names the
#     owner of every file it put there, and remove and purge leave nothing behind.
#  3. A BUILD_TESTING=OFF configure-and-build of the product alone succeeds (build-product/,
#     or $PRODUCT_BUILD_DIR), with ccache when present.
# Any failure ends the script with status 1.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${BUILD_DIR:-$root/build}" && pwd)
product_build=${PRODUCT_BUILD_DIR:-$root/build-product}
clsid='{2D94A8A9-A676-40FA-A131-CB6D94BE99EC}'
work=$(mktemp -d)
hidden=$build/bin.check-install-hidden
restore() {
    if [ -d "$hidden" ]; then mv "$hidden" "$build/bin"; fi
    rm -rf "$work"
}
trap restore EXIT
fail() {
    echo "check-install: $*" >&2
    exit 1
}
step() { printf '\n== %s\n' "$*"; }

step "Installing into a scratch DESTDIR"
stage=$work/stage
DESTDIR=$stage cmake --install "$build" --prefix /usr >"$work/install.log" ||
    { cat "$work/install.log" >&2; fail "cmake --install failed"; }
pagehost=$stage/usr/bin/pagehost
module=$(find "$stage/usr/lib" -name OstrelPlugin.so -path '*/OstrelPlugin/*' | head -1)
for file in "$pagehost" "$stage/usr/bin/ostrel-regsvr" "$module"; do
    [ -f "$file" ] || fail "not installed: ${file:-OstrelPlugin.so}"
done
[ -f "$(dirname "$module")/template.wtf" ] || fail "template.wtf is not beside $module"
[ -f "$(dirname "$module")/service_form.json" ] || fail "service_form.json is not beside $module"
[ -f "$(dirname "$module")/ostrel_wizard_de.qm" ] || fail "ostrel_wizard_de.qm is not beside $module"
private=$(dirname "$(find "$stage/usr/lib" -name libostrel_com.so | head -1)")
[ -f "$private/ostrel_preview.so" ] || fail "ostrel_preview.so is not beside libostrel_com.so"
# axe-core for the Form Check, with its licences, where the build fetched it.
if [ -f "$build/share/pagehost/axe-core/axe.min.js" ]; then
    for file in axe.min.js LICENSE LICENSE-3RD-PARTY.txt; do
        [ -f "$stage/usr/share/pagehost/axe-core/$file" ] || fail "not installed: share/pagehost/axe-core/$file"
    done
fi

# The add-in's record for every user, made at build time, names the installed module.
records=$(find "$stage/usr/lib" -path '*/ostrel/registry.d/OstrelPlugin.reg' | head -1)
[ -f "$records" ] || fail "not installed: the add-in's machine-wide record file (ostrel/registry.d/OstrelPlugin.reg)"
recorded=$(sed -n 's/^@="\(\/.*OstrelPlugin\.so\)"$/\1/p' "$records" | head -1)
[ -n "$recorded" ] && [ "$stage$recorded" -ef "$module" ] ||
    fail "$records names the module ${recorded:-(none)}, not the installed $module"
grep -q 'HKEY_CURRENT_USER' "$records" && fail "$records holds per-user keys"

step "Resolving the installed binaries' libraries"
for binary in "$pagehost" "$stage/usr/bin/ostrel-regsvr" "$module" "$private/ostrel_preview.so"; do
    if readelf -d "$binary" | grep -E 'R(UN)?PATH' | grep -qF "$build"; then
        fail "$binary has the build folder in its RPATH"
    fi
    libraries=$(ldd "$binary")
    if grep -q 'not found' <<<"$libraries"; then fail "$binary: $(grep 'not found' <<<"$libraries")"; fi
    if grep -qF "$build" <<<"$libraries"; then fail "$binary loads from the build folder: $libraries"; fi
done
com=$(ldd "$pagehost" | awk '/libostrel_com\.so/ { print $3 }')
[ "$(realpath "$com")" = "$(realpath "$private/libostrel_com.so")" ] ||
    fail "the installed pagehost loads $com, not the installed libostrel_com.so"

step "The installed pagehost's tour, with build/bin out of reach"
mv "$build/bin" "$hidden"
mkdir -p "$work/home" "$work/pages" "$work/elsewhere"
cp "$root/samples/welcome.html" "$work/pages/"
sandbox=()
[ "$(id -u)" -ne 0 ] || sandbox=(QTWEBENGINE_DISABLE_SANDBOX=1)
status=0
(cd "$work/elsewhere" && env -i HOME="$work/home" PATH=/usr/bin:/bin QT_QPA_PLATFORM=offscreen \
    "${sandbox[@]}" LD_DEBUG=libs LD_DEBUG_OUTPUT="$work/ld-debug" \
    "$pagehost" --tour "$work/tour" --addin "$module" --clsid "$clsid" \
    "$work/pages/welcome.html") >"$work/tour.log" 2>&1 || status=$?
# Help > Handbook and Help > About, in German: the installed handbook, the version and the
# licences, and the installed translation.
printf '%s\n' 'menu helpHandbook' 'menu helpAbout' 'dialog-read about' 'dialog-click aboutClose' \
    'wait-closed' >"$work/help.tour"
help_status=0
(cd "$work/elsewhere" && env -i HOME="$work/home" PATH=/usr/bin:/bin QT_QPA_PLATFORM=offscreen \
    "${sandbox[@]}" LANG=de_DE.UTF-8 "$pagehost" --tour "$work/help" --tour-script "$work/help.tour" \
    "$work/pages/welcome.html") >"$work/help.log" 2>&1 || help_status=$?
mv "$hidden" "$build/bin"
if [ "$status" -ne 0 ]; then cat "$work/tour.log" >&2; fail "the installed pagehost's tour failed ($status)"; fi
[ "$help_status" -eq 0 ] || { cat "$work/help.log" >&2; fail "the Help menu's tour failed ($help_status)"; }
grep -qxF "Opened in the browser: file://$stage/usr/share/pagehost/handbook/index.html" "$work/help.log" ||
    { cat "$work/help.log" >&2; fail "Help > Handbook did not open the installed handbook"; }
version=$(sed -n 's/^project(OstrelPlugin VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
for expected in "PageHost $version" MIT MPL-2.0 ISC Lizenz; do
    grep -qF "$expected" "$work/help/about.txt" ||
        { cat "$work/help/about.txt" >&2; fail "Help > About does not name: $expected"; }
done
echo "Help > Handbook opened the installed handbook; About names the version and the licences, in German."
page=$work/tour/welcome.html
grep -q "<div id='OstrelInsert'>" "$page" && grep -q '<form class="ostrel-signup"' "$page" ||
    fail "the form did not land in $page"
# Every library any process of the tour loaded (the rendered view's helper processes too).
if grep -h 'calling init:' "$work"/ld-debug.* | grep -F "$build"; then
    fail "the tour loaded the libraries above from the build folder"
fi
grep -h 'calling init:.*/ostrel_preview\.so' "$work"/ld-debug.* | awk '{ print $NF }' |
    xargs -r realpath | grep -qxF "$(realpath "$private/ostrel_preview.so")" ||
    fail "the tour did not load the installed rendered-view module"
if [ -f "$stage/usr/share/pagehost/axe-core/axe.min.js" ]; then
    grep -q 'The accessibility audit (axe-core .*) ran on the rendered form' "$work/tour.log" ||
        { cat "$work/tour.log" >&2; fail "the Form Check's audit did not run with the installed axe-core"; }
fi
echo "The form is in the page; every library came from the installed tree or the system."

step "Building the Debian package"
rm -f "$build"/ostrel_*.deb
(cd "$build" && cpack -G DEB >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log" >&2; fail "cpack failed"; }
deb=$(ls "$build"/ostrel_*.deb)
echo "$deb"
dpkg-deb -x "$deb" "$work/unpacked"
dpkg-deb --field "$deb"

step "lintian"
# Errors fail; warnings are printed (each one left in place is explained in packaging/README.md).
lintian --fail-on error --tag-display-limit 0 "$deb" || fail "lintian found errors in $deb"

step "Install, remove and purge under a scratch root (dpkg --root)"
if [ "$(id -u)" -ne 0 ]; then
    echo "skipped: dpkg installs as root only (CI runs this as root)"
else
    droot=$work/dpkg-root
    admin=$droot/var/lib/dpkg
    mkdir -p "$admin/info" "$admin/updates" "$droot/etc"
    touch "$admin/status"
    in_root() { dpkg --root="$droot" --log=/dev/null --force-script-chrootless "$@"; }
    # What every file of the scratch root is, but dpkg's own database and the folders made
    # for it.
    left() { find "$droot" -mindepth 1 -path "$admin" -prune -o ! -path "$droot/var" \
        ! -path "$droot/var/lib" ! -path "$droot/etc" -print; }
    # An earlier build's single machine-wide file, its add-in records taken out again by
    # that build's prerm: the package's postinst tidies it away.
    mkdir -p "$droot/etc/ostrel"
    printf 'OstrelRegistry 1\n' >"$droot/etc/ostrel/registry.reg"
    touch "$droot/etc/ostrel/registry.reg.lock"
    # The libraries it depends on are the computer's, not the scratch root's.
    in_root --force-depends -i "$deb" >"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log" >&2; fail "dpkg -i failed"; }
    [ ! -e "$droot/etc/ostrel" ] || fail "the earlier build's emptied /etc/ostrel/registry.reg was left"
    for script in preinst prerm; do
        [ ! -e "$admin/info/ostrel.$script" ] || fail "the package has a $script; it needs none"
    done
    # No maintainer script starts a program of the package, loads a module or runs ldconfig
    # (the private libraries are found through RUNPATH).
    for script in "$admin"/info/ostrel.postinst "$admin"/info/ostrel.postrm; do
        if grep -Env '^[[:space:]]*#' "$script" | grep -E 'ostrel-regsvr|pagehost|\.so|ldconfig'; then
            fail "$(basename "$script") starts a program of the package, names a module or runs ldconfig"
        fi
    done
    owned=0
    while IFS= read -r file; do
        in_root -S "${file#"$droot"}" >/dev/null 2>&1 || fail "no package owns ${file#"$droot"}"
        owned=$((owned + 1))
    done < <(find "$droot" -path "$admin" -prune -o ! -type d -print)
    [ "$owned" -gt 10 ] || fail "dpkg installed only $owned files"
    echo "dpkg -S names the owner of each of the $owned installed files."
    in_root -r ostrel >>"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log" >&2; fail "dpkg -r failed"; }
    [ -z "$(left)" ] || fail "dpkg -r left: $(left)"
    in_root -P ostrel >>"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log" >&2; fail "dpkg -P failed"; }
    [ -z "$(left)" ] || fail "dpkg -P left: $(left)"
    in_root -s ostrel >/dev/null 2>&1 && fail "ostrel is still known to dpkg after the purge"
    echo "Removed and purged: nothing is left."
fi

step "Desktop entry, metainfo and manual pages of the unpacked package"
"$root/scripts/check-desktop-files.sh" "$work/unpacked" || fail "check-desktop-files found errors"

step "The product alone, BUILD_TESTING=OFF"
# Where ccache is used (CMakeLists.txt): paths relative to the checkout, and no build folder
# in the hash, so objects compiled for another build folder serve this one too.
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$root} CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-1}
# Unoptimised: what is checked is that the product configures and builds without the test
# libraries, and that compiles in about half the time of an optimised build.
cmake -S "$root" -B "$product_build" -G Ninja -DCMAKE_BUILD_TYPE= \
    -DBUILD_TESTING=OFF >"$work/product.log" 2>&1 &&
    cmake --build "$product_build" -j "$(nproc)" >>"$work/product.log" 2>&1 ||
    { tail -40 "$work/product.log" >&2; fail "the BUILD_TESTING=OFF build failed"; }
if grep -Eq '^(GTest_DIR|GTEST_INCLUDE_DIR|benchmark_DIR|Qt6Test_DIR):[A-Z]+=/' \
    "$product_build/CMakeCache.txt"; then
    fail "the BUILD_TESTING=OFF build looked for the test libraries"
fi
echo "check-install: all passed"
