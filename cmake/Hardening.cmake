# Release builds (the Debian packages among them) get the hardening that
# Debian's dpkg-buildflags give: fortified libc calls where the compiler
# knows the buffer sizes, and relocations resolved at start-up into a
# read-only table. The -U first: a compiler that defines the macro itself
# would otherwise warn about its redefinition.
if(CMAKE_BUILD_TYPE STREQUAL "Release")
    add_compile_options(-U_FORTIFY_SOURCE -D_FORTIFY_SOURCE=2)
    add_link_options(LINKER:-z,relro LINKER:-z,now)
endif()
