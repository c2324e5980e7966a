// Hyperbolic cosine, sine and tangent. cosh and sinh are built on the real
// cos, sin, cosh and sinh; tanh is their quotient.
#include "fp/internal.h"

#include <cmath>

using namespace zu::detail;

namespace {

enum class Kind { cosh, sinh };

// cosh(z) = (cosh x cos y, sinh x sin y), sinh(z) = (sinh x cos y, cosh x sin y),
// x = re, y = im. Both take the same ladder:
//   x NaN, y NaN or y infinite, without a report:
//       y == 0 (x is NaN) -> (NaN, +0.0), whatever the sign of the zero
//       otherwise         -> (NaN, NaN)
//   cos y or sin y NaN    -> (NaN, NaN), without a report
//   x > 710 or x < -710   -> overflow report; the default is the signs the
//                            products take as x grows beyond the cut-off (cosh
//                            x is positive on both sides, sinh x has the sign
//                            of x), NaN for a zero factor
//   otherwise             -> the products; within +-710 neither real function
//                            overflows, and neither product can
// An infinite x with a finite y is not caught early: it is an overflow.
DComplex hyperbolic(const DComplex& z, Kind kind) {
    c_exception e(kind == Kind::cosh ? "cosh" : "sinh", z);
    const double x = z.re;
    const double y = z.im;

    if (is_nan(x) || is_nan(y) || is_infinite(y)) {
        if (!is_nan(y) && y == 0.0) return DComplex(nan(), 0.0);
        return nan_pair();
    }

    const double cos_y = std::cos(y);
    const double sin_y = std::sin(y);
    if (is_nan(cos_y) || is_nan(sin_y)) return nan_pair();

    if (x > kHyperbolicCutoff) {
        return report_overflow(e, DComplex(inf_signed_like(cos_y), inf_signed_like(sin_y)));
    }
    if (x < -kHyperbolicCutoff) {
        const DComplex fallback = kind == Kind::cosh
                                      ? DComplex(inf_signed_like(cos_y), inf_signed_against(sin_y))
                                      : DComplex(inf_signed_against(cos_y), inf_signed_like(sin_y));
        return report_overflow(e, fallback);
    }

    if (kind == Kind::cosh) return DComplex(std::cosh(x) * cos_y, std::sinh(x) * sin_y);
    return DComplex(std::sinh(x) * cos_y, std::cosh(x) * sin_y);
}

}  // namespace

DComplex cosh(const DComplex& z) { return hyperbolic(z, Kind::cosh); }

DComplex sinh(const DComplex& z) { return hyperbolic(z, Kind::sinh); }

// tanh(z) = sinh(z) / cosh(z), sinh first, then cosh; each may report an
// overflow of its own first.
//   cosh(z) != 0          -> the quotient
//   cosh(z) == 0 == sinh  -> (NaN, NaN), without a report (0/0)
//   cosh(z) == 0 only     -> singularity report; default P per part of
//                            sinh(z): +inf, +0.0 for a zero, -inf otherwise
DComplex tanh(const DComplex& z) {
    c_exception e("tanh", z);
    const DComplex sh = sinh(z);
    const DComplex ch = cosh(z);
    const DComplex zero(0.0);
    if (ch != zero) return sh / ch;
    if (sh == zero) return nan_pair();
    return report_singularity(e, DComplex(pole_default(sh.re), pole_default(sh.im)));
}
