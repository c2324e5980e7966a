// The four powers. Each classifies its operands in a fixed order (a base with
// both parts infinite, then NaN parts, then zero bases and real operands),
// answers the special cases with fixed values and otherwise evaluates the
// principal value in polar form. They hand work to one another whenever an
// operand is real. None of them reports itself or writes errno; the real
// pow, exp, log, cos and sin are called exactly where the steps call them,
// so what those do to errno is what the caller sees.
#include "core/arith.h"
#include "explog/internal.h"
#include "fp/internal.h"

#include <climits>
#include <cmath>

using namespace zu::detail;

namespace {
bool both_parts_infinite(const DComplex& z) { return is_infinite(z.re) && is_infinite(z.im); }
}  // namespace

// pow(z, n):
//   both parts infinite       -> (NaN, NaN)
//   a NaN part                -> (NaN, NaN)
//   n == 0                    -> (1, 0)
//   n == 1                    -> z, unchanged
//   z == 0, n > 0             -> (0, 0)
//   z == 0, n < 0             -> (+inf, 0)
//   im == 0, re > 0           -> (pow(re, n), 0)
//   im == 0, re == -inf, n < 0 -> (0, 0)
//   otherwise: modulus |z|^n, angle |n| * arg(b), b = z for n > 0 and
//   b = 1 / z for n < 0, in checked polar form. So pow(i, -1) = (0, -1).
DComplex pow(const DComplex& z, int n) {
    if (both_parts_infinite(z)) return nan_pair();
    if (has_nan_part(z)) return nan_pair();
    if (n == 0) return DComplex(1.0, 0.0);
    if (n == 1) return z;
    if (z.im == 0.0) {
        if (z.re == 0.0 && n > 0) return DComplex(0.0, 0.0);
        if (z.re == 0.0 && n < 0) return DComplex(inf(), 0.0);
        if (z.re > 0.0) return DComplex(real::pow(z.re, static_cast<double>(n)), 0.0);
        if (z.re < 0.0 && n < 0 && is_infinite(z.re)) return DComplex(0.0, 0.0);
    }
    const DComplex b = n > 0 ? z : div(DComplex(1.0), z);
    const double exponent = static_cast<double>(n);  // before the sign is dropped: |INT_MIN| fits
    // Past the NaN test: abs(z) need not repeat it (abs and arg inline,
    // polar/internal.h); the same below.
    const double rho = real::pow(modulus_of_non_nan(z), exponent);
    const double phi = argument(b) * real::fabs(exponent);
    return polar_form(rho, phi, FinalCheck::yes);
}

// pow(z, y):
//   both parts infinite          -> (NaN, NaN)
//   a NaN part or y NaN          -> (NaN, NaN)
//   y finite and integral, within the range of int -> pow(z, int(y))
//   z == 0, y > 0                -> (0, 0)
//   z == 0, y < 0                -> (+inf, 0)
//   im == 0, re > 0              -> (pow(re, y), 0)
//   im == 0, re < 0, y infinite  -> (NaN, 0)
//   im == 0, re == -inf, y < 0   -> (0, 0)
//   otherwise: modulus |z|^y, angle y * arg(z) (no reciprocal), checked
//   polar form.
// An integral y outside the range of int is never converted: the rows after
// the hand-off decide for it as for any other exponent.
DComplex pow(const DComplex& z, double y) {
    if (both_parts_infinite(z)) return nan_pair();
    if (has_nan_part(z) || is_nan(y)) return nan_pair();
    if (!is_infinite(y) && real::floor(y) == y && y >= static_cast<double>(INT_MIN) &&
        y <= static_cast<double>(INT_MAX)) {
        return pow(z, static_cast<int>(y));
    }
    if (z.im == 0.0) {
        if (z.re == 0.0 && y > 0.0) return DComplex(0.0, 0.0);
        if (z.re == 0.0 && y < 0.0) return DComplex(inf(), 0.0);
        if (z.re > 0.0) return DComplex(real::pow(z.re, y), 0.0);
        if (z.re < 0.0 && is_infinite(y)) return DComplex(nan(), 0.0);
        if (z.re < 0.0 && y < 0.0 && is_infinite(z.re)) return DComplex(0.0, 0.0);
    }
    const double rho = real::pow(modulus_of_non_nan(z), y);
    const double phi = argument(z) * y;
    return polar_form(rho, phi, FinalCheck::yes);
}

// pow(x, w), real base:
//   x infinite                -> (NaN, NaN)
//   x, w.re or w.im NaN       -> (NaN, NaN)
//   w.im == 0                 -> (pow(x, w.re), 0), the real pow for every x
//   x == 0, w.re > 0          -> (0, 0)
//   x == 0, w.re <= 0         -> (NaN, NaN)
//   x > 0                     -> exp(w * log x), the complex exp (which may
//                                report an overflow under its own name)
//   x < 0                     -> e^(-w.im pi) (-x)^w.re (cos T, sin T),
//                                T = log(-x) w.im + w.re pi, unsnapped and
//                                unchecked
DComplex pow(double x, const DComplex& w) {
    if (is_infinite(x)) return nan_pair();
    if (is_nan(x) || is_nan(w.re) || is_nan(w.im)) return nan_pair();
    if (w.im == 0.0) return DComplex(real::pow(x, w.re), 0.0);
    if (x == 0.0 && w.re > 0.0) return DComplex(0.0, 0.0);
    if (x == 0.0) return nan_pair();
    if (x > 0.0) return exp(mul_ladder(w, DComplex(real::log(x))));  // the ladder inline: the imaginary part is +0

    const double m = real::pow(-x, w.re);
    const double R = real::exp((-w.im) * kPi) * m;
    const double theta = real::log(-x) * w.im + w.re * kPi;
    const real::SinCos sc = real::sincos(theta);
    const double c = sc.cos;
    const double s = sc.sin;
    return DComplex(R * c, R * s);
}

// pow(z, w):
//   both parts of z infinite  -> (NaN, NaN)
//   any NaN part              -> (NaN, NaN)
//   w.im == 0                 -> pow(z, w.re); tested first, so two real
//                                operands take the real-exponent overload
//   z.im == 0                 -> pow(z.re, w)
//   otherwise: R = e^(-w.im theta) rho^w.re, T = log(rho) w.im + w.re theta
//   with rho = abs z and theta = arg z, in snapped but unchecked polar form.
DComplex pow(const DComplex& z, const DComplex& w) {
    if (both_parts_infinite(z)) return nan_pair();
    if (has_nan_part(z) || has_nan_part(w)) return nan_pair();
    if (w.im == 0.0) return pow(z, w.re);
    if (z.im == 0.0) return pow(z.re, w);

    const double rho = modulus_of_non_nan(z);
    const double theta = argument(z);
    const double m = real::pow(rho, w.re);
    const double R = real::exp((-w.im) * theta) * m;
    const double angle = real::log(rho) * w.im + w.re * theta;
    return polar_form(R, angle, FinalCheck::no);
}
