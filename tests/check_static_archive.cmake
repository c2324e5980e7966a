# The static library's symbols. A static archive exports nothing: the linker
# takes from it the members a program needs, and every global symbol of a
# member it takes is the program's (hidden visibility does not keep it out of
# the link). So the archive must
#   - define every documented symbol;
#   - define no other strong global symbol outside the library's own names
#     (namespace zu, or a name beginning with zu_), which could collide with
#     the program's, as a global `round` would replace the C library's;
#   - keep the library's DComplex_error alone in its member: a program with
#     its own hook never pulls that member in, so nothing else may live there.
# Run as: cmake -DLIBRARY=<archive> -DEXPECTED=<exported_symbols.txt> -DNM=... -P <this file>
cmake_policy(SET CMP0057 NEW)
if(NOT NM)
    set(NM nm)
endif()
execute_process(COMMAND ${NM} -C --defined-only -g ${LIBRARY}
    OUTPUT_VARIABLE nm_out RESULT_VARIABLE nm_rc)
if(NOT nm_rc EQUAL 0)
    message(FATAL_ERROR "${NM} failed on ${LIBRARY}")
endif()
file(STRINGS ${EXPECTED} expected REGEX "^[^#]")

set(hook "DComplex_error(c_exception&)")
set(member "")
set(defined "")
set(foreign "")
set(hook_member "")
string(REPLACE "\n" ";" nm_lines "${nm_out}")
foreach(line IN LISTS nm_lines)
    if(line MATCHES "^(.+):$")
        set(member "${CMAKE_MATCH_1}")
        set(member_symbols_${member} "")
    elseif(line MATCHES "^[0-9a-fA-F]* *([A-Za-z]) (.+)$")
        set(kind "${CMAKE_MATCH_1}")
        set(sym "${CMAKE_MATCH_2}")
        list(APPEND defined "${sym}")
        list(APPEND member_symbols_${member} "${sym}")
        if(sym STREQUAL hook)
            set(hook_member "${member}")
        endif()
        # Weak (W, V) and unique (u) symbols are inline functions and
        # template instances, merged with the program's identical ones, as
        # are MinGW's .refptr.* pointers to external data.
        if(kind MATCHES "^[TDBRC]$" AND NOT sym IN_LIST expected AND NOT sym MATCHES "^(zu::|zu_|\\.refptr\\.)")
            list(APPEND foreign "${member}: ${sym}")
        endif()
    endif()
endforeach()

set(missing ${expected})
list(REMOVE_ITEM missing ${defined})
set(problems "")
if(missing)
    string(REPLACE ";" "\n    " text "${missing}")
    string(APPEND problems "documented but not defined:\n    ${text}\n")
endif()
if(foreign)
    string(REPLACE ";" "\n    " text "${foreign}")
    string(APPEND problems "global symbols outside the library's names:\n    ${text}\n")
endif()
if(hook_member)
    set(others ${member_symbols_${hook_member}})
    list(REMOVE_ITEM others "${hook}")
    if(others)
        string(REPLACE ";" "\n    " text "${others}")
        string(APPEND problems "${hook_member} defines more than the error hook:\n    ${text}\n")
    endif()
endif()
if(problems)
    message(FATAL_ERROR "${LIBRARY}:\n${problems}")
endif()
list(LENGTH expected n)
message(STATUS "${n} documented symbols defined; the error hook alone in ${hook_member}")
