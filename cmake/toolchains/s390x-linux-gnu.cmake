# Linux on IBM Z (s390x), big-endian, with Debian's cross toolchain
# (crossbuild-essential-s390x); programs run under qemu-s390x (qemu-user).
#
#   cmake -S . -B build/s390x -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/s390x-linux-gnu.cmake
#
# The one big-endian target: doubles are stored most significant byte first,
# so code that looks at a double's bytes rather than its bit pattern gives
# other answers here. z/Architecture has a fused multiply-add instruction;
# the project's -ffp-contract=off keeps every product rounded on its own.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR s390x)

set(ZU_TARGET_TRIPLE s390x-linux-gnu)
set(CMAKE_C_COMPILER ${ZU_TARGET_TRIPLE}-gcc)
set(CMAKE_CXX_COMPILER ${ZU_TARGET_TRIPLE}-g++)

include(${CMAKE_CURRENT_LIST_DIR}/debian-cross.cmake)

if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
    zu_cross_emulator(qemu-s390x)
endif()
