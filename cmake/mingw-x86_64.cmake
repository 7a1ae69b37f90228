# 64-bit Windows, the build whose tests run here under wine64 (see
# mingw-common.cmake):
#
#   scripts/build-windows.sh && scripts/test-windows.sh
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(QM_MINGW_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
