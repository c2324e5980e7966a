// The complex exponential, on the real exp, cos and sin.
#include "fp/internal.h"

#include <cmath>

using namespace zu::detail;

// exp(z) = e^x (cos y, sin y), x = re, y = im:
//   x NaN, y NaN or y infinite, without a report:
//       y == 0     -> (NaN, +0.0), whatever the sign of the zero
//       x == -inf  -> (+0.0, +0.0)
//       otherwise  -> (NaN, NaN)
//   E = exp(x), Cy = cos(y), Sy = sin(y), in this order
//   Cy, Sy or E NaN -> (NaN, NaN)
//   E == 0          -> (+0.0, +0.0): underflow, x = -inf included; the signs
//                      of Cy and Sy are not used
//   E infinite      -> overflow report, default (S(Cy), S(Sy)): the signs of
//                      E*Cy and E*Sy with E = +inf, NaN for a zero factor
//   otherwise       -> (E*Cy, E*Sy)
// There is no fixed cut-off on x: the report comes exactly when the real exp
// overflows. An infinite x with a finite y reaches the real exp.
DComplex exp(const DComplex& z) {
    const double x = z.re;
    const double y = z.im;

    if (is_nan(x) || is_nan(y) || is_infinite(y)) {
        if (y == 0.0) return DComplex(nan(), 0.0);
        if (x < -kOverflowThreshold) return DComplex(0.0, 0.0);
        return nan_pair();
    }

    const double E = real::exp(x);
    const real::SinCos sc = real::sincos(y);
    const double Cy = sc.cos;
    const double Sy = sc.sin;
    if (is_nan(Cy) || is_nan(Sy) || is_nan(E)) return nan_pair();
    if (E == 0.0) return DComplex(0.0, 0.0);
    if (E > kOverflowThreshold) {
        c_exception e("exp", z);
        return report_overflow(e, DComplex(inf_signed_like(Cy), inf_signed_like(Sy)));
    }
    return DComplex(E * Cy, E * Sy);
}
