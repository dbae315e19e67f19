# Cross build for 32-bit Windows with mingw-w64: the programs that ship.
set(MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
