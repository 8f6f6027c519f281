# CMake's own preparation of a Debian package's control files, without the
# postinst and postrm that it writes to call ldconfig for a package with a
# library under /usr/lib: the library package activates libc's ldconfig
# trigger instead (cmake/debian/triggers), as Debian's policy asks, and no
# package has maintainer scripts of its own.
include(${CMAKE_ROOT}/Modules/Internal/CPack/CPackDeb.cmake)
set(GEN_CPACK_DEBIAN_GENERATE_POSTINST 0)
set(GEN_CPACK_DEBIAN_GENERATE_POSTRM 0)
