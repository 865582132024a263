# Read by cpack for each generator (CPACK_PROJECT_CONFIG_FILE), when the
# packages are made rather than when the build is configured, so that a
# build that is only installed needs none of the packaging tools.
if(CPACK_GENERATOR STREQUAL "DEB")
  # Each .deb's description begins with a summary line of its own; CPack
  # would put the project's summary above it.
  unset(CPACK_PACKAGE_DESCRIPTION_SUMMARY)
  # Without dpkg-shlibdeps CPack quietly leaves the library's dependencies
  # out, and without `file` it cannot tell which files to give it.
  find_program(MORVANE_DPKG_SHLIBDEPS dpkg-shlibdeps)
  find_program(MORVANE_FILE file)
  if(NOT MORVANE_DPKG_SHLIBDEPS OR NOT MORVANE_FILE)
    message(FATAL_ERROR "The .deb packages need dpkg-shlibdeps and file: "
                        "apt-get install dpkg-dev file")
  endif()
  # As a distribution ships a library: the symbol table and any debug
  # information stripped (the dynamic symbols stay), and a morvane.pc that
  # names the system's folders plainly (MorvaneInstall.cmake).
  set(CPACK_STRIP_FILES ON)
  set(CPACK_CUSTOM_INSTALL_VARIABLES MORVANE_PC_PLAIN_PATHS=ON)
endif()
