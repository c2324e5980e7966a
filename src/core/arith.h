// The library's complex arithmetic as inline functions: the exported
// operators are defined with them, and the library's own hot paths (the
// tangents, the inverse functions, the powers) call them directly instead of
// going out of line for every product and quotient. One definition each, so
// the exported operator and the inline use are the same steps, bit for bit.
#ifndef ZU_COMPLEX_SRC_CORE_ARITH_H
#define ZU_COMPLEX_SRC_CORE_ARITH_H

#include "fp/internal.h"

#include <cmath>

namespace zu {
namespace detail {

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
DComplex mul_ladder(const DComplex& a, const DComplex& b);

inline DComplex mul(const DComplex& a, const DComplex& b) {
    // The common case first: when no part is zero or NaN (|v| > 0 fails for
    // both), every test of the ladder fails and the general formula decides,
    // so taking it at once gives the same bits.
    if (std::fabs(a.re) > 0.0 && std::fabs(a.im) > 0.0 && std::fabs(b.re) > 0.0 && std::fabs(b.im) > 0.0) {
        return DComplex(a.re * b.re - a.im * b.im, a.re * b.im + a.im * b.re);
    }
    return mul_ladder(a, b);
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
DComplex div_special(const DComplex& a, const DComplex& b);

inline DComplex div(const DComplex& a, const DComplex& b) {
    // Smith's method is reached exactly when no part is NaN and neither part
    // of the divisor is zero; |v| > 0 tests both at once for the divisor.
    if (!(std::fabs(b.re) > 0.0 && std::fabs(b.im) > 0.0 && !has_nan_part(a))) return div_special(a, b);

    double t, d, p, q;
    if (std::fabs(b.im) >= std::fabs(b.re)) {
        t = b.re / b.im;
        d = (t * t + 1.0) * b.im;
        p = a.re;
        q = a.im;
    } else {
        t = (-b.im) / b.re;
        d = (t * t + 1.0) * b.re;
        p = -a.im;
        q = a.re;
    }
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
