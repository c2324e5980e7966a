# Compiler settings every target of the project shares.
#
# Bit-exact results depend on each operation being rounded to double exactly
# where the source says so: no fused multiply-add (-ffp-contract=off), no
# excess precision (SSE2 arithmetic, never x87), and never fast-math, which would drop the NaN, infinity
# and signed-zero behaviour the library defines.
include(GNUInstallDirs)

foreach(flags_var CMAKE_CXX_FLAGS CMAKE_CXX_FLAGS_RELEASE CMAKE_CXX_FLAGS_RELWITHDEBINFO CMAKE_CXX_FLAGS_DEBUG)
    if("${${flags_var}}" MATCHES "-ffast-math|-Ofast|-ffinite-math-only|-funsafe-math-optimizations")
        message(FATAL_ERROR "${flags_var} contains '${CMAKE_MATCH_0}': libzu_complex must not be built with fast-math")
    endif()
endforeach()

if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    add_compile_options(-ffp-contract=off -fno-fast-math)
endif()

set(ZU_COMPLEX_WARNINGS
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wundef -Wcast-qual)

# Warnings (and, when asked for, warnings as errors) for one of our targets.
function(zu_complex_target_flags target)
    if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
        target_compile_options(${target} PRIVATE ${ZU_COMPLEX_WARNINGS})
        if(ZU_COMPLEX_WERROR)
            target_compile_options(${target} PRIVATE -Werror)
        endif()
    endif()
endfunction()
