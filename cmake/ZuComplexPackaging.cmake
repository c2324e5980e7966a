# Debian packages, built by CPack from the install components
# (cmake/ZuComplexInstall.cmake):
#   libzu-complex1      runtime: the shared library (named for its SONAME)
#   libzu-complex-dev   development: headers, the .so link, the static library,
#                       the CMake package, the pkg-config file, libzu_complex(3)
#   zucalc              zucalc: the calculator and zucalc(1)
# tools/packaging/build-debs configures, builds and packs them (README,
# "Debian packages"). With ZU_COMPLEX_DEB the install also holds what Debian
# asks of each package: /usr/share/doc/<package>/ with the copyright file and
# the compressed changelog, and compressed manual pages.

set(ZU_COMPLEX_DEB_RUNTIME "libzu-complex${PROJECT_VERSION_MAJOR}")
set(ZU_COMPLEX_DEB_DEV "libzu-complex-dev")
set(ZU_COMPLEX_DEB_ZUCALC "zucalc")
set(ZU_COMPLEX_DEB_CONTACT "libzu_complex maintainers <maintainers@users.noreply.c-seed-9899fc2f.example>"
    CACHE STRING "Maintainer of the Debian packages")

set(ZU_COMPLEX_DEB_DIR "${PROJECT_SOURCE_DIR}/packaging/debian")
if(NOT ZU_COMPLEX_SHARED)
    message(FATAL_ERROR "ZU_COMPLEX_DEB packs the shared library: configure with BUILD_SHARED_LIBS=ON "
        "(and ZU_COMPLEX_ALSO_BUILD_STATIC=ON for the static one)")
endif()
set(zu_deb_components runtime development)
if(ZU_COMPLEX_BUILD_TOOLS)
    list(APPEND zu_deb_components zucalc)
endif()

# The changelog's latest entry is this version: a new version needs its entry.
file(STRINGS "${ZU_COMPLEX_DEB_DIR}/changelog" zu_changelog_top LIMIT_COUNT 1)
if(NOT zu_changelog_top MATCHES "^zu-complex \\(${PROJECT_VERSION}\\) ")
    message(FATAL_ERROR "packaging/debian/changelog: the latest entry is '${zu_changelog_top}', "
        "not version ${PROJECT_VERSION}; add an entry for it")
endif()

# Compressed as Debian ships them: gzip -9n (no name, no time stamp, so the
# packages are reproducible).
find_program(ZU_COMPLEX_GZIP gzip)
if(NOT ZU_COMPLEX_GZIP)
    message(FATAL_ERROR "ZU_COMPLEX_DEB needs gzip")
endif()
set(zu_gz_files "")
function(zu_complex_gzip source output)
    add_custom_command(OUTPUT "${output}"
        COMMAND ${ZU_COMPLEX_GZIP} -9n -c "${source}" > "${output}"
        DEPENDS "${source}"
        VERBATIM)
    set(zu_gz_files ${zu_gz_files} "${output}" PARENT_SCOPE)
endfunction()

set(zu_deb_out "${PROJECT_BINARY_DIR}/deb")
file(MAKE_DIRECTORY "${zu_deb_out}")
zu_complex_gzip("${ZU_COMPLEX_DEB_DIR}/changelog" "${zu_deb_out}/changelog.gz")
foreach(page zucalc.1 libzu_complex.3)
    zu_complex_gzip("${PROJECT_SOURCE_DIR}/docs/man/${page}" "${zu_deb_out}/${page}.gz")
endforeach()
add_custom_target(zu_complex_deb_files ALL DEPENDS ${zu_gz_files})

foreach(component IN LISTS zu_deb_components)
    if(component STREQUAL "runtime")
        set(package ${ZU_COMPLEX_DEB_RUNTIME})
    elseif(component STREQUAL "development")
        set(package ${ZU_COMPLEX_DEB_DEV})
    else()
        set(package ${ZU_COMPLEX_DEB_ZUCALC})
    endif()
    install(FILES "${ZU_COMPLEX_DEB_DIR}/copyright" "${zu_deb_out}/changelog.gz"
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${package}
        COMPONENT ${component})
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zu-complex)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${ZU_COMPLEX_DEB_CONTACT}")
set(CPACK_PACKAGING_INSTALL_PREFIX "${CMAKE_INSTALL_PREFIX}")
# Stripped as Debian strips, and the shared library's symbols file written,
# by packaging/debian/prepare.cmake once the files are staged.
set(CPACK_PRE_BUILD_SCRIPTS "${ZU_COMPLEX_DEB_DIR}/prepare.cmake")
set(CPACK_ZU_STRIP "${CMAKE_STRIP}")
set(CPACK_ZU_RUNTIME_PACKAGE ${ZU_COMPLEX_DEB_RUNTIME})
set(CPACK_ZU_SYMBOLS_TEMPLATE "${ZU_COMPLEX_DEB_DIR}/${ZU_COMPLEX_DEB_RUNTIME}.symbols")
set(CPACK_ZU_SYMBOLS_FILE "${zu_deb_out}/symbols")
# The one-line summary is each package's own (the first line of its
# description below).
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "")
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL ${zu_deb_components})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Library dependencies from dpkg-shlibdeps; zucalc's on this library is
# written out below, since libzu_complex.so.1 belongs to no installed package
# while the packages are built (its directory is searched so the tool
# finds the file).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS "${PROJECT_BINARY_DIR}")
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")

set(zu_about "libzu_complex is a C++17 library for double-precision complex arithmetic: the
value class DComplex and the functions a numerical program expects. Every
function decides, in a fixed order of tests, what it returns for NaN,
infinite, zero and signed-zero parts, bit for bit, and reports overflows and
poles through a matherr-style error hook and errno.")

set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME ${ZU_COMPLEX_DEB_RUNTIME})
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_RUNTIME_DESCRIPTION "complex arithmetic with exactly defined special values
${zu_about}
.
This package contains the shared library.")
# ldconfig runs through a trigger (build-debs takes the calls CPack adds to
# the maintainer scripts out again).
set(CPACK_DEBIAN_RUNTIME_PACKAGE_CONTROL_EXTRA "${ZU_COMPLEX_DEB_DIR}/triggers" "${CPACK_ZU_SYMBOLS_FILE}")

set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME ${ZU_COMPLEX_DEB_DEV})
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_DEPENDS "${ZU_COMPLEX_DEB_RUNTIME} (= ${PROJECT_VERSION})")
set(CPACK_DEBIAN_DEVELOPMENT_DESCRIPTION "complex arithmetic with exactly defined special values - development files
${zu_about}
.
This package contains the headers, the static library, the CMake package,
the pkg-config file and the manual page libzu_complex(3).")

set(CPACK_DEBIAN_ZUCALC_PACKAGE_NAME ${ZU_COMPLEX_DEB_ZUCALC})
set(CPACK_DEBIAN_ZUCALC_PACKAGE_SECTION math)
set(CPACK_DEBIAN_ZUCALC_PACKAGE_DEPENDS "${ZU_COMPLEX_DEB_RUNTIME} (>= ${PROJECT_VERSION})")
set(CPACK_DEBIAN_ZUCALC_DESCRIPTION "calculator showing libzu_complex's exact results and reports
zucalc evaluates complex expressions with libzu_complex and prints each
value, every overflow or singularity the library reported while computing
it, and errno, optionally with the bit pattern of every part.
.
${zu_about}")

include(CPack)
