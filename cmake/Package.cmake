# Debian packages, one per install component (cmake/Install.cmake):
#   libfwcommon0     the shared library with its schema and dictionaries
#   libfwcommon-dev  headers and CMake package; depends on the -dev packages
#                    its headers and package config need
#   fwpolicy         the tool, its man page and bash completion
# Build them with scripts/package (a /usr prefix, then cpack -G DEB).
set(CPACK_PACKAGE_NAME fwcommon)
set(CPACK_PACKAGE_VENDOR "The fwcommon authors")
set(CPACK_PACKAGE_CONTACT "The fwcommon authors <fwcommon@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL library development tool)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The tool's run path points at the library's own directory; dpkg-shlibdeps
# must find the library there inside the package tree too.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS
    ${CMAKE_BINARY_DIR}/src ${CMAKE_BINARY_DIR})

set(_fwcommon_library_package libfwcommon${PROJECT_VERSION_MAJOR})
set(_fwcommon_exact_library "${_fwcommon_library_package} (= ${PROJECT_VERSION})")

set(CPACK_DEBIAN_LIBRARY_PACKAGE_NAME ${_fwcommon_library_package})
set(CPACK_DEBIAN_LIBRARY_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_LIBRARY_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_COMPONENT_LIBRARY_DESCRIPTION
    "Firewall policy library of a VPN network node\n"
    "Holds and edits firewall policy documents (XML of rules.xsd): rules, named\n"
    "objects, commit and rollback, strict comparison, merge and lint.")

set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME libfwcommon-dev)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
# fwcommon/rules.hxx includes the XSD runtime headers (package xsdcxx);
# the CMake package looks for Xerces-C and the Boost components it links.
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_DEPENDS
    "${_fwcommon_exact_library}, xsdcxx, libxerces-c-dev (>= 3.2), libboost-dev (>= 1.74), libboost-thread-dev (>= 1.74), libboost-date-time-dev (>= 1.74), libboost-locale-dev (>= 1.74)")
set(CPACK_COMPONENT_DEVELOPMENT_DESCRIPTION
    "Firewall policy library of a VPN network node - development files\n"
    "Headers, the generated document classes and the CMake package\n"
    "(find_package(fwcommon) gives fwcommon::fwcommon).")

set(CPACK_DEBIAN_TOOL_PACKAGE_NAME fwpolicy)
set(CPACK_DEBIAN_TOOL_PACKAGE_SECTION net)
set(CPACK_DEBIAN_TOOL_PACKAGE_DEPENDS "${_fwcommon_exact_library}")
set(CPACK_COMPONENT_TOOL_DESCRIPTION
    "Check, show, edit, merge and query firewall policy files\n"
    "The administrators' command-line tool of the fwcommon library.")

include(CPack)
