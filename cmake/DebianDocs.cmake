# The copyright file (machine-readable, from LICENSE) and changelog.Debian.gz
# that every Debian package ships in /usr/share/doc/PACKAGE. The changelog
# entry takes the packages' source name, version and maintainer from the CPack
# settings (cmake/Package.cmake) and its date from SOURCE_DATE_EPOCH, else
# from the last commit, so that the same sources build the same bytes.
#   fwcommon_debian_docs(COMPONENT PACKAGE) installs both for one package.
find_program(FWCOMMON_GZIP gzip REQUIRED)

file(READ ${PROJECT_SOURCE_DIR}/LICENSE _fwcommon_license)
if(NOT _fwcommon_license MATCHES "\nCopyright \\(c\\) ([^\n]+)\n")
    message(FATAL_ERROR "LICENSE has no \"Copyright (c)\" line")
endif()
set(FWCOMMON_COPYRIGHT "${CMAKE_MATCH_1}")
# The license text is what follows the copyright line, one space in, with
# "." for each empty line.
string(REGEX REPLACE "^.*\nCopyright \\(c\\) [^\n]+\n" "" _fwcommon_license "${_fwcommon_license}")
string(STRIP "${_fwcommon_license}" _fwcommon_license)
string(REGEX REPLACE "[ \t]+\n" "\n" _fwcommon_license "${_fwcommon_license}")
string(REGEX REPLACE "\n\n+" "\n.\n" _fwcommon_license "${_fwcommon_license}")
string(REPLACE "\n" "\n " FWCOMMON_LICENSE_TEXT " ${_fwcommon_license}")

if(CPACK_DEBIAN_PACKAGE_MAINTAINER)
    set(FWCOMMON_DEBIAN_MAINTAINER "${CPACK_DEBIAN_PACKAGE_MAINTAINER}")
else()
    set(FWCOMMON_DEBIAN_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
endif()
set(FWCOMMON_DEBIAN_SOURCE "${CPACK_DEBIAN_PACKAGE_SOURCE}")
set(FWCOMMON_DEBIAN_VERSION "${CPACK_DEBIAN_PACKAGE_VERSION}")
if(CPACK_DEBIAN_PACKAGE_RELEASE)
    string(APPEND FWCOMMON_DEBIAN_VERSION "-${CPACK_DEBIAN_PACKAGE_RELEASE}")
endif()
if(CPACK_DEBIAN_PACKAGE_EPOCH)
    set(FWCOMMON_DEBIAN_VERSION "${CPACK_DEBIAN_PACKAGE_EPOCH}:${FWCOMMON_DEBIAN_VERSION}")
endif()

# string(TIMESTAMP) formats SOURCE_DATE_EPOCH when it is set: give it the
# commit's time for the while when the caller set none.
set(_fwcommon_saved_epoch "$ENV{SOURCE_DATE_EPOCH}")
if("$ENV{SOURCE_DATE_EPOCH}" STREQUAL "")
    find_package(Git QUIET)
    set(_fwcommon_commit_time "")
    if(Git_FOUND)
        execute_process(COMMAND ${GIT_EXECUTABLE} log -1 --format=%ct
                        WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                        OUTPUT_VARIABLE _fwcommon_commit_time
                        OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    endif()
    if(NOT _fwcommon_commit_time MATCHES "^[0-9]+$")
        message(STATUS "No SOURCE_DATE_EPOCH and no commit: the Debian changelog is dated 1970")
        set(_fwcommon_commit_time 0)
    endif()
    set(ENV{SOURCE_DATE_EPOCH} ${_fwcommon_commit_time})
endif()
if(NOT "$ENV{SOURCE_DATE_EPOCH}" MATCHES "^[0-9]+$")
    message(FATAL_ERROR "SOURCE_DATE_EPOCH is not a number of seconds: $ENV{SOURCE_DATE_EPOCH}")
endif()
string(TIMESTAMP FWCOMMON_DEBIAN_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
set(ENV{SOURCE_DATE_EPOCH} "${_fwcommon_saved_epoch}")

set(_fwcommon_debian_doc_dir ${CMAKE_BINARY_DIR}/debian-doc)
configure_file(${CMAKE_CURRENT_LIST_DIR}/debian/copyright.in
               ${_fwcommon_debian_doc_dir}/copyright @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/debian/changelog.in
               ${_fwcommon_debian_doc_dir}/changelog.Debian @ONLY)
# -n: no file name and no time stamp in the gzip header.
add_custom_command(
    OUTPUT ${_fwcommon_debian_doc_dir}/changelog.Debian.gz
    COMMAND ${FWCOMMON_GZIP} -9nc ${_fwcommon_debian_doc_dir}/changelog.Debian
            > ${_fwcommon_debian_doc_dir}/changelog.Debian.gz
    DEPENDS ${_fwcommon_debian_doc_dir}/changelog.Debian
    COMMENT "Compressing the Debian changelog")
add_custom_target(fwcommon_debian_changelog ALL
                  DEPENDS ${_fwcommon_debian_doc_dir}/changelog.Debian.gz)

function(fwcommon_debian_docs component package)
    install(FILES ${_fwcommon_debian_doc_dir}/copyright
                  ${_fwcommon_debian_doc_dir}/changelog.Debian.gz
            DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${package}
            COMPONENT ${component})
endfunction()
