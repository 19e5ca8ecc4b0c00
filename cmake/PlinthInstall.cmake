# Installs the library, its headers, a CMake package (Plinth::plinth) and a pkg-config file.
include(CMakePackageConfigHelpers)

set(PLINTH_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Plinth)

# Components: "runtime" is the shared library alone, "development" everything a consumer
# builds against (the packages split along them).
install(TARGETS plinth EXPORT PlinthTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_COMPONENT development
  FILE_SET HEADERS DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT development)
install(EXPORT PlinthTargets NAMESPACE Plinth:: DESTINATION ${PLINTH_CMAKE_DIR}
  COMPONENT development)

configure_package_config_file(cmake/PlinthConfig.cmake.in
  ${PROJECT_BINARY_DIR}/PlinthConfig.cmake INSTALL_DESTINATION ${PLINTH_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/PlinthConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/PlinthConfig.cmake ${PROJECT_BINARY_DIR}/PlinthConfigVersion.cmake
  cmake/PlinthResources.cmake
  DESTINATION ${PLINTH_CMAKE_DIR} COMPONENT development)

# The .pc file finds its prefix from its own place, so an installed tree can move.
file(RELATIVE_PATH PLINTH_PC_TO_PREFIX /${CMAKE_INSTALL_LIBDIR}/pkgconfig /)
configure_file(cmake/plinth.pc.in ${PROJECT_BINARY_DIR}/plinth.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/plinth.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig
  COMPONENT development)
