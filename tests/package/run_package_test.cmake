# Installs the built library into a scratch prefix, then builds and runs a
# small consumer against it twice: through find_package and through
# pkg-config. Run by ctest with -DBUILD_DIR, -DWORK_DIR, -DCONSUMER_DIR,
# -DCXX and -DCONFIG.
function(run)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(NOT rc EQUAL 0)
        string(REPLACE ";" " " cmd "${ARGN}")
        message(FATAL_ERROR "failed (${rc}): ${cmd}\n${out}\n${err}")
    endif()
    message(STATUS "${out}")
endfunction()

set(prefix "${WORK_DIR}/prefix")
file(REMOVE_RECURSE "${WORK_DIR}")

if(CONFIG)
    run(${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${prefix}" --config "${CONFIG}")
else()
    run(${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${prefix}")
endif()

# 1. CMake: find_package(zu_complex CONFIG) and zu_complex::zu_complex.
run(${CMAKE_COMMAND} -S "${CONSUMER_DIR}" -B "${WORK_DIR}/cmake-consumer"
    -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_CXX_COMPILER=${CXX})
run(${CMAKE_COMMAND} --build "${WORK_DIR}/cmake-consumer")
run("${WORK_DIR}/cmake-consumer/consumer")

# 2. pkg-config.
find_program(PKG_CONFIG pkg-config)
if(NOT PKG_CONFIG)
    message(FATAL_ERROR "pkg-config not found")
endif()
file(GLOB_RECURSE pc_files "${prefix}/*/zu_complex.pc")
list(GET pc_files 0 pc_file)
get_filename_component(pc_dir "${pc_file}" DIRECTORY)
set(ENV{PKG_CONFIG_PATH} "${pc_dir}")
execute_process(COMMAND ${PKG_CONFIG} --cflags --libs zu_complex
    OUTPUT_VARIABLE pc_flags OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "pkg-config --cflags --libs zu_complex failed")
endif()
execute_process(COMMAND ${PKG_CONFIG} --variable=libdir zu_complex
    OUTPUT_VARIABLE pc_libdir OUTPUT_STRIP_TRAILING_WHITESPACE)
separate_arguments(pc_flags UNIX_COMMAND "${pc_flags}")
run(${CXX} -std=c++17 "${CONSUMER_DIR}/main.cpp" -o "${WORK_DIR}/pc-consumer" ${pc_flags} "-Wl,-rpath,${pc_libdir}")
run("${WORK_DIR}/pc-consumer")
