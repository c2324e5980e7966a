# Installs the headers, the library (shared with its SONAME links, static,
# or both), a CMake package (zu_complex::zu_complex through
# find_package(zu_complex CONFIG)), a pkg-config file and the manual pages.
#
# Install components, one per Debian package (cmake/ZuComplexPackaging.cmake):
#   runtime      the shared library and its SONAME link
#   development  headers, the .so link, the static library, CMake package,
#                pkg-config file, libzu_complex(3)
#   zucalc       the calculator and zucalc(1)
include(CMakePackageConfigHelpers)

set(ZU_COMPLEX_CMAKE_DIR "${CMAKE_INSTALL_LIBDIR}/cmake/zu_complex")

# zu_complex_install_library(<target> shared|static): one export set per
# kind, each in its own file, so that both kinds can be installed side by side
# and the package configuration picks one.
function(zu_complex_install_library target kind)
    install(TARGETS ${target}
        EXPORT zu_complex_${kind}
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_COMPONENT development
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT development
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime
        INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
    install(EXPORT zu_complex_${kind}
        NAMESPACE zu_complex::
        FILE zu_complex-${kind}-targets.cmake
        DESTINATION ${ZU_COMPLEX_CMAKE_DIR}
        COMPONENT development)
endfunction()

if(ZU_COMPLEX_SHARED)
    zu_complex_install_library(zu_complex shared)
    if(TARGET zu_complex_static)
        zu_complex_install_library(zu_complex_static static)
    endif()
else()
    zu_complex_install_library(zu_complex static)
endif()

install(FILES include/zu_complex.h include/zu_complex_std.h
    DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}
    COMPONENT development)

configure_package_config_file(cmake/zu_complexConfig.cmake.in
    "${PROJECT_BINARY_DIR}/zu_complexConfig.cmake"
    INSTALL_DESTINATION ${ZU_COMPLEX_CMAKE_DIR})
write_basic_package_version_file("${PROJECT_BINARY_DIR}/zu_complexConfigVersion.cmake"
    COMPATIBILITY SameMajorVersion)
install(FILES
    "${PROJECT_BINARY_DIR}/zu_complexConfig.cmake"
    "${PROJECT_BINARY_DIR}/zu_complexConfigVersion.cmake"
    DESTINATION ${ZU_COMPLEX_CMAKE_DIR}
    COMPONENT development)

# The pkg-config file finds its prefix from its own location, so the
# installed tree can be moved (or installed with --prefix) as a whole.
file(RELATIVE_PATH ZU_COMPLEX_PC_UP "/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/")
string(REGEX REPLACE "/$" "" ZU_COMPLEX_PC_UP "${ZU_COMPLEX_PC_UP}")
if(IS_ABSOLUTE "${CMAKE_INSTALL_LIBDIR}")
    set(ZU_COMPLEX_PC_LIBDIR "${CMAKE_INSTALL_LIBDIR}")
else()
    set(ZU_COMPLEX_PC_LIBDIR "\${prefix}/${CMAKE_INSTALL_LIBDIR}")
endif()
if(IS_ABSOLUTE "${CMAKE_INSTALL_INCLUDEDIR}")
    set(ZU_COMPLEX_PC_INCLUDEDIR "${CMAKE_INSTALL_INCLUDEDIR}")
else()
    set(ZU_COMPLEX_PC_INCLUDEDIR "\${prefix}/${CMAKE_INSTALL_INCLUDEDIR}")
endif()
# What a static link needs besides the library: the math library, and
# ZU_COMPLEX_STATIC for the header. When only the static library is
# installed every user needs the macro; beside the shared one, only
# `pkg-config --static` users (Cflags.private).
if(ZU_COMPLEX_LIBM)
    set(ZU_COMPLEX_PC_LIBS_PRIVATE "Libs.private: -lm")
endif()
if(NOT ZU_COMPLEX_SHARED)
    set(ZU_COMPLEX_PC_CFLAGS " -DZU_COMPLEX_STATIC")
elseif(TARGET zu_complex_static)
    set(ZU_COMPLEX_PC_CFLAGS_PRIVATE "Cflags.private: -DZU_COMPLEX_STATIC")
endif()
configure_file(cmake/zu_complex.pc.in "${PROJECT_BINARY_DIR}/zu_complex.pc" @ONLY)
install(FILES "${PROJECT_BINARY_DIR}/zu_complex.pc"
    DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig
    COMPONENT development)

# Manual pages: libzu_complex(3) with the development files, zucalc(1) with
# the calculator; compressed in Debian packages (cmake/ZuComplexPackaging.cmake
# makes the .gz files).
if(ZU_COMPLEX_DEB)
    set(zu_man_dir "${PROJECT_BINARY_DIR}/deb")
    set(zu_man_suffix ".gz")
else()
    set(zu_man_dir "${PROJECT_SOURCE_DIR}/docs/man")
    set(zu_man_suffix "")
endif()
install(FILES "${zu_man_dir}/libzu_complex.3${zu_man_suffix}"
    DESTINATION ${CMAKE_INSTALL_MANDIR}/man3
    COMPONENT development)
if(ZU_COMPLEX_BUILD_TOOLS)
    install(FILES "${zu_man_dir}/zucalc.1${zu_man_suffix}"
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1
        COMPONENT zucalc)
endif()
