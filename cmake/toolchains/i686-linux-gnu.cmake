# Linux on 32-bit x86, with Debian's cross toolchain (crossbuild-essential-i386).
#
#   cmake -S . -B build/i686 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/i686-linux-gnu.cmake
#
# Arithmetic runs on SSE2 (-msse2 -mfpmath=sse): x87 arithmetic rounds every
# result first to a 64-bit significand and again when it is stored as a
# double, which changes results, so the build refuses an i686 target without
# SSE2 math (cmake/ZuComplexFlags.cmake).
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(ZU_TARGET_TRIPLE i686-linux-gnu)
set(CMAKE_C_COMPILER ${ZU_TARGET_TRIPLE}-gcc)
set(CMAKE_CXX_COMPILER ${ZU_TARGET_TRIPLE}-g++)
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")

include(${CMAKE_CURRENT_LIST_DIR}/debian-cross.cmake)

# How the tests run: a 64-bit kernel built with 32-bit support starts i386
# programs itself; they are started through the cross C library's own loader,
# which needs no i386 packages installed on the host. A kernel without it
# cannot (the loader then fails with "Exec format error"): the programs run
# under qemu-i386 there.
if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
    set(zu_loader /usr/${ZU_TARGET_TRIPLE}/lib/ld-linux.so.2)
    execute_process(COMMAND ${zu_loader} --version RESULT_VARIABLE zu_native_rc OUTPUT_QUIET ERROR_QUIET)
    if(zu_native_rc EQUAL 0)
        set(CMAKE_CROSSCOMPILING_EMULATOR "${zu_loader};--library-path;/usr/${ZU_TARGET_TRIPLE}/lib")
    else()
        zu_cross_emulator(qemu-i386)
    endif()
endif()
