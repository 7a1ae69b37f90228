# 32-bit Windows, the shipping build (see mingw-common.cmake):
#
#   scripts/build-windows.sh   (builds the libraries it needs, then this)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(QM_MINGW_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
