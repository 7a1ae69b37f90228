# 32-bit Linux (i386), built on an x86_64 Debian with the host's g++ and
# -m32 (g++-multilib) against Debian's i386 packages, which multiarch puts
# in /usr/lib/i386-linux-gnu beside the host's own. The shipping DLL is
# 32-bit; this build checks the same sources for 32-bit sizes and the 2 GB
# address space where the kernel may not run 32-bit code itself, so every
# program runs under qemu-i386 user-mode emulation, which finds the i386
# loader and libraries at their usual paths (-L /):
#
#   scripts/test-32bit.sh   (installs what it needs, builds, runs the suite)
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_LIBRARY_ARCHITECTURE i386-linux-gnu)

set(CMAKE_C_COMPILER gcc)
set(CMAKE_CXX_COMPILER g++)
# SSE2, the baseline of the shipping DLL too (mingw-i686.cmake).
set(CMAKE_C_FLAGS_INIT "-m32 -msse2")
set(CMAKE_CXX_FLAGS_INIT "-m32 -msse2")

find_program(QM_QEMU_I386 qemu-i386 REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${QM_QEMU_I386} -L /)
