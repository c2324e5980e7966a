// The modulus and the argument as inline steps: the exported abs and arg are
// defined with them, and the functions built on them (sqrt, log, the powers,
// acos, asin) enter them past the rungs that cannot fire for their operands.
#ifndef ZU_COMPLEX_SRC_POLAR_INTERNAL_H
#define ZU_COMPLEX_SRC_POLAR_INTERNAL_H

#include "core/arith.h"

namespace zu {
namespace detail {

// abs(z) for a z with no NaN part and a non-zero imaginary part, from the
// infinity test on:
//   an infinite part -> +inf
//   re == 0          -> |im|
//   otherwise        x * sqrt(1 + t*t), x the larger magnitude, t = y / x
// (equal magnitudes are not exchanged; either way x is the same double).
inline double modulus_off_real_axis(const DComplex& z) {
    const double x = real::fabs(z.re);
    const double y = real::fabs(z.im);
    const double big = larger(x, y);
    if (big > kOverflowThreshold) return inf();
    if (x == 0.0) return y;
    const double t = smaller(x, y) / big;
    return big * real::sqrt(1.0 + t * t);
}

// abs(z), with the larger part factored out so that no part is squared:
//   a NaN part       -> NaN (before the infinity test: abs(NaN, inf) is NaN)
//   an infinite part -> +inf
//   im == 0          -> re, negated if it is below zero
//   then as above
// A part is negated only when it compares below zero, so a -0.0 real part
// comes back as -0.0: abs(-0.0, 0) is -0.0, abs(0, -0.0) is +0.0. Past the
// im == 0 rung that distinction is gone (im is not zero, and a zero re
// returns |im|), so the magnitudes are taken with fabs.
inline double modulus_of_non_nan(const DComplex& z) {
    if (z.im == 0.0) {
        if (is_infinite(z.re)) return inf();
        return z.re < 0.0 ? -z.re : z.re;
    }
    return modulus_off_real_axis(z);
}
inline double modulus(const DComplex& z) {
    if (is_nan(z.re) || is_nan(z.im)) return nan();
    return modulus_of_non_nan(z);
}

// arg(z) for a z with no NaN part that is not zero:
//   both parts infinite -> NaN (one infinite part goes on to atan2)
//   otherwise           -> atan2(im, re), with its signed zeros and infinities
inline double argument_of_nonzero(const DComplex& z) {
    if (smaller(real::fabs(z.re), real::fabs(z.im)) > kOverflowThreshold) return nan();  // both infinite
    return real::atan2(z.im, z.re);
}

// arg(z):
//   a NaN part            -> NaN
//   both parts infinite   -> NaN
//   (+-0, +-0)            -> NaN: the argument of zero is undefined, not 0
//   otherwise             -> atan2(im, re)
inline double argument(const DComplex& z) {
    if (is_nan(z.re) || is_nan(z.im)) return nan();
    if (is_infinite(z.re) && is_infinite(z.im)) return nan();
    if (z.im == 0.0 && z.re == 0.0) return nan();
    return real::atan2(z.im, z.re);
}

}  // namespace detail
}  // namespace zu

#endif  // ZU_COMPLEX_SRC_POLAR_INTERNAL_H
