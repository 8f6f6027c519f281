include(CMakePackageConfigHelpers)

install(TARGETS fwcommon EXPORT fwcommonTargets
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
        INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(DIRECTORY include/fwcommon DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(FILES ${FWCOMMON_GENERATED_HEADERS} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/fwcommon)
install(FILES schema/rules.xsd docs/query.schema.json DESTINATION ${CMAKE_INSTALL_DATADIR}/fwcommon)
install(DIRECTORY data/ DESTINATION ${CMAKE_INSTALL_DATADIR}/fwcommon
        FILES_MATCHING PATTERN "*.txt" PATTERN "*.dict")

set(FWCOMMON_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/fwcommon)
install(EXPORT fwcommonTargets NAMESPACE fwcommon:: DESTINATION ${FWCOMMON_CMAKE_DIR})
configure_package_config_file(cmake/fwcommonConfig.cmake.in
    ${CMAKE_CURRENT_BINARY_DIR}/fwcommonConfig.cmake
    INSTALL_DESTINATION ${FWCOMMON_CMAKE_DIR}
    PATH_VARS CMAKE_INSTALL_DATADIR)
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/fwcommonConfigVersion.cmake
    COMPATIBILITY SameMinorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/fwcommonConfig.cmake
              ${CMAKE_CURRENT_BINARY_DIR}/fwcommonConfigVersion.cmake
        DESTINATION ${FWCOMMON_CMAKE_DIR})
