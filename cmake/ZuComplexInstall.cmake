# Installs the header, the library with its SONAME links, a CMake package
# (zu_complex::zu_complex through find_package(zu_complex CONFIG)) and a
# pkg-config file.
include(CMakePackageConfigHelpers)

set(ZU_COMPLEX_CMAKE_DIR "${CMAKE_INSTALL_LIBDIR}/cmake/zu_complex")

install(TARGETS zu_complex
    EXPORT zu_complexTargets
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
    ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
    INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(FILES include/zu_complex.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})

install(EXPORT zu_complexTargets
    NAMESPACE zu_complex::
    DESTINATION ${ZU_COMPLEX_CMAKE_DIR})
configure_package_config_file(cmake/zu_complexConfig.cmake.in
    "${PROJECT_BINARY_DIR}/zu_complexConfig.cmake"
    INSTALL_DESTINATION ${ZU_COMPLEX_CMAKE_DIR})
write_basic_package_version_file("${PROJECT_BINARY_DIR}/zu_complexConfigVersion.cmake"
    COMPATIBILITY SameMajorVersion)
install(FILES
    "${PROJECT_BINARY_DIR}/zu_complexConfig.cmake"
    "${PROJECT_BINARY_DIR}/zu_complexConfigVersion.cmake"
    DESTINATION ${ZU_COMPLEX_CMAKE_DIR})

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
configure_file(cmake/zu_complex.pc.in "${PROJECT_BINARY_DIR}/zu_complex.pc" @ONLY)
install(FILES "${PROJECT_BINARY_DIR}/zu_complex.pc" DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
