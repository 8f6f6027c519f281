include(CMakePackageConfigHelpers)

# Install components, one per Debian package (cmake/Package.cmake):
#   library      the shared library, its schema and dictionaries
#   development  headers, the unversioned link and the CMake package
#   tool         fwpolicy, its man page and bash and zsh completion
install(TARGETS fwcommon EXPORT fwcommonTargets
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
            COMPONENT library NAMELINK_COMPONENT development
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT development
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT library
        INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(DIRECTORY include/fwcommon DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}
        COMPONENT development)
install(FILES ${FWCOMMON_GENERATED_HEADERS} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/fwcommon
        COMPONENT development)
install(FILES schema/rules.xsd DESTINATION ${CMAKE_INSTALL_DATADIR}/fwcommon
        COMPONENT library)
install(DIRECTORY data/ DESTINATION ${CMAKE_INSTALL_DATADIR}/fwcommon COMPONENT library
        FILES_MATCHING PATTERN "*.txt" PATTERN "*.dict")

set(FWCOMMON_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/fwcommon)
install(EXPORT fwcommonTargets NAMESPACE fwcommon:: DESTINATION ${FWCOMMON_CMAKE_DIR}
        COMPONENT development)
configure_package_config_file(cmake/fwcommonConfig.cmake.in
    ${CMAKE_CURRENT_BINARY_DIR}/fwcommonConfig.cmake
    INSTALL_DESTINATION ${FWCOMMON_CMAKE_DIR}
    PATH_VARS CMAKE_INSTALL_DATADIR)
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/fwcommonConfigVersion.cmake
    COMPATIBILITY SameMinorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/fwcommonConfig.cmake
              ${CMAKE_CURRENT_BINARY_DIR}/fwcommonConfigVersion.cmake
        DESTINATION ${FWCOMMON_CMAKE_DIR} COMPONENT development)
