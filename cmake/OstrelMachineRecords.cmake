# cmake -DRECORDS=<per-user registry> -DOUTPUT=<file> -DMODULE=<built module> -P this:
# the module's per-user records as machine-wide ones, its path left as @OSTREL_MODULE@ and
# its folder (the type library's help folder) as @OSTREL_MODULE_DIR@ for the install to fill
# in; no other mention of the build folder may be left. A registry file's keys start their
# lines as "[HIVE\..."; values hold the module's path in quotes, with no escape in it (a
# build path has no '"' or '\').
file(READ "${RECORDS}" text)
if(NOT text MATCHES "\\[HKEY_CURRENT_USER\\\\")
    message(FATAL_ERROR "${RECORDS} holds no registration records of ${MODULE}")
endif()
string(REPLACE "\n[HKEY_CURRENT_USER\\" "\n[HKEY_LOCAL_MACHINE\\" text "${text}")
get_filename_component(folder "${MODULE}" DIRECTORY)
string(REPLACE "\"${MODULE}\"" "\"@OSTREL_MODULE@\"" text "${text}")
string(REPLACE "\"${folder}\"" "\"@OSTREL_MODULE_DIR@\"" text "${text}")
string(FIND "${text}" "${folder}" build_path_left)
if(text MATCHES "HKEY_CURRENT_USER" OR NOT text MATCHES "@OSTREL_MODULE@" OR
   NOT build_path_left EQUAL -1)
    message(FATAL_ERROR "${RECORDS}: the records of ${MODULE} are not in the expected form")
endif()
file(WRITE "${OUTPUT}" "${text}")
