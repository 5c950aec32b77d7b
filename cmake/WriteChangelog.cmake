# cmake -DSOURCE_DIR=… -DVERSION_FILE=… -DMAINTAINER=… -DGZIP=… -DOUT=…/changelog.gz
#     -P WriteChangelog.cmake
file(READ ${VERSION_FILE} version)
string(STRIP "${version}" version)
set(date "")
find_package(Git QUIET)
if(GIT_FOUND)
    # The commit's own date, so the same commit always gives the same package.
    execute_process(COMMAND ${GIT_EXECUTABLE} -C ${SOURCE_DIR} log -1 --format=%cD
        OUTPUT_VARIABLE date OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
endif()
if(NOT date)
    string(TIMESTAMP date "%a, %d %b %Y %H:%M:%S +0000" UTC)
endif()
get_filename_component(dir ${OUT} DIRECTORY)
file(WRITE ${dir}/changelog
    "kivra (${version}) unstable; urgency=medium\n\n"
    "  * Built from the KIVRA sources, version ${version}.\n\n"
    " -- ${MAINTAINER}  ${date}\n")
execute_process(COMMAND ${GZIP} -9nf ${dir}/changelog RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "gzip failed on ${dir}/changelog")
endif()
