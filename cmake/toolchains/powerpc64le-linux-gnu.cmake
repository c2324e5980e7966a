# Linux on 64-bit POWER, little-endian (ppc64el), with Debian's cross
# toolchain (crossbuild-essential-ppc64el); programs run under qemu-ppc64le
# (qemu-user).
#
#   cmake -S . -B build/ppc64el -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/powerpc64le-linux-gnu.cmake
#
# POWER has fused multiply-add instructions (fmadd, xsmaddadp) that GCC uses
# for a*b + c by default; the project's -ffp-contract=off keeps every product
# rounded on its own. Its long double is the IBM double-double format, which
# the library never uses.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR ppc64le)

set(ZU_TARGET_TRIPLE powerpc64le-linux-gnu)
set(CMAKE_C_COMPILER ${ZU_TARGET_TRIPLE}-gcc)
set(CMAKE_CXX_COMPILER ${ZU_TARGET_TRIPLE}-g++)

include(${CMAKE_CURRENT_LIST_DIR}/debian-cross.cmake)

if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
    zu_cross_emulator(qemu-ppc64le)
endif()
