# Debian packages, one per install component:
#   runtime      -> libplinth0      the shared library
#   development  -> libplinth-dev   headers, CMake package, pkg-config file
#   tools        -> plinth-rc       the command-line tools, once something installs them
# `cmake --build <dir> --target package` writes them into <dir>.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME plinth)
set(CPACK_PACKAGE_VENDOR "plinth developers")
set(CPACK_PACKAGE_CONTACT "plinth developers <plinth@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/packages)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION libdevel)
# Component dependencies become "<package> (= <version>)".
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
# A shlibs file (and the ldconfig trigger) so that packages built against the library get
# their dependency on it from dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")

set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME libplinth${PROJECT_VERSION_MAJOR})
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SHLIBDEPS ON)
set(CPACK_COMPONENT_RUNTIME_DESCRIPTION "${PROJECT_DESCRIPTION} (shared library)")

# No static archive is built and the headers include no third-party header, so a consumer
# needs nothing beyond the library itself.
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME libplinth-dev)
set(CPACK_COMPONENT_DEVELOPMENT_DESCRIPTION
  "${PROJECT_DESCRIPTION} (headers, CMake package, pkg-config file)")
set(CPACK_COMPONENT_DEVELOPMENT_DEPENDS runtime)

set(CPACK_DEBIAN_TOOLS_PACKAGE_NAME plinth-rc)
set(CPACK_DEBIAN_TOOLS_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_TOOLS_PACKAGE_SHLIBDEPS ON)
set(CPACK_COMPONENT_TOOLS_DESCRIPTION "${PROJECT_DESCRIPTION} (command-line tools)")
set(CPACK_COMPONENT_TOOLS_DEPENDS runtime)
# The tools link the library that is being packaged beside them, not an installed one.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${PROJECT_BINARY_DIR})

# Packaged components are those that exist once every folder has added its install rules, so
# CPack is included at the end of the top directory.
macro(plinth_include_cpack)
  get_cmake_property(plinth_components COMPONENTS)
  set(CPACK_COMPONENTS_ALL)
  foreach(component IN ITEMS runtime development tools)
    if(component IN_LIST plinth_components)
      list(APPEND CPACK_COMPONENTS_ALL ${component})
    endif()
  endforeach()
  list(REMOVE_ITEM plinth_components ${CPACK_COMPONENTS_ALL})
  if(plinth_components)
    message(WARNING "Install components left out of the packages: ${plinth_components}")
  endif()
  include(CPack)
endmacro()
cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR} CALL plinth_include_cpack)
