# Cross-compiles the 32-bit Windows DLLs with MinGW-w64 (the POSIX thread
# model variant, whose standard library has std::mutex):
#
#   cmake -S . -B build/mingw-i686 -G Ninja \
#         -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release
#
# ICU and SQLite must be present for the target under CMAKE_FIND_ROOT_PATH
# (or given with ICU_ROOT and SQLite3_ROOT); tests and benchmarks are left
# out of a cross build. scripts/check-windows.sh compiles the sources for
# this target without them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(QM_MINGW_PREFIX i686-w64-mingw32)
set(CMAKE_C_COMPILER ${QM_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QM_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${QM_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${QM_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
