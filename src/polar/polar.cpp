// Construction from polar coordinates.
#include "fp/internal.h"

#include <cmath>

using zu::detail::is_infinite;
using zu::detail::is_nan;
using zu::detail::nan_pair;

// polar(r, theta) = (r cos theta, r sin theta):
//   theta infinite, r NaN or theta NaN -> (NaN, NaN)
//   r == 0                             -> (+0.0, +0.0)
// r is tested neither for infinity nor for sign: r = +inf with theta = 0
// gives (+inf, NaN) through inf * sin 0, and a negative r gives the point
// opposite to theta.
DComplex polar(double r, double theta) {
    if (is_infinite(theta) || is_nan(r) || is_nan(theta)) return nan_pair();
    if (r == 0.0) return DComplex(0.0, 0.0);
    const zu::real::SinCos sc = zu::real::sincos(theta);  // the sine first
    const double s = sc.sin;
    const double c = sc.cos;
    return DComplex(r * c, r * s);
}
