# Compares the dynamic symbol table of the built library with the list of
# documented symbols: nothing undocumented leaks, nothing documented is
# missing. Run as: cmake -DLIBRARY=... -DEXPECTED=... -DNM=... -P <this file>
if(NOT NM)
    set(NM nm)
endif()
execute_process(COMMAND ${NM} -D --defined-only -C ${LIBRARY}
    OUTPUT_VARIABLE nm_out RESULT_VARIABLE nm_rc)
if(NOT nm_rc EQUAL 0)
    message(FATAL_ERROR "${NM} failed on ${LIBRARY}")
endif()

string(REPLACE "\n" ";" nm_lines "${nm_out}")
set(actual "")
foreach(line IN LISTS nm_lines)
    if(line MATCHES "^[0-9a-fA-F]+ [A-Za-z] (.+)$")
        # Symbol versions (name@VERSION) are not part of the comparison.
        string(REGEX REPLACE "@.*$" "" sym "${CMAKE_MATCH_1}")
        list(APPEND actual "${sym}")
    endif()
endforeach()

include(${CMAKE_CURRENT_LIST_DIR}/compare_symbol_lists.cmake)
zu_compare_symbol_lists("${actual}" ${EXPECTED})
