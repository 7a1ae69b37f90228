# What both MinGW-w64 toolchains share; each toolchain file sets
# CMAKE_SYSTEM_PROCESSOR and QM_MINGW_PREFIX, then includes this file.
#
# The POSIX thread model variant of the compiler is used, whose standard
# library has std::mutex. Libraries that Debian has no MinGW build of
# (SQLite, GoogleTest) are built by scripts/build-windows.sh and given by
# their paths (SQLite3_INCLUDE_DIR, SQLite3_LIBRARY, GTest_DIR); the
# headers of CLI11 and nlohmann-json, the same on every platform, are the
# host's, through QM_HOST_HEADER_ROOT.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${QM_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QM_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${QM_MINGW_PREFIX}-windres)

# The compiler may keep 32-byte vectors in stack slots that it cannot align
# on Windows, with moves that need the alignment: the assembler makes every
# such move one that does not.
string(APPEND CMAKE_C_FLAGS_INIT " -Wa,-muse-unaligned-vector-move")
string(APPEND CMAKE_CXX_FLAGS_INIT " -Wa,-muse-unaligned-vector-move")

set(CMAKE_FIND_ROOT_PATH /usr/${QM_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
