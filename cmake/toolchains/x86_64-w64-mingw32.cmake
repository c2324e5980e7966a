# 64-bit Windows (a DLL and its test programs), with Debian's MinGW-w64 cross
# compiler (g++-mingw-w64-x86-64-posix).
#
#   cmake -S . -B build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/x86_64-w64-mingw32.cmake [-DZU_WINE=/usr/lib/wine/wine64]
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(ZU_TARGET_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
