# Installation: the public headers, the shared library with its versioned
# name links, a CMake package (morvane::morvane) and a pkg-config file, all
# under the GNUInstallDirs locations, and the program morvane-leaks. Only the
# `morvane` target (with the usage requirements of its headers,
# morvane::headers) is exported; the object library it is built from, the
# static test archive and the leak log reader are not part of the package.
# Components: `runtime` is the shared library a program needs to run,
# `development` everything needed to build against it, and the tools that a
# developer runs on what the library writes.

include(CMakePackageConfigHelpers)

set(MORVANE_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/morvane
    CACHE STRING "Where morvaneConfig.cmake is installed, below the prefix")
mark_as_advanced(MORVANE_INSTALL_CMAKEDIR)

install(TARGETS morvane morvane_headers
  EXPORT morvaneTargets
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime
          NAMELINK_COMPONENT development
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT development
)

# morvane-leaks, which summarises a leak log by call site.
if(TARGET morvane-leaks)
  install(TARGETS morvane-leaks
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT development)
endif()

install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/morvane
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}
  COMPONENT development
  FILES_MATCHING PATTERN "*.h"
)

install(EXPORT morvaneTargets
  NAMESPACE morvane::
  DESTINATION ${MORVANE_INSTALL_CMAKEDIR}
  COMPONENT development
)

configure_package_config_file(
  ${CMAKE_CURRENT_LIST_DIR}/morvaneConfig.cmake.in
  ${PROJECT_BINARY_DIR}/morvaneConfig.cmake
  INSTALL_DESTINATION ${MORVANE_INSTALL_CMAKEDIR}
)
write_basic_package_version_file(
  ${PROJECT_BINARY_DIR}/morvaneConfigVersion.cmake
  VERSION ${PROJECT_VERSION}
  COMPATIBILITY SameMajorVersion
)
install(FILES
  ${PROJECT_BINARY_DIR}/morvaneConfig.cmake
  ${PROJECT_BINARY_DIR}/morvaneConfigVersion.cmake
  DESTINATION ${MORVANE_INSTALL_CMAKEDIR}
  COMPONENT development
)

# Two pkg-config files from one template. The relocatable one finds the
# prefix from its own location when the install directories are relative, so
# an installed tree can be moved (or installed with `cmake --install
# --prefix`) without editing it; every install and the .tar.gz carry it. The
# plain one names the prefix the build was configured for, as a distribution
# writes it (prefix=/usr, includedir=${prefix}/include); an install script
# takes it instead when MORVANE_PC_PLAIN_PATHS is set, as CPack sets it for
# the .deb packages (MorvaneCPackOptions.cmake).
set(MORVANE_PC_LIBS_PRIVATE "")
foreach(lib IN LISTS CMAKE_DL_LIBS)
  string(APPEND MORVANE_PC_LIBS_PRIVATE " -l${lib}")
endforeach()
if(IS_ABSOLUTE "${CMAKE_INSTALL_LIBDIR}")
  # A fixed library directory: the file's location says nothing.
  set(pc_relocatable_prefix "${CMAKE_INSTALL_PREFIX}")
  set(MORVANE_PC_LIBDIR_VALUE "${CMAKE_INSTALL_LIBDIR}")
else()
  file(RELATIVE_PATH pc_up "/root/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/root")
  string(REGEX REPLACE "/$" "" pc_up "${pc_up}")
  set(pc_relocatable_prefix "\${pcfiledir}/${pc_up}")
  set(MORVANE_PC_LIBDIR_VALUE "\${prefix}/${CMAKE_INSTALL_LIBDIR}")
endif()
if(IS_ABSOLUTE "${CMAKE_INSTALL_INCLUDEDIR}")
  set(MORVANE_PC_INCLUDEDIR_VALUE "${CMAKE_INSTALL_INCLUDEDIR}")
else()
  set(MORVANE_PC_INCLUDEDIR_VALUE "\${prefix}/${CMAKE_INSTALL_INCLUDEDIR}")
endif()
set(MORVANE_PC_PREFIX "${pc_relocatable_prefix}")
configure_file(${CMAKE_CURRENT_LIST_DIR}/morvane.pc.in
  ${PROJECT_BINARY_DIR}/pkgconfig/relocatable/morvane.pc @ONLY)
set(MORVANE_PC_PREFIX "${CMAKE_INSTALL_PREFIX}")
configure_file(${CMAKE_CURRENT_LIST_DIR}/morvane.pc.in
  ${PROJECT_BINARY_DIR}/pkgconfig/plain/morvane.pc @ONLY)
set(MORVANE_PC_DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
if(NOT IS_ABSOLUTE "${MORVANE_PC_DESTINATION}")
  string(PREPEND MORVANE_PC_DESTINATION "\${CMAKE_INSTALL_PREFIX}/")
endif()
string(CONFIGURE [[
  if(MORVANE_PC_PLAIN_PATHS)
    set(morvane_pc "@PROJECT_BINARY_DIR@/pkgconfig/plain/morvane.pc")
  else()
    set(morvane_pc "@PROJECT_BINARY_DIR@/pkgconfig/relocatable/morvane.pc")
  endif()
  file(INSTALL DESTINATION "@MORVANE_PC_DESTINATION@" TYPE FILE
       FILES "${morvane_pc}")
]] morvane_pc_install @ONLY)
install(CODE "${morvane_pc_install}" COMPONENT development)
