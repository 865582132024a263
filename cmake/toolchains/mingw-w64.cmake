# Shared part of the two Windows toolchains; the including file sets
# MORVANE_MINGW_TRIPLE and CMAKE_SYSTEM_PROCESSOR first.
#
# The posix thread model of the cross compiler is used: GoogleTest needs
# std::mutex, which the win32 model of GCC 12 lacks. Every program and DLL is
# linked with -static, so the GCC runtime, libstdc++ and winpthreads are
# inside it: morvane.dll and the test programs need only system DLLs beside
# them.
set(CMAKE_SYSTEM_NAME Windows)

foreach(lang C CXX)
  if(lang STREQUAL "C")
    set(driver gcc)
  else()
    set(driver g++)
  endif()
  find_program(MORVANE_${lang}_COMPILER
    NAMES ${MORVANE_MINGW_TRIPLE}-${driver}-posix
    REQUIRED)
  set(CMAKE_${lang}_COMPILER ${MORVANE_${lang}_COMPILER})
endforeach()
find_program(CMAKE_RC_COMPILER ${MORVANE_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${MORVANE_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
set(CMAKE_SHARED_LINKER_FLAGS_INIT -static)
set(CMAKE_MODULE_LINKER_FLAGS_INIT -static)
