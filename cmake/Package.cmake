# The Debian package (scripts/package runs cpack in the build folder): the programs, the
# desktop files, the manual page and the documents a Debian package must carry.
find_program(GZIP_EXECUTABLE gzip REQUIRED)
set(kivra_pkg_dir ${PROJECT_SOURCE_DIR}/data/package)
set(kivra_pkg_out ${CMAKE_BINARY_DIR}/package)
file(MAKE_DIRECTORY ${kivra_pkg_out})
set(KIVRA_PACKAGE_MAINTAINER "KIVRA developers <kivra@example.org>"
    CACHE STRING "Maintainer field of the Debian package")

# The manual page covers both programs; the simulator's name leads to the same page.
add_custom_command(OUTPUT ${kivra_pkg_out}/kivra.1.gz
    COMMAND ${GZIP_EXECUTABLE} -9nc ${kivra_pkg_dir}/kivra.1 > ${kivra_pkg_out}/kivra.1.gz
    DEPENDS ${kivra_pkg_dir}/kivra.1
    COMMENT "Compressing the manual page")
file(CREATE_LINK kivra.1.gz ${kivra_pkg_out}/kivra-analyzer-sim.1.gz SYMBOLIC)
# A native package's changelog names its version, so it is written whenever that changes.
add_custom_command(OUTPUT ${kivra_pkg_out}/changelog.gz
    COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${PROJECT_SOURCE_DIR}
        -DVERSION_FILE=${KIVRA_VERSION_FILE} "-DMAINTAINER=${KIVRA_PACKAGE_MAINTAINER}"
        -DGZIP=${GZIP_EXECUTABLE}
        -DOUT=${kivra_pkg_out}/changelog.gz -P ${PROJECT_SOURCE_DIR}/cmake/WriteChangelog.cmake
    DEPENDS ${KIVRA_VERSION_FILE} ${PROJECT_SOURCE_DIR}/cmake/WriteChangelog.cmake
    COMMENT "Writing the package changelog"
    VERBATIM)
add_custom_target(kivra_package_files ALL
    DEPENDS ${kivra_pkg_out}/kivra.1.gz ${kivra_pkg_out}/changelog.gz)
add_dependencies(kivra_package_files kivra_version_files)

install(FILES ${kivra_pkg_out}/kivra.1.gz ${kivra_pkg_out}/kivra-analyzer-sim.1.gz
    DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${kivra_pkg_dir}/copyright ${kivra_pkg_out}/changelog.gz
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/kivra)

# The package's description is the software centre's.
file(READ ${PROJECT_SOURCE_DIR}/data/org.kivra.Kivra.metainfo.xml kivra_metainfo)
string(REGEX MATCH "<summary>([^<]*)</summary>" _ "${kivra_metainfo}")
set(kivra_summary "${CMAKE_MATCH_1}")
string(REGEX MATCH "<description>[ \n]*<p>([^<]*)</p>" _ "${kivra_metainfo}")
string(REGEX REPLACE "[ \n]+" " " kivra_description "${CMAKE_MATCH_1}")
string(STRIP "${kivra_description}" kivra_description)
# Control-file lines stay under 80 columns.
string(REPLACE " " ";" kivra_words "${kivra_description}")
set(kivra_description "")
set(kivra_line "")
foreach(word IN LISTS kivra_words)
    string(LENGTH "${kivra_line} ${word}" kivra_length)
    if(kivra_line AND kivra_length GREATER 78)
        string(APPEND kivra_description "${kivra_line}\n")
        set(kivra_line "${word}")
    elseif(kivra_line)
        string(APPEND kivra_line " ${word}")
    else()
        set(kivra_line "${word}")
    endif()
endforeach()
string(APPEND kivra_description "${kivra_line}")

# cpack installs what scripts/package has built, without building the tests first.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kivra)
set(CPACK_PACKAGE_VENDOR "KIVRA developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${kivra_summary}")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "${kivra_description}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${KIVRA_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
    GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
# The version is the build's, read when cpack runs: a commit after configuring still gets
# its own number.
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_KIVRA_VERSION_FILE ${KIVRA_VERSION_FILE})
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/cmake/PackageVersion.cmake)
include(CPack)
