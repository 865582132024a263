# 64-bit Windows DLL with mingw-w64; test programs run under wine64 through
# wine-run.sh, with a wine prefix of their own inside the build tree and the
# library's directory on the Windows search path.
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(MORVANE_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)

find_program(MORVANE_WINE64 NAMES wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
find_program(MORVANE_WINE64 NAMES wine64)
if(MORVANE_WINE64)
  set(CMAKE_CROSSCOMPILING_EMULATOR
    /bin/sh ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh
    --wine ${MORVANE_WINE64}
    --prefix ${CMAKE_BINARY_DIR}/wineprefix
    --path ${CMAKE_BINARY_DIR}/src)
endif()
