# Cross build for 64-bit Windows with mingw-w64: the same sources, proven under 64-bit Wine;
# nothing ships it.
set(MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
