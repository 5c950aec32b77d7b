# The program's one version: the project version, with +git<count>.<hash> appended for a
# build from a checkout. Code includes "KivraVersion.h" (KIVRA_VERSION, a string literal)
# through the kivra_version target; the package reads the same text from kivra-version.txt.
# Both are rewritten at every build, but only touched when the text changes, so a new
# commit recompiles the few files that show it and nothing else.
set(KIVRA_VERSION_DIR ${CMAKE_BINARY_DIR}/generated)
set(KIVRA_VERSION_HEADER ${KIVRA_VERSION_DIR}/KivraVersion.h)
set(KIVRA_VERSION_FILE ${CMAKE_BINARY_DIR}/kivra-version.txt)
set(kivra_version_args
    -DSOURCE_DIR=${PROJECT_SOURCE_DIR} -DBASE_VERSION=${PROJECT_VERSION}
    -DHEADER=${KIVRA_VERSION_HEADER} -DTEXT_FILE=${KIVRA_VERSION_FILE})
# Once now, so the files exist before the first build and CPack has a version to start from.
execute_process(COMMAND ${CMAKE_COMMAND} ${kivra_version_args}
    -P ${PROJECT_SOURCE_DIR}/cmake/WriteVersion.cmake)
add_custom_target(kivra_version_files
    COMMAND ${CMAKE_COMMAND} ${kivra_version_args} -P ${PROJECT_SOURCE_DIR}/cmake/WriteVersion.cmake
    BYPRODUCTS ${KIVRA_VERSION_HEADER} ${KIVRA_VERSION_FILE}
    COMMENT "Version from the checkout"
    VERBATIM)
add_library(kivra_version INTERFACE)
target_include_directories(kivra_version INTERFACE ${KIVRA_VERSION_DIR})
add_dependencies(kivra_version kivra_version_files)
