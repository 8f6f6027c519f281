# Read by cpack before it builds each package (CPACK_PROJECT_CONFIG_FILE):
# the DEB generator then prepares each package's control files through
# Internal/CPack/CPackDeb.cmake beside this file.
list(PREPEND CMAKE_MODULE_PATH ${CMAKE_CURRENT_LIST_DIR})
