# 32-bit Windows DLL with mingw-w64. Built and checked on the host (export
# table, file format); its programs are not run here.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(MORVANE_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
