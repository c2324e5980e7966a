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

file(STRINGS ${EXPECTED} expected_lines)
set(expected "")
foreach(line IN LISTS expected_lines)
    if(NOT line MATCHES "^#" AND NOT line STREQUAL "")
        list(APPEND expected "${line}")
    endif()
endforeach()

list(SORT actual)
list(REMOVE_DUPLICATES actual)
list(SORT expected)
set(missing ${expected})
list(REMOVE_ITEM missing ${actual})
set(extra ${actual})
list(REMOVE_ITEM extra ${expected})

if(missing OR extra)
    string(REPLACE ";" "\n    " missing_text "${missing}")
    string(REPLACE ";" "\n    " extra_text "${extra}")
    message(FATAL_ERROR "exported symbols differ from ${EXPECTED}\n"
        "  documented but not exported:\n    ${missing_text}\n"
        "  exported but not documented:\n    ${extra_text}")
endif()
list(LENGTH actual n)
message(STATUS "${n} exported symbols, as documented")
