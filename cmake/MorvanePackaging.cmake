# Packages, made by CPack from the install rules of MorvaneInstall.cmake
# (`cmake --workflow --preset package` makes them in build/package):
#   Linux    morvane-<version>-Linux.tar.gz, the whole install tree; on a
#            Debian system, on request, two .deb packages, one per component:
#            libmorvane<major> (runtime: the shared library) and
#            libmorvane-dev (development: the headers, the libmorvane.so link,
#            the CMake package, morvane.pc and the program morvane-leaks),
#            which depends on the runtime package of exactly the same
#            version.
#   Windows  morvane-<version>-win64.zip (win32 for x86), the install tree.
# The package preset asks for the .deb packages and configures for the
# prefix /usr, which gives the Debian layout (multiarch library directory).

set(CPACK_PACKAGE_NAME morvane)
set(CPACK_PACKAGE_VENDOR "morvane developers")
set(CPACK_PACKAGE_CONTACT "morvane developers <morvane@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_VERBATIM_VARIABLES ON)

if(WIN32)
  set(CPACK_GENERATOR ZIP)
else()
  set(CPACK_GENERATOR TGZ)
endif()

# The .deb packages, on request (MORVANE_PACKAGE_DEB), for the architecture
# of the build machine, with the package dependencies of the library found
# by dpkg-shlibdeps (from dpkg-dev), which CPack runs on the files that
# `file` recognises as ELF objects (MorvaneCPackOptions.cmake checks both).
if(MORVANE_PACKAGE_DEB AND CMAKE_SYSTEM_NAME STREQUAL "Linux")
  list(APPEND CPACK_GENERATOR DEB)
endif()
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/MorvaneCPackOptions.cmake)

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The runtime package announces the library (a shlibs file, and the ldconfig
# trigger) so that packages built against it depend on it in turn.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)

set(CPACK_COMPONENTS_ALL runtime development)
set(CPACK_COMPONENT_DEVELOPMENT_DEPENDS runtime)

# Each .deb has a description of its own, whose first line is its summary.
set(morvane_deb_about
"morvane is a small C++ class library: an allocation tracker with a leak
report, the byte string XString, the text buffer XStringBuf, the plug-in
loader XDllLoader and the 3D helpers of X3DMath.
")

set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME libmorvane${PROJECT_VERSION_MAJOR})
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_RUNTIME_DESCRIPTION
"shared library of the morvane C++ class library
${morvane_deb_about}
This package holds the shared library.")

set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME libmorvane-dev)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEVELOPMENT_DESCRIPTION
"development files of the morvane C++ class library
${morvane_deb_about}
This package holds the headers, the CMake package (find_package(morvane),
target morvane::morvane), the pkg-config file morvane.pc and morvane-leaks,
which summarises the tracker's leak log by call site.")

include(CPack)
