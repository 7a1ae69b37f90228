# 32-bit Windows, the shipping build (see mingw-common.cmake):
#
#   scripts/build-windows.sh   (builds the libraries it needs, then this)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(QM_MINGW_PREFIX i686-w64-mingw32)
# SSE2 is the baseline, as every processor the DLL meets has it. The
# application may call in with its stack aligned to four bytes only, as
# Win32 code keeps it: functions that need more realign it themselves.
set(CMAKE_C_FLAGS_INIT "-msse2 -mincoming-stack-boundary=2")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mincoming-stack-boundary=2")
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
