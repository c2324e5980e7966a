# Shared part of the Windows toolchain files: Debian's MinGW-w64 cross
# compilers in their POSIX-threads variant (std::thread needs it), the
# compiler's runtime DLLs located for Wine, and Wine as the emulator when it
# runs programs of this architecture.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${ZU_TARGET_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZU_TARGET_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${ZU_TARGET_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ZU_TARGET_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Windows finds a program's DLLs next to it: the library and every program go
# to one directory (not for CMake's own check projects).
get_property(zu_in_try_compile GLOBAL PROPERTY IN_TRY_COMPILE)
if(NOT zu_in_try_compile)
    set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
endif()

# Wine runs the tests when ZU_WINE names a Wine loader for this architecture
# (wine for 32-bit programs, wine64 for 64-bit ones); the runtime DLLs
# (libstdc++, libgcc, winpthread) are found through WINEPATH.
set(ZU_WINE "" CACHE FILEPATH "Wine loader that runs this target's programs; empty: build only")
if(ZU_WINE AND NOT CMAKE_CROSSCOMPILING_EMULATOR)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libstdc++-6.dll
        OUTPUT_VARIABLE zu_libstdcxx OUTPUT_STRIP_TRAILING_WHITESPACE)
    get_filename_component(zu_runtime_dir "${zu_libstdcxx}" DIRECTORY)
    set(CMAKE_CROSSCOMPILING_EMULATOR
        "${CMAKE_CURRENT_LIST_DIR}/wine-run;${ZU_WINE};${zu_runtime_dir}:/usr/${ZU_TARGET_TRIPLE}/lib")
endif()
