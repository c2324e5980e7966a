# zu_compare_symbol_lists(<actual list> <expected file>): fails unless the
# symbols a built library exports (demangled names) are exactly those listed
# in the file, naming what is missing and what is extra.
function(zu_compare_symbol_lists actual expected_file)
    file(STRINGS ${expected_file} expected REGEX "^[^#]")
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
        message(FATAL_ERROR "exported symbols differ from ${expected_file}\n"
            "  documented but not exported:\n    ${missing_text}\n"
            "  exported but not documented:\n    ${extra_text}")
    endif()
    list(LENGTH actual n)
    message(STATUS "${n} exported symbols, as documented")
endfunction()
