# Compiler settings every target of the project shares.
#
# Bit-exact results depend on each operation being rounded to double exactly
# where the source says so: no fused multiply-add (-ffp-contract=off), no
# excess precision (SSE2 arithmetic, never x87), and never fast-math, which
# would drop the NaN, infinity and signed-zero behaviour the library defines.
include(GNUInstallDirs)

foreach(flags_var CMAKE_CXX_FLAGS CMAKE_CXX_FLAGS_RELEASE CMAKE_CXX_FLAGS_RELWITHDEBINFO CMAKE_CXX_FLAGS_DEBUG)
    if("${${flags_var}}" MATCHES "-ffast-math|-Ofast|-ffinite-math-only|-funsafe-math-optimizations")
        message(FATAL_ERROR "${flags_var} contains '${CMAKE_MATCH_0}': libzu_complex must not be built with fast-math")
    endif()
endforeach()

if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    add_compile_options(-ffp-contract=off -fno-fast-math)
endif()

# Every double operation must be rounded once, to double. 32-bit x86 compilers
# default to x87 arithmetic, which rounds each result to a 64-bit significand
# and again when the value is stored, so some results differ in the last bit;
# SSE2 arithmetic (-msse2 -mfpmath=sse, as cmake/toolchains/i686-*.cmake set)
# rounds once. Checked on the flags the project is configured with, on every
# configure (the answer is not cached, so fixed flags are seen at once).
include(CheckCXXSourceCompiles)
function(zu_complex_check_double_arithmetic)
    unset(ZU_COMPLEX_DOUBLE_ARITHMETIC CACHE)
    set(CMAKE_REQUIRED_QUIET ON)
    check_cxx_source_compiles([[
#if defined(__i386__) && !defined(__SSE2_MATH__)
#error "x87 arithmetic"
#endif
#if defined(_M_IX86) && (!defined(_M_IX86_FP) || _M_IX86_FP < 2)
#error "x87 arithmetic"
#endif
#if defined(__FLT_EVAL_METHOD__) && __FLT_EVAL_METHOD__ != 0
#error "excess precision"
#endif
int main() { return 0; }
]] ZU_COMPLEX_DOUBLE_ARITHMETIC)
    if(NOT ZU_COMPLEX_DOUBLE_ARITHMETIC)
        message(FATAL_ERROR "libzu_complex needs double arithmetic without excess precision: "
            "this target computes in x87 registers, which round twice and change results. "
            "Add -msse2 -mfpmath=sse to CMAKE_CXX_FLAGS (see cmake/toolchains/i686-linux-gnu.cmake).")
    endif()
endfunction()
zu_complex_check_double_arithmetic()

# The steps as written, in every rounding mode. The library leaves the
# caller's rounding mode alone, so each operation must be rounded in that
# mode at run time, as the source writes it, and the platform's real
# functions called in it, as the steps name them. Nothing may be decided at
# compile time on the assumption of rounding to nearest, nor a real function
# replaced by another:
#   -frounding-math            no folding of inexact constant expressions, no
#                              rewrites that hold only to nearest (x - 0.0 to
#                              x, -(a*b) to (-a)*b, ...). Clang then keeps
#                              every floating-point operation in the order
#                              and form written.
#   -fno-fp-int-builtin-inexact (GCC) floor and ceil stay calls to the
#                              platform's functions where no exact instruction
#                              exists (x86 without SSE4.1): GCC's inline
#                              expansion ends in 0.0 - 0.0, which is -0.0 when
#                              rounding downward, so floor(+0.0) came out -0.0.
#   -fno-builtin-sqrt -fno-builtin-sin -fno-builtin-cos (MinGW) GCC takes
#                              sqrt to be the correctly rounded instruction,
#                              and joins a cos and a sin of one argument into
#                              one sincos call. With glibc both hold, bits and
#                              errno, in every mode. MinGW's real functions are
#                              its own: its sqrt is not always correctly
#                              rounded (6.25^2 + 5^2 = 64.0625 has a square
#                              root one unit off), and its sincos is neither
#                              its cos nor its sin; so the calls stay calls.
# What they cost is measured in docs/PERFORMANCE.md ("Exact in every rounding
# mode"): nothing with GCC; with Clang a quarter of abs's time, a few per
# cent on other arithmetic-heavy functions.
# zu_complex_steps_as_written(<target> <PRIVATE|PUBLIC|INTERFACE>) puts them
# on a target: the library (all its sources, the portable real functions
# included), and every program that computes reference values under a
# changed rounding mode.
set(ZU_COMPLEX_STEPS_AS_WRITTEN_FLAGS)
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    list(APPEND ZU_COMPLEX_STEPS_AS_WRITTEN_FLAGS -frounding-math)
endif()
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    list(APPEND ZU_COMPLEX_STEPS_AS_WRITTEN_FLAGS -fno-fp-int-builtin-inexact)
endif()
if(MINGW)
    list(APPEND ZU_COMPLEX_STEPS_AS_WRITTEN_FLAGS -fno-builtin-sqrt -fno-builtin-sin -fno-builtin-cos)
endif()
function(zu_complex_steps_as_written target scope)
    target_compile_options(${target} ${scope} ${ZU_COMPLEX_STEPS_AS_WRITTEN_FLAGS})
endfunction()

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
