# zu_run_command(<command> [args...]) for CMake scripts (cmake -P, CPack
# scripts): runs the command, shows what it printed, and stops the script
# with the command line and its output when it fails.
function(zu_run_command)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(NOT rc EQUAL 0)
        string(REPLACE ";" " " cmd "${ARGN}")
        message(FATAL_ERROR "failed (${rc}): ${cmd}\n${out}\n${err}")
    endif()
    if(out OR err)
        message(STATUS "${out}${err}")
    endif()
endfunction()
