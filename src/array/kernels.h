// The array functions' kernels: one table of functions per instruction set,
// the plain loop (scalar.cpp) as the reference every other table must match
// bit for bit, and the per-element steps the vector kernels fall back to.
//
// Arrays hold n complex values as interleaved (re, im) doubles. A result may
// be the very storage of an operand: every kernel reads an element's operands
// before it writes that element's result, and never reads an element after
// writing its result.
#ifndef ZU_COMPLEX_SRC_ARRAY_KERNELS_H
#define ZU_COMPLEX_SRC_ARRAY_KERNELS_H

#include <cstddef>

// Which vector kernels this build compiles. x86 kernels carry their
// instruction set as a per-function target attribute, so the rest of the
// library stays baseline code. AVX2 and AVX-512 stay out of MinGW builds:
// its GCC does not align the stack for 32- and 64-byte spills on Windows.
#if defined(__GNUC__) && (defined(__x86_64__) || (defined(__i386__) && defined(__SSE2_MATH__)))
#  define ZU_ARRAY_SSE2 1
#  if !defined(_WIN32)
#    define ZU_ARRAY_AVX 1
#  endif
#endif
#if defined(__GNUC__) && defined(__aarch64__) && defined(__ARM_NEON)
#  define ZU_ARRAY_NEON 1
#endif
// Where the scalar steps' square root is a call to a C runtime whose sqrt is
// not always the correctly rounded one (MinGW's, in platform mode: see
// cmake/ZuComplexFlags.cmake), the lanes' square-root instruction would give
// other bits: abs then takes the scalar steps for every element.
#if defined(_WIN32) && !defined(ZU_COMPLEX_PORTABLE_REAL_MATH)
#  define ZU_ARRAY_ABS_BY_STEPS 1
#endif

namespace zu {
namespace detail {
namespace array {

// r[k] = a[k] op b[k]; for scale, b is one pair used for every k.
using Binary = void (*)(double* r, const double* a, const double* b, std::size_t n);
// r[k] = f(a[k]): a pair per element for conj, one double for abs and norm.
using Unary = void (*)(double* r, const double* a, std::size_t n);

struct Kernels {
    const char* name;  // the value of ZU_COMPLEX_ARRAY_TARGET that selects it
    Binary mul, div, add, sub, scale;
    Unary conj, abs, norm;
};

// The plain loop over the scalar steps; every platform has it.
extern const Kernels kScalar;
#if defined(ZU_ARRAY_SSE2)
extern const Kernels kSse2;
#endif
#if defined(ZU_ARRAY_AVX)
extern const Kernels kAvx2;
extern const Kernels kAvx512;
#endif
#if defined(ZU_ARRAY_NEON)
extern const Kernels kNeon;
#endif

// The table in use: chosen on the first call (dispatch.cpp).
const Kernels& kernels() noexcept;

// One element by the scalar steps (scalar.cpp, compiled for the baseline
// processor whatever the caller's instruction set): r = a op b on pairs, or
// r = f(a). r may be a or b.
void mul_one(double* r, const double* a, const double* b) noexcept;
void div_one(double* r, const double* a, const double* b) noexcept;
void add_one(double* r, const double* a, const double* b) noexcept;
void sub_one(double* r, const double* a, const double* b) noexcept;
void conj_one(double* r, const double* a) noexcept;
void abs_one(double* r, const double* a) noexcept;
void norm_one(double* r, const double* a) noexcept;

}  // namespace array
}  // namespace detail
}  // namespace zu

#endif  // ZU_COMPLEX_SRC_ARRAY_KERNELS_H
