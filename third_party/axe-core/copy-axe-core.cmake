# cmake -DFROM=<axe-core package> -DTO=<folder> -P copy-axe-core.cmake: copies axe.min.js and
# its licences when the package is there, and removes old copies when it is not.
file(MAKE_DIRECTORY "${TO}")
foreach(name axe.min.js LICENSE LICENSE-3RD-PARTY.txt)
    if(EXISTS "${FROM}/axe.min.js")
        file(COPY_FILE "${FROM}/${name}" "${TO}/${name}" ONLY_IF_DIFFERENT)
    else()
        file(REMOVE "${TO}/${name}")
    endif()
endforeach()
