// Hyperbolic cosine, sine and tangent. cosh and sinh are built on the real
// cos, sin, cosh and sinh; tanh is their quotient.
#include "core/arith.h"
#include "fp/internal.h"
#include "trig/internal.h"

#include <cmath>

using namespace zu::detail;

namespace {

enum class Kind { cosh, sinh };

// The values of both functions on their ordinary path, from cos y, sin y,
// cosh x and sinh x.
CoshSinh ordinary_values(double x, double cos_y, double sin_y) {
    const double cosh_x = real::cosh(x);
    const double sinh_x = real::sinh(x);
    return CoshSinh{DComplex(cosh_x * cos_y, sinh_x * sin_y), DComplex(sinh_x * cos_y, cosh_x * sin_y)};
}

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
    const double x = z.re;
    const double y = z.im;

    if (is_nan(x) || is_nan(y) || is_infinite(y)) {
        if (!is_nan(y) && y == 0.0) return DComplex(nan(), 0.0);
        return nan_pair();
    }

    const real::SinCos sc = real::sincos(y);
    const double cos_y = sc.cos;
    const double sin_y = sc.sin;
    if (is_nan(cos_y) || is_nan(sin_y)) return nan_pair();

    if (x > kHyperbolicCutoff || x < -kHyperbolicCutoff) {
        c_exception e(kind == Kind::cosh ? "cosh" : "sinh", z);
        DComplex fallback;
        if (x > kHyperbolicCutoff) {
            fallback = DComplex(inf_signed_like(cos_y), inf_signed_like(sin_y));
        } else if (kind == Kind::cosh) {
            fallback = DComplex(inf_signed_like(cos_y), inf_signed_against(sin_y));
        } else {
            fallback = DComplex(inf_signed_against(cos_y), inf_signed_like(sin_y));
        }
        return report_overflow(e, fallback);
    }

    const CoshSinh values = ordinary_values(x, cos_y, sin_y);
    return kind == Kind::cosh ? values.cosh : values.sinh;
}

}  // namespace

namespace zu {
namespace detail {

bool ordinary_cosh_sinh(const DComplex& z, CoshSinh& out) {
    const double x = z.re;
    const double y = z.im;
    // Written so that a NaN x fails the range test.
    if (is_nan(y) || is_infinite(y) || !(x >= -kHyperbolicCutoff && x <= kHyperbolicCutoff)) return false;
    const real::SinCos sc = real::sincos(y);
    const double cos_y = sc.cos;
    const double sin_y = sc.sin;
    if (is_nan(cos_y) || is_nan(sin_y)) return false;
    out = ordinary_values(x, cos_y, sin_y);
    return true;
}

}  // namespace detail
}  // namespace zu

DComplex cosh(const DComplex& z) { return hyperbolic(z, Kind::cosh); }

DComplex sinh(const DComplex& z) { return hyperbolic(z, Kind::sinh); }

// tanh(z) = sinh(z) / cosh(z), sinh first, then cosh; each may report an
// overflow of its own first.
//   cosh(z) != 0          -> the quotient
//   cosh(z) == 0 == sinh  -> (NaN, NaN), without a report (0/0)
//   cosh(z) == 0 only     -> singularity report; default P per part of
//                            sinh(z): +inf, +0.0 for a zero, -inf otherwise
DComplex tanh(const DComplex& z) {
    // The record holds z as it was on entry: the reports of sinh and cosh
    // come first, and a hook could change the caller's object meanwhile.
    c_exception e("tanh", z);
    CoshSinh both;
    if (!ordinary_cosh_sinh(z, both)) {
        both.sinh = sinh(z);
        both.cosh = cosh(z);
    }
    const DComplex& sh = both.sinh;
    const DComplex& ch = both.cosh;
    const DComplex zero(0.0);
    if (!equal(ch, zero)) return div(sh, ch);
    if (equal(sh, zero)) return nan_pair();
    return report_singularity(e, DComplex(pole_default(sh.re), pole_default(sh.im)));
}
