# Shared part of the Linux cross toolchain files: Debian installs each target's
# C library and headers under /usr/<triple>, which becomes the only place
# libraries, headers and packages are looked up in (programs still come from
# the host).
set(CMAKE_FIND_ROOT_PATH /usr/${ZU_TARGET_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# zu_cross_emulator(<qemu>): run the target's programs (tests, and GoogleTest's
# test discovery) under qemu-user with the target's C library, when qemu is
# installed. LD_LIBRARY_PATH keeps the target's dynamic loader on the cross C
# library: with the same architecture also installed through multiarch
# (libc6:i386, which Wine brings) the host's /etc/ld.so.cache would hand it
# another build of libc, and the two do not work together (threads hang).
macro(zu_cross_emulator qemu)
    find_program(ZU_QEMU_${qemu} ${qemu})
    if(ZU_QEMU_${qemu})
        set(CMAKE_CROSSCOMPILING_EMULATOR
            "${ZU_QEMU_${qemu}};-L;/usr/${ZU_TARGET_TRIPLE};-E;LD_LIBRARY_PATH=/usr/${ZU_TARGET_TRIPLE}/lib")
    endif()
endmacro()
