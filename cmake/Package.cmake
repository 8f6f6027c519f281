# Debian packages, one per install component (cmake/Install.cmake):
#   libfwcommon0     the shared library with its schema and dictionaries
#   libfwcommon-dev  headers and CMake package; depends on the -dev packages
#                    its headers and package config need
#   fwpolicy         the tool, its man page and bash and zsh completion
# Each ships its copyright and changelog.Debian.gz (cmake/DebianDocs.cmake).
# Build them with scripts/package (a /usr prefix, then cpack -G DEB).
set(CPACK_PACKAGE_NAME fwcommon)
set(CPACK_PACKAGE_VENDOR "The fwcommon authors")
set(CPACK_PACKAGE_CONTACT "The fwcommon authors <fwcommon@localhost>")
# No package-wide summary: CPack would put it before each package's own
# (below), so that all three would show the library's line in apt.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL library development tool)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The packaged tool and library carry no symbol tables (cmake --install --strip).
set(CPACK_STRIP_FILES ON)
# The shlibs file of the library package: programs built against it depend on
# libfwcommon0 (>= the version they were built with). CPack reads this
# setting for all packages alike; only the library's holds a shared object.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
# The library package refreshes the loader's cache through libc's ldconfig
# trigger, not ldconfig calls of its own (cmake/cpack/CPackProject.cmake).
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/cmake/cpack/CPackProject.cmake)
# All three come from one source, fwcommon. The Debian revision makes them
# packages of upstream's release, whose own changelog is changelog.Debian.gz.
set(CPACK_DEBIAN_PACKAGE_SOURCE fwcommon)
set(CPACK_DEBIAN_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
# The tool's run path points at the library's own directory; dpkg-shlibdeps
# must find the library there inside the package tree too.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS
    ${CMAKE_BINARY_DIR}/src ${CMAKE_BINARY_DIR})

# Each package's description is one string: its first line is the summary
# apt lists, the rest the long text (a CMake list would join lines with ';').
set(_fwcommon_library_package libfwcommon${PROJECT_VERSION_MAJOR})
set(_fwcommon_exact_library
    "${_fwcommon_library_package} (= ${CPACK_DEBIAN_PACKAGE_VERSION}-${CPACK_DEBIAN_PACKAGE_RELEASE})")

set(CPACK_DEBIAN_LIBRARY_PACKAGE_NAME ${_fwcommon_library_package})
set(CPACK_DEBIAN_LIBRARY_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_LIBRARY_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/cmake/debian/triggers)
install(FILES ${PROJECT_SOURCE_DIR}/cmake/debian/library.lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/lintian/overrides
        RENAME ${_fwcommon_library_package} COMPONENT library)
set(CPACK_DEBIAN_LIBRARY_DESCRIPTION "Firewall policy library of a VPN network node
Holds and edits firewall policy documents (XML of rules.xsd): rules, named
objects, commit and rollback, strict comparison, merge and lint.")

set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME libfwcommon-dev)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
# fwcommon/rules.hxx includes the XSD runtime headers (package xsdcxx);
# the CMake package looks for Xerces-C and the Boost components it links.
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_DEPENDS
    "${_fwcommon_exact_library}, xsdcxx, libxerces-c-dev (>= 3.2), libboost-dev (>= 1.74), libboost-thread-dev (>= 1.74), libboost-date-time-dev (>= 1.74), libboost-locale-dev (>= 1.74)")
set(CPACK_DEBIAN_DEVELOPMENT_DESCRIPTION "Firewall policy library of a VPN network node - development files
Headers, the generated document classes and the CMake package
(find_package(fwcommon) gives fwcommon::fwcommon).")

set(CPACK_DEBIAN_TOOL_PACKAGE_NAME fwpolicy)
set(CPACK_DEBIAN_TOOL_PACKAGE_SECTION net)
set(CPACK_DEBIAN_TOOL_PACKAGE_DEPENDS "${_fwcommon_exact_library}")
set(CPACK_DEBIAN_TOOL_DESCRIPTION "Check, show, edit, merge and query firewall policy files
fwpolicy, the administrators' tool of the fwcommon library: it checks, shows
and edits policy files, compares, merges and lints them, and answers whether
a flow is allowed.")

include(cmake/DebianDocs.cmake)
fwcommon_debian_docs(library ${CPACK_DEBIAN_LIBRARY_PACKAGE_NAME})
fwcommon_debian_docs(development ${CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME})
fwcommon_debian_docs(tool ${CPACK_DEBIAN_TOOL_PACKAGE_NAME})

include(CPack)
