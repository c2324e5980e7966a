// Modulus, squared modulus and argument. Each classifies its operand before
// it computes; none reports or touches errno itself.
#include "core/arith.h"

#include <cmath>

using zu::detail::inf;
using zu::detail::is_infinite;
using zu::detail::is_nan;
using zu::detail::nan;
using zu::detail::select;

// abs(z), with the larger part factored out so that no part is squared:
//   a NaN part            -> NaN (before the infinity test: abs(NaN, inf) is NaN)
//   an infinite part      -> +inf
//   im == 0               -> re, negated if it is below zero
//   re == 0               -> |im|
//   otherwise             x * sqrt(1 + t*t), x the larger magnitude, t = y / x
// A part is negated only when it compares below zero, so a -0.0 real part
// comes back as -0.0: abs(-0.0, 0) is -0.0, abs(0, -0.0) is +0.0. Past the
// im == 0 rung that distinction is gone (im is not zero, and a zero re
// returns |im|), so the magnitudes are taken with fabs and the exchange is a
// pair of selections: no branch on the signs or the order of the parts.
double abs(const DComplex& z) {
    if (is_nan(z.re) || is_nan(z.im)) return nan();
    if (is_infinite(z.re) || is_infinite(z.im)) return inf();

    if (z.im == 0.0) return z.re < 0.0 ? -z.re : z.re;
    const double x = zu::real::fabs(z.re);
    const double y = zu::real::fabs(z.im);
    if (x == 0.0) return y;
    const bool exchange = x < y;  // equal parts are not exchanged
    const double larger = select(exchange, y, x);
    const double smaller = select(exchange, x, y);
    const double t = smaller / larger;
    return larger * zu::real::sqrt(1.0 + t * t);
}

// norm(z) = re*re + im*im, unscaled: parts above about 1.34e154 give +inf and
// tiny parts underflow.
//   a NaN part -> NaN; an infinite part -> +inf
double norm(const DComplex& z) {
    // Computed first, checked after: the sum of two squares is NaN exactly
    // when a part is NaN, and otherwise +inf whenever a part is infinite,
    // the very +inf of the library's table (only the NaN's bits must be
    // replaced by the table's).
    const double sum = z.re * z.re + z.im * z.im;
    if (is_nan(sum)) return nan();
    return sum;
}

// arg(z) = atan2(im, re), with the real atan2's signed zeros and infinities:
//   a NaN part            -> NaN
//   both parts infinite   -> NaN (one infinite part goes on to atan2)
//   (+-0, +-0)            -> NaN: the argument of zero is undefined, not 0
double arg(const DComplex& z) {
    if (is_nan(z.re) || is_nan(z.im)) return nan();
    if (is_infinite(z.re) && is_infinite(z.im)) return nan();
    if (z.im == 0.0 && z.re == 0.0) return nan();
    return zu::real::atan2(z.im, z.re);
}
