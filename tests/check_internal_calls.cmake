# The library's calls to its own functions are bound inside it; only the
# error hook goes through the dynamic linker (so a program can take it over).
# Disassembles the library and fails if a call or jump through the PLT
# targets one of its own exported symbols other than DComplex_error.
# Run as: cmake -DLIBRARY=... -DEXPECTED=<exported_symbols.txt> -DOBJDUMP=... -P <this file>
cmake_policy(SET CMP0057 NEW)
execute_process(COMMAND ${OBJDUMP} -d -C --no-show-raw-insn ${LIBRARY}
    OUTPUT_VARIABLE asm RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${OBJDUMP} failed on ${LIBRARY}")
endif()

file(STRINGS ${EXPECTED} exported REGEX "^[^#]")
string(REGEX MATCHALL "<[^<>\n]+@plt>" plt_targets "${asm}")
list(REMOVE_DUPLICATES plt_targets)
set(names "")
foreach(target IN LISTS plt_targets)
    string(REGEX REPLACE "^<(.*)@plt>$" "\\1" name "${target}")
    list(APPEND names "${name}")
endforeach()

# Some disassemblers (llvm-objdump) print PLT entries mangled even with -C:
# demangle the names, one per line.
find_program(CXXFILT NAMES c++filt llvm-cxxfilt)
if(CXXFILT AND names)
    string(REPLACE ";" "\n" text "${names}")
    file(WRITE "${CMAKE_CURRENT_BINARY_DIR}/plt_names.txt" "${text}\n")
    execute_process(COMMAND ${CXXFILT} INPUT_FILE "${CMAKE_CURRENT_BINARY_DIR}/plt_names.txt"
        OUTPUT_VARIABLE demangled OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE rc)
    if(rc EQUAL 0)
        string(REPLACE "\n" ";" names "${demangled}")
    endif()
endif()

set(bad "")
set(hook_seen OFF)
foreach(name IN LISTS names)
    if(name STREQUAL "DComplex_error(c_exception&)")
        set(hook_seen ON)
    elseif(name IN_LIST exported)
        list(APPEND bad "${name}")
    endif()
endforeach()

if(bad)
    string(REPLACE ";" "\n    " bad_text "${bad}")
    message(FATAL_ERROR "internal calls through the PLT:\n    ${bad_text}")
endif()
if(NOT hook_seen)
    message(FATAL_ERROR "the error hook is no longer called through the PLT: programs could not take it over")
endif()
message(STATUS "internal calls bound locally; the hook stays interposable")
