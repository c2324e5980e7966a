# Linux on 64-bit Arm, with Debian's cross toolchain
# (crossbuild-essential-arm64); programs run under qemu-aarch64 (qemu-user).
#
#   cmake -S . -B build/aarch64 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/aarch64-linux-gnu.cmake
#
# aarch64 has a fused multiply-add instruction that the compiler would use
# for a*b + c by default in GNU modes; the project's -ffp-contract=off keeps
# every product rounded on its own, as on x86.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)

set(ZU_TARGET_TRIPLE aarch64-linux-gnu)
set(CMAKE_C_COMPILER ${ZU_TARGET_TRIPLE}-gcc)
set(CMAKE_CXX_COMPILER ${ZU_TARGET_TRIPLE}-g++)

include(${CMAKE_CURRENT_LIST_DIR}/debian-cross.cmake)

if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
    zu_cross_emulator(qemu-aarch64)
endif()
