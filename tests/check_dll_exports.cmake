# The Windows form of check_exported_symbols.cmake: compares the DLL's export
# table (objdump -p), demangled with the toolchain's c++filt, with the list of
# documented symbols. Run as: cmake -DLIBRARY=... -DEXPECTED=... -DOBJDUMP=... -P <this file>
string(REGEX REPLACE "objdump$" "c++filt" CXXFILT "${OBJDUMP}")
execute_process(COMMAND ${OBJDUMP} -p ${LIBRARY} OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${OBJDUMP} -p failed on ${LIBRARY}")
endif()

# The names are the lines "[ n] name" after "[Ordinal/Name Pointer] Table",
# up to the next empty line.
string(FIND "${dump}" "[Ordinal/Name Pointer] Table" at)
if(at EQUAL -1)
    message(FATAL_ERROR "no export table in ${LIBRARY}")
endif()
string(SUBSTRING "${dump}" ${at} -1 table)
string(FIND "${table}" "\n\n" end)
string(SUBSTRING "${table}" 0 ${end} table)
string(REPLACE "\n" ";" lines "${table}")
set(mangled_text "")
foreach(line IN LISTS lines)
    if(line MATCHES "^[ \t]*[[][ 0-9]+[]][ \t]+([^ \t]+)$")
        string(APPEND mangled_text "${CMAKE_MATCH_1}\n")
    endif()
endforeach()

# c++filt leaves C names alone. The export table has the names as the
# compiler mangled them, without the leading underscore 32-bit Windows adds
# to symbols, so c++filt must not strip one; --no-verbose writes std::ostream
# as nm -C does.
get_filename_component(list_file "${LIBRARY}.exports" ABSOLUTE)
file(WRITE "${list_file}" "${mangled_text}")
execute_process(COMMAND ${CXXFILT} --no-strip-underscore --no-verbose INPUT_FILE "${list_file}" OUTPUT_VARIABLE demangled RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${CXXFILT} failed")
endif()
string(REGEX REPLACE "\n$" "" demangled "${demangled}")
string(REPLACE "\n" ";" actual "${demangled}")

include(${CMAKE_CURRENT_LIST_DIR}/compare_symbol_lists.cmake)
zu_compare_symbol_lists("${actual}" ${EXPECTED})
