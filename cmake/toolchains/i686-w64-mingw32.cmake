# 32-bit Windows (a DLL and its test programs), with Debian's MinGW-w64 cross
# compiler (g++-mingw-w64-i686-posix).
#
#   cmake -S . -B build/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/i686-w64-mingw32.cmake [-DZU_WINE=/usr/bin/wine]
#
# SSE2 arithmetic, as on 32-bit Linux: x87 would round twice.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(ZU_TARGET_TRIPLE i686-w64-mingw32)
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
