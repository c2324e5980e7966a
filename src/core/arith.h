// The library's complex arithmetic as inline functions: the exported
// operators are defined with them, and the library's own hot paths (the
// tangents, the inverse functions, the powers) call them directly instead of
// going out of line for every product and quotient. One definition each, so
// the exported operator and the inline use are the same steps, bit for bit.
#ifndef ZU_COMPLEX_SRC_CORE_ARITH_H
#define ZU_COMPLEX_SRC_CORE_ARITH_H

#include "fp/internal.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace zu {
namespace detail {

// `condition ? if_true : if_false` on the bit patterns, so the compiler
// cannot turn a choice the data makes at random into a jump.
inline double select(bool condition, double if_true, double if_false) {
    std::uint64_t t, f;
    std::memcpy(&t, &if_true, sizeof t);
    std::memcpy(&f, &if_false, sizeof f);
    const std::uint64_t mask = 0 - static_cast<std::uint64_t>(condition);
    const std::uint64_t bits = (t & mask) | (f & ~mask);
    double result;
    std::memcpy(&result, &bits, sizeof result);
    return result;
}

// x < y ? y : x and x < y ? x : y, for x and y that are not NaN: a choice,
// made exactly and without a jump (SSE2's maximum and minimum take their
// second operand unless the first is greater or less).
inline double larger(double x, double y) {
#if defined(__SSE2__)
    return _mm_cvtsd_f64(_mm_max_sd(_mm_set_sd(y), _mm_set_sd(x)));
#else
    return select(x < y, y, x);
#endif
}
inline double smaller(double x, double y) {
#if defined(__SSE2__)
    return _mm_cvtsd_f64(_mm_min_sd(_mm_set_sd(x), _mm_set_sd(y)));
#else
    return select(x < y, x, y);
#endif
}

// a + b, a - b, the double-on-the-left difference x - z, and -z, as the
// exported operators.
inline DComplex add(const DComplex& a, const DComplex& b) { return DComplex(a.re + b.re, a.im + b.im); }
inline DComplex sub(const DComplex& a, const DComplex& b) { return DComplex(a.re - b.re, a.im - b.im); }
inline DComplex sub(double x, const DComplex& z) { return DComplex(x - z.re, -z.im); }
inline DComplex neg(const DComplex& z) { return DComplex(-z.re, -z.im); }

// a == b as the exported operator decides it: IEEE equality of both parts,
// so +0.0 equals -0.0 and a NaN part equals nothing.
inline bool equal(const DComplex& a, const DComplex& b) { return a.re == b.re && a.im == b.im; }

// a * b. The formula is picked by which parts are zero (-0.0 counts), so a
// purely real or imaginary operand multiplies without the NaN that 0 * inf
// makes in the four-product formula, and parts that are zero by construction
// come out as exact +0.0. The tests are made in this order, the first match
// deciding:
//   any NaN part                -> (NaN, NaN), before everything else
//   a zero                      -> (ar br, ar bi)
//   b zero                      -> (ar br, ai br)
//   a real, b real              -> (ar br, +0)
//   a imaginary, b imaginary    -> (-ai bi, +0)
//   a imaginary, b real         -> (+0, ai br)
//   a real, b imaginary         -> (+0, ar bi)
//   a real (b general)          -> (ar br, ar bi)
//   b real (a general)          -> (ar br, ai br)
//   a imaginary (b general)     -> (-ai bi, ai br)
//   b imaginary (a general)     -> (-ai bi, ar bi)
//   otherwise                   -> (ar br - ai bi, ar bi + ai br)
// -ai bi is the product of the negated ai with bi, which differs from the
// negated product under directed rounding.

// The general formula, the last rung: each product rounded on its own, the
// real part the difference ar br - ai bi, the imaginary part the sum
// ar bi + ai br, in that order of operands.
inline DComplex mul_general(const DComplex& a, const DComplex& b) {
    return DComplex(a.re * b.re - a.im * b.im, a.re * b.im + a.im * b.re);
}

// The whole ladder, inline, for call sites with a constant operand (the i of
// the inverse functions, the factor of log10): the compiler folds the tests
// on the constant and leaves only its own class's rungs.
inline DComplex mul_ladder(const DComplex& a, const DComplex& b) {
    if (has_nan_part(a) || has_nan_part(b)) return nan_pair();

    const bool a_re_zero = a.re == 0.0;
    const bool a_im_zero = a.im == 0.0;
    const bool b_re_zero = b.re == 0.0;
    const bool b_im_zero = b.im == 0.0;
    const bool a_real = a_im_zero && !a_re_zero;
    const bool a_imag = a_re_zero && !a_im_zero;
    const bool b_real = b_im_zero && !b_re_zero;
    const bool b_imag = b_re_zero && !b_im_zero;

    if (a_re_zero && a_im_zero) return DComplex(a.re * b.re, a.re * b.im);
    if (b_re_zero && b_im_zero) return DComplex(a.re * b.re, a.im * b.re);
    if (a_real && b_real) return DComplex(a.re * b.re, 0.0);
    if (a_imag && b_imag) return DComplex((-a.im) * b.im, 0.0);
    if (a_imag && b_real) return DComplex(0.0, a.im * b.re);
    if (a_real && b_imag) return DComplex(0.0, a.re * b.im);
    if (a_im_zero) return DComplex(a.re * b.re, a.re * b.im);
    if (b_im_zero) return DComplex(a.re * b.re, a.im * b.re);
    if (a_re_zero) return DComplex((-a.im) * b.im, a.im * b.re);
    if (b_re_zero) return DComplex((-a.im) * b.im, a.re * b.im);
    return mul_general(a, b);
}

// Whether no part of a or b is zero or NaN (|v| > 0 for all four). Then
// every test of the ladder fails and the general formula decides. With SSE2
// the four parts are compared in two packed comparisons (each value in one
// register, real part in the low lane), and one branch decides; elsewhere
// four comparisons are combined without branches.
#if defined(__SSE2__)
inline bool no_zero_or_nan_lane(__m128d a, __m128d b) {
    const __m128d magnitude = _mm_castsi128_pd(_mm_set1_epi64x(0x7fffffffffffffff));
    const __m128d zero = _mm_setzero_pd();
    const __m128d a_ok = _mm_cmplt_pd(zero, _mm_and_pd(a, magnitude));
    const __m128d b_ok = _mm_cmplt_pd(zero, _mm_and_pd(b, magnitude));
    return _mm_movemask_pd(_mm_and_pd(a_ok, b_ok)) == 3;
}
#endif
inline bool no_zero_or_nan_part(const DComplex& a, const DComplex& b) {
#if defined(__SSE2__)
    return no_zero_or_nan_lane(_mm_set_pd(a.im, a.re), _mm_set_pd(b.im, b.re));
#else
    return (real::fabs(a.re) > 0.0) & (real::fabs(a.im) > 0.0) & (real::fabs(b.re) > 0.0) &
           (real::fabs(b.im) > 0.0);
#endif
}

// The ladder for operands with a zero or NaN part (muldiv.cpp), out of line:
// one copy, reached from every product's common case.
DComplex mul_special(const DComplex& a, const DComplex& b);

inline DComplex mul(const DComplex& a, const DComplex& b) {
    if (no_zero_or_nan_part(a, b)) return mul_general(a, b);
    return mul_special(a, b);
}

// a / b:
//   any NaN part   -> (NaN, NaN)
//   b.im zero      -> (ar / br, ai / br); a zero divisor lands here and
//                     gives IEEE infinities or NaNs by the sign of br
//   b.re zero      -> (ai / bi, (-ar) / bi)
//   otherwise Smith's method: branch A when |bi| >= |br| (a tie goes to A),
//   branch B when |bi| < |br|; with t the ratio of the smaller part to the
//   larger, |t| <= 1, so no part of b is ever squared. t and d are rounded to
//   double before use; d is formed as (t*t + 1) * b.im (or b.re), not as
//   b.im + b.re * t, which rounds differently.
// Every rung of the quotient's ladder before Smith's method.
inline DComplex div_special(const DComplex& a, const DComplex& b) {
    if (has_nan_part(a) || has_nan_part(b)) return nan_pair();
    if (b.im == 0.0) return DComplex(a.re / b.re, a.im / b.re);
    return DComplex(a.im / b.im, (-a.re) / b.im);  // b.re is zero: div() tried the rest
}

inline DComplex div(const DComplex& a, const DComplex& b) {
    // Smith's method is reached exactly when no part is NaN and neither part
    // of the divisor is zero; |v| > 0 tests both at once for the divisor.
    if (!(real::fabs(b.re) > 0.0 && real::fabs(b.im) > 0.0 && !has_nan_part(a))) return div_special(a, b);

    // Branch A: t = br / bi, d = (t t + 1) bi, p = ar, q = ai.
    // Branch B: t = (-bi) / br, d = (t t + 1) br, p = -ai, q = ar.
    // The branch is chosen by selecting operands, so the same operations run
    // either way and no jump depends on the divisor's shape.
    const bool branch_a = real::fabs(b.im) >= real::fabs(b.re);
    const double ratio_numerator = select(branch_a, b.re, -b.im);
    const double larger = select(branch_a, b.im, b.re);
    const double t = ratio_numerator / larger;
    const double d = (t * t + 1.0) * larger;
    const double p = select(branch_a, a.re, -a.im);
    const double q = select(branch_a, a.im, a.re);
#if defined(__GNUC__)
    // Both parts divided by d in one packed division: each lane is rounded
    // exactly as a scalar division would be.
    typedef double Pair __attribute__((vector_size(2 * sizeof(double))));
    const Pair numerators = {p * t + q, q * t - p};
    const Pair denominators = {d, d};
    const Pair quotient = numerators / denominators;
    return DComplex(quotient[0], quotient[1]);
#else
    return DComplex((p * t + q) / d, (q * t - p) / d);
#endif
}

}  // namespace detail
}  // namespace zu

#endif  // ZU_COMPLEX_SRC_CORE_ARITH_H
