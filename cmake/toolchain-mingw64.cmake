# Cross build for 64-bit Windows (x86_64): the same tree, for hosts that run no 32-bit programs;
# run under 64-bit Wine.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TOOLCHAIN_PREFIX x86_64-w64-mingw32)
set(VELLORAN_TARGET win64)
set(VELLORAN_WINE_LOADER /usr/lib/wine/wine64)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw.cmake)
