// Modulus, squared modulus and argument. Each classifies its operand before
// it computes; none reports or touches errno itself.
#include "fp/internal.h"

#include <cmath>

using zu::detail::inf;
using zu::detail::is_infinite;
using zu::detail::is_ordinary;
using zu::detail::is_nan;
using zu::detail::nan;

// abs(z), with the larger part factored out so that no part is squared:
//   a NaN part            -> NaN (before the infinity test: abs(NaN, inf) is NaN)
//   an infinite part      -> +inf
//   im == 0               -> |re|
//   re == 0               -> |im|
//   otherwise             x * sqrt(1 + t*t), x the larger magnitude, t = y / x
// A part is negated only when it compares below zero, so a -0.0 real part
// comes back as -0.0: abs(-0.0, 0) is -0.0, abs(0, -0.0) is +0.0.
double abs(const DComplex& z) {
    if (is_nan(z.re) || is_nan(z.im)) return nan();
    if (is_infinite(z.re) || is_infinite(z.im)) return inf();

    double x = z.re;
    if (x < 0.0) x = -x;
    if (z.im == 0.0) return x;
    double y = z.im;
    if (y < 0.0) y = -y;
    if (x == 0.0) return y;
    if (x < y) {  // equal parts are not exchanged
        const double larger = y;
        y = x;
        x = larger;
    }
    const double t = y / x;
    return x * std::sqrt(1.0 + t * t);
}

// norm(z) = re*re + im*im, unscaled: parts above about 1.34e154 give +inf and
// tiny parts underflow.
//   a NaN part -> NaN; an infinite part -> +inf
double norm(const DComplex& z) {
    // Both parts finite: the ladder would reach the sum of squares, so go
    // there at once.
    if (is_ordinary(z.re) && is_ordinary(z.im)) {
        return z.re * z.re + z.im * z.im;
    }
    if (is_nan(z.re) || is_nan(z.im)) return nan();
    if (is_infinite(z.re) || is_infinite(z.im)) return inf();
    return z.re * z.re + z.im * z.im;
}

// arg(z) = atan2(im, re), with the real atan2's signed zeros and infinities:
//   a NaN part            -> NaN
//   both parts infinite   -> NaN (one infinite part goes on to atan2)
//   (+-0, +-0)            -> NaN: the argument of zero is undefined, not 0
double arg(const DComplex& z) {
    if (is_nan(z.re) || is_nan(z.im)) return nan();
    if (is_infinite(z.re) && is_infinite(z.im)) return nan();
    if (z.im == 0.0 && z.re == 0.0) return nan();
    return std::atan2(z.im, z.re);
}
