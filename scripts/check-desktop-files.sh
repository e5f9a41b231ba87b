#!/usr/bin/env bash
# Judges the desktop entry, the AppStream metainfo, the icons and the manual pages as Debian's
# tools do (desktop-file-validate, appstreamcli validate, man and groff as lintian runs them).
# Prints every finding and exits 1 if any is an error.
#
#   scripts/check-desktop-files.sh          the files in share/, and the tree share/ installs
#   scripts/check-desktop-files.sh ROOT     an installed tree: a DESTDIR, or a .deb unpacked
#                                           with dpkg-deb -x
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
failed=0
fail() {
    echo "check-desktop-files: $*" >&2
    failed=1
}

for tool in desktop-file-validate:desktop-file-utils appstreamcli:appstream man:man-db \
    groff:groff-base gzip:gzip cmake:cmake; do
    if ! command -v "${tool%%:*}" >/dev/null; then
        echo "check-desktop-files: ${tool%%:*} is missing (Debian package ${tool#*:});" \
            "scripts/install-deps.sh installs it" >&2
        exit 2
    fi
done

# Errors and warnings fail; desktop-file-validate's hints do not.
check_desktop_entry() {
    local out
    out=$(desktop-file-validate "$1" 2>&1) || fail "$1: desktop-file-validate failed"
    [ -z "$out" ] || echo "$out"
    if grep -Eq '(error|warning):' <<<"$out"; then fail "$1: desktop-file-validate objects"; fi
}

# Fails on errors and warnings; infos (such as an id under a top-level domain the validator
# does not know, as .example) and pedantic remarks are printed only. One file per call:
# appstreamcli 0.16 repeats an earlier file's findings when given several.
check_metainfo() {
    local file
    for file; do
        appstreamcli validate --no-net --pedantic "$file" || fail "$file: appstreamcli validate failed"
    done
}

# As lintian reads a manual page: any message from man or groff is a finding.
check_man_page() {
    local out
    out=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 \
        man --warnings -E UTF-8 -l -Tutf8 -Z "$1" 2>&1 >/dev/null) || fail "$1: man failed"
    [ -z "$out" ] || fail "$1: man says: $out"
    out=$(gzip -dcf "$1" | groff -man -ww -z 2>&1) || fail "$1: groff failed"
    [ -z "$out" ] || fail "$1: groff says: $out"
    gzip -dcf "$1" | grep -q '^\.SH NAME' || fail "$1: no NAME section"
}

# A PNG's width and height from its header.
png_size() {
    od -An -tu1 -j16 -N8 "$1" |
        awk '{ printf "%dx%d\n", $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8 }'
}

# Every file of an installed tree where desktops and man look.
check_tree() {
    local root=$1 found=0 file icon
    while IFS= read -r -d '' file; do
        found=1
        check_desktop_entry "$file"
        icon=$(sed -n 's/^Icon=//p' "$file")
        if [ -z "$(find "$root" -path "*/share/icons/hicolor/*/apps/$icon.*" -print -quit)" ]; then
            fail "$file: its icon $icon is not in the hicolor theme under $root"
        fi
    done < <(find "$root" -path '*/share/applications/*.desktop' -print0)
    ((found)) || fail "$root: no desktop entry under share/applications"

    mapfile -d '' -t metainfo < <(find "$root" -path '*/share/metainfo/*.xml' -print0)
    if ((${#metainfo[@]} == 0)); then
        fail "$root: no AppStream metainfo under share/metainfo"
    else
        check_metainfo "${metainfo[@]}"
        # Whether each metainfo finds its desktop entry and the entry its icon, as installed.
        if [ -d "$root/usr/share/metainfo" ]; then
            appstreamcli validate-tree --no-net "$root" >/dev/null ||
                fail "$root: appstreamcli validate-tree failed"
        fi
    fi

    while IFS= read -r -d '' file; do
        icon=$(basename "$(dirname "$(dirname "$file")")")
        [ "$icon" = scalable ] || [ "$(png_size "$file")" = "$icon" ] ||
            fail "$file: is $(png_size "$file"), not $icon"
    done < <(find "$root" -path '*/share/icons/hicolor/*/apps/*.png' -print0)

    found=0
    while IFS= read -r -d '' file; do
        found=1
        check_man_page "$file"
    done < <(find "$root" -path '*/share/man/man[1-8]/*' -type f -print0)
    ((found)) || fail "$root: no manual page under share/man"
}

if (($# > 0)); then
    [ -d "$1" ] || { echo "check-desktop-files: $1 is not a folder" >&2; exit 2; }
    check_tree "$1"
else
    share=$repo/share
    for file in "$share"/*.desktop; do check_desktop_entry "$file"; done
    # The editor's metainfo is made at build time (its releases from the changelog): it is
    # judged as the scratch install below lays it out.
    check_metainfo "$share"/*.metainfo.xml
    for file in "$share"/man/*.1; do check_man_page "$file"; done

    # The version a packager reads everywhere is the project's.
    version=$(sed -n 's/^project(OstrelPlugin VERSION \([0-9.]*\).*/\1/p' "$repo/CMakeLists.txt")
    for file in "$share"/man/*.1; do
        grep -q "^\.TH .*\"OstrelPlugin $version\"" "$file" ||
            fail "$file: its .TH line does not name OstrelPlugin $version"
    done

    # Install share/ alone into a scratch root, as the package lays it out, and judge that.
    scratch=$(mktemp -d)
    trap 'rm -rf "$scratch"' EXIT
    printf '%s\n' 'cmake_minimum_required(VERSION 3.25)' \
        "project(OstrelShare VERSION $version LANGUAGES NONE)" \
        "add_subdirectory(\"$share\" share)" >"$scratch/CMakeLists.txt"
    if cmake -Wno-dev -S "$scratch" -B "$scratch/build" -DCMAKE_INSTALL_PREFIX=/usr >/dev/null &&
        cmake --build "$scratch/build" >/dev/null &&
        DESTDIR="$scratch/root" cmake --install "$scratch/build" >/dev/null; then
        check_tree "$scratch/root"
        grep -q "<release version=\"$version\"" \
            "$scratch/root/usr/share/metainfo/example.ostrel.PageHost.metainfo.xml" ||
            fail "the metainfo has no release entry for the project's version $version"
    else
        fail "share/ does not install"
    fi
fi

if ((failed)); then
    echo "check-desktop-files: FAILED" >&2
    exit 1
fi
echo "check-desktop-files: all passed"
