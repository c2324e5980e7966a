# Builds and runs a small consumer against an installed library, once per
# kind of library installed (KINDS: shared, static or both), each twice:
# through find_package and through pkg-config (`--static` and a static link
# for the static kind).
#
# From ctest: -DBUILD_DIR (installed first into WORK_DIR/prefix), -DWORK_DIR,
# -DCONSUMER_DIR, -DCXX, -DCONFIG, -DKINDS. Against a tree installed
# elsewhere (tools/ci/packages: the unpacked Debian packages): -DPREFIX
# instead of -DBUILD_DIR.
include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/ZuRunCommand.cmake)

file(REMOVE_RECURSE "${WORK_DIR}")
if(NOT PREFIX)
    set(PREFIX "${WORK_DIR}/prefix")
    if(CONFIG)
        zu_run_command(${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${PREFIX}" --config "${CONFIG}")
    else()
        zu_run_command(${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${PREFIX}")
    endif()
endif()

find_program(PKG_CONFIG pkg-config)
if(NOT PKG_CONFIG)
    message(FATAL_ERROR "pkg-config not found")
endif()
file(GLOB_RECURSE pc_files "${PREFIX}/*/zu_complex.pc")
list(GET pc_files 0 pc_file)
get_filename_component(pc_dir "${pc_file}" DIRECTORY)
set(ENV{PKG_CONFIG_PATH} "${pc_dir}")

foreach(kind IN LISTS KINDS)
    # 1. CMake: find_package(zu_complex CONFIG COMPONENTS <kind>).
    set(dir "${WORK_DIR}/cmake-${kind}")
    zu_run_command(${CMAKE_COMMAND} -S "${CONSUMER_DIR}" -B "${dir}" -DZU_KIND=${kind}
        -DCMAKE_PREFIX_PATH=${PREFIX} -DCMAKE_CXX_COMPILER=${CXX})
    zu_run_command(${CMAKE_COMMAND} --build "${dir}")
    zu_run_command("${dir}/consumer")

    # 2. pkg-config: the shared library found at run time through an rpath;
    # the static one in a fully static program, which needs every library
    # that `pkg-config --static` names.
    if(kind STREQUAL "static")
        set(pc_args --static --cflags --libs zu_complex)
        set(link_args -static)
    else()
        set(pc_args --cflags --libs zu_complex)
        execute_process(COMMAND ${PKG_CONFIG} --variable=libdir zu_complex
            OUTPUT_VARIABLE pc_libdir OUTPUT_STRIP_TRAILING_WHITESPACE)
        set(link_args "-Wl,-rpath,${pc_libdir}")
    endif()
    execute_process(COMMAND ${PKG_CONFIG} ${pc_args}
        OUTPUT_VARIABLE pc_flags OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "pkg-config ${pc_args} failed")
    endif()
    message(STATUS "pkg-config ${pc_args}: ${pc_flags}")
    separate_arguments(pc_flags UNIX_COMMAND "${pc_flags}")
    zu_run_command(${CXX} -std=c++17 "${CONSUMER_DIR}/main.cpp" -o "${WORK_DIR}/pc-${kind}" ${pc_flags} ${link_args})
    zu_run_command("${WORK_DIR}/pc-${kind}")
endforeach()
