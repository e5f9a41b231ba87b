    # What earlier builds left in /etc: their postinst wrote the add-in's records into
    # /etc/ostrel/registry.reg and their prerm (which runs on upgrade) took them out again.
    # The file goes once no value is left in it (no line starting with " or @: an add-in
    # registered there by hand keeps it), with its lock and the folders left empty.
    # DPKG_ROOT: the root the package is installed under (dpkg --root).
    etc="${DPKG_ROOT:-}/etc/ostrel"
    if [ -f "$etc/registry.reg" ] && [ ! -L "$etc/registry.reg" ] &&
        ! grep -q '^[[:space:]]*[@"]' "$etc/registry.reg"; then
        rm -f "$etc/registry.reg" "$etc/registry.reg.lock"
    fi
    rmdir "$etc/registry.d" "$etc" 2>/dev/null || true
