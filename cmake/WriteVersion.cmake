# cmake -DSOURCE_DIR=… -DBASE_VERSION=0.1 -DHEADER=… -DTEXT_FILE=… -P WriteVersion.cmake
set(version ${BASE_VERSION})
find_package(Git QUIET)
if(GIT_FOUND)
    execute_process(COMMAND ${GIT_EXECUTABLE} -C ${SOURCE_DIR} rev-list --count HEAD
        OUTPUT_VARIABLE count OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE count_failed
        ERROR_QUIET)
    execute_process(COMMAND ${GIT_EXECUTABLE} -C ${SOURCE_DIR} rev-parse --short HEAD
        OUTPUT_VARIABLE hash OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE hash_failed
        ERROR_QUIET)
    # Not a checkout (a source archive): the plain version.
    if(NOT count_failed AND NOT hash_failed AND count MATCHES "^[0-9]+$"
            AND hash MATCHES "^[0-9a-f]+$")
        set(version "${version}+git${count}.${hash}")
    endif()
endif()

function(write_if_changed path content)
    set(old "")
    if(EXISTS ${path})
        file(READ ${path} old)
    endif()
    if(NOT old STREQUAL content)
        file(WRITE ${path} "${content}")
    endif()
endfunction()

write_if_changed(${HEADER} "#pragma once\n\n#define KIVRA_VERSION \"${version}\"\n")
write_if_changed(${TEXT_FILE} "${version}")
