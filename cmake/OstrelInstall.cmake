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

# The machine-wide record files of the add-ins the package brings, one per add-in: every
# user's editor reads them from this fixed place (the package's prefix is /usr). An install
# into another prefix puts them under it too, where no editor looks; register such an
# install with ostrel-regsvr.
set(OSTREL_PACKAGE_RECORDS_SUBDIR "${OSTREL_PRIVATE_INSTALL_DIR}/registry.d")
set(OSTREL_PACKAGE_RECORDS_DIR "/usr/${OSTREL_PACKAGE_RECORDS_SUBDIR}")

# ostrel_install_machine_records(<module target> <installed folder of the module>): the
# module's own registration, run at build time by the build user into a scratch per-user
# registry (no root, no installed system touched), becomes the package's record file
# <module>.reg: its keys moved to the machine's hive and the build's module path and folder
# replaced by the installed ones, which are only known at install time (the prefix).
function(ostrel_install_machine_records target folder)
    set(name $<TARGET_FILE_BASE_NAME:${target}>)
    set(records ${CMAKE_CURRENT_BINARY_DIR}/${target}.user.reg)
    set(converted ${CMAKE_CURRENT_BINARY_DIR}/${target}.machine.reg.in)
    add_custom_command(OUTPUT ${converted}
        COMMAND ${CMAKE_COMMAND} -E rm -f ${records}
        # In a sanitizer build this run only records: leaks and races are the tests' to find.
        COMMAND ${CMAKE_COMMAND} -E env OSTREL_REGISTRY_FILE=${records}
                ASAN_OPTIONS=detect_leaks=0 TSAN_OPTIONS=exitcode=0
                $<TARGET_FILE:ostrel-regsvr> --quiet $<TARGET_FILE:${target}>
        COMMAND ${CMAKE_COMMAND} -DRECORDS=${records} -DOUTPUT=${converted}
                -DMODULE=$<TARGET_FILE:${target}>
                -P ${PROJECT_SOURCE_DIR}/cmake/OstrelMachineRecords.cmake
        DEPENDS ${target} ostrel-regsvr ${PROJECT_SOURCE_DIR}/cmake/OstrelMachineRecords.cmake
        COMMENT "Recording ${target}'s registration for the package"
        VERBATIM)
    add_custom_target(${target}_machine_records ALL DEPENDS ${converted})
    install(CODE "
        file(READ \"${converted}\" records)
        string(REPLACE \"@OSTREL_MODULE@\"
               \"\${CMAKE_INSTALL_PREFIX}/${folder}/$<TARGET_FILE_NAME:${target}>\"
               records \"\${records}\")
        string(REPLACE \"@OSTREL_MODULE_DIR@\" \"\${CMAKE_INSTALL_PREFIX}/${folder}\"
               records \"\${records}\")
        file(WRITE \"${CMAKE_CURRENT_BINARY_DIR}/staged/${name}.reg\" \"\${records}\")
        file(INSTALL \"${CMAKE_CURRENT_BINARY_DIR}/staged/${name}.reg\"
             DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${OSTREL_PACKAGE_RECORDS_SUBDIR}\"
             PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
    ")
endfunction()
