# cmake -DRECORDS=<per-user registry> -DOUTPUT=<file> -DMODULE=<built module> -P this:
# the module's per-user records as machine-wide ones, its path left as @OSTREL_MODULE@ for
# the install to fill in. A registry file's keys start their lines as "[HIVE\..."; values
# hold the module's path in quotes, with no escape in it (a build path has no '"' or '\').
file(READ "${RECORDS}" text)
if(NOT text MATCHES "\\[HKEY_CURRENT_USER\\\\")
    message(FATAL_ERROR "${RECORDS} holds no registration records of ${MODULE}")
endif()
string(REPLACE "\n[HKEY_CURRENT_USER\\" "\n[HKEY_LOCAL_MACHINE\\" text "${text}")
string(REPLACE "\"${MODULE}\"" "\"@OSTREL_MODULE@\"" text "${text}")
if(text MATCHES "HKEY_CURRENT_USER" OR NOT text MATCHES "@OSTREL_MODULE@")
    message(FATAL_ERROR "${RECORDS}: the records of ${MODULE} are not in the expected form")
endif()
file(WRITE "${OUTPUT}" "${text}")
