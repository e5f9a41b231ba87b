# Where an installed build puts its files (the GNU layout), and how an installed binary finds
# the private libraries from its own place, never from the build tree: an RPATH relative to
# $ORIGIN. The build tree keeps everything in build/bin, with CMake's build RPATH.
include(GNUInstallDirs)

# The object model's shared library and the rendered-view module: for our programs only.
set(OSTREL_PRIVATE_INSTALL_DIR "${CMAKE_INSTALL_LIBDIR}/ostrel" CACHE STRING
    "Folder, under the install prefix, of the libraries only the editor and its add-ins use")

# ostrel_install_rpath(<target> <installed folder of the target>): the target finds the
# private folder relative to itself once installed.
function(ostrel_install_rpath target folder)
    file(RELATIVE_PATH relative "/${folder}" "/${OSTREL_PRIVATE_INSTALL_DIR}")
    set_target_properties(${target} PROPERTIES INSTALL_RPATH "$ORIGIN/${relative}")
endfunction()
