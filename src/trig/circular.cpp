// Circular cosine, sine and tangent through the hyperbolic functions of the
// turned argument w = i z = (-y, x). All their special-value handling and
// overflow reports are those of cosh and sinh, made under those names with
// the turned argument.
#include "core/arith.h"
#include "fp/internal.h"
#include "trig/internal.h"

using namespace zu::detail;

namespace {
// i z, built directly from the parts: no product, so no sign of zero changes.
DComplex turned(const DComplex& z) { return DComplex(-z.im, z.re); }

// -i t, built directly: zero and NaN parts keep the signs t gives them.
DComplex turned_back(const DComplex& t) { return DComplex(t.im, -t.re); }
}  // namespace

// cos(z) = cosh(i z), returned unchanged.
DComplex cos(const DComplex& z) { return cosh(turned(z)); }

// sin(z) = -i sinh(i z):
//   a NaN part -> (NaN, NaN), without a report
//   otherwise (t.im, -t.re) for t = sinh(i z), not a product.
DComplex sin(const DComplex& z) {
    if (has_nan_part(z)) return nan_pair();
    return turned_back(sinh(turned(z)));
}

// tan(z) = sin(z) / cos(z), sin first, then cos; each may report first.
//   cos(z) != 0 -> the quotient
//   cos(z) == 0 -> singularity report, whatever sin(z) is; on a zero answer
//                  (NaN, NaN) if sin(z) is zero too, else P per part of
//                  sin(z): +inf, +0.0 for a zero, -inf otherwise
// On the ordinary path (no NaN part, |im| <= 710, finite re) sin and cos
// share the four real functions of one argument, computed once.
DComplex tan(const DComplex& z) {
    // The record holds z as it was on entry: the reports of sin and cos come
    // first, and a hook could change the caller's object meanwhile.
    c_exception e("tan", z);
    DComplex s, c;
    CoshSinh both;
    if (!has_nan_part(z) && ordinary_cosh_sinh(turned(z), both)) {
        s = turned_back(both.sinh);
        c = both.cosh;
    } else {
        s = sin(z);
        c = cos(z);
    }
    const DComplex zero(0.0);
    if (!equal(c, zero)) return div(s, c);
    const DComplex fallback = equal(s, zero) ? nan_pair() : DComplex(pole_default(s.re), pole_default(s.im));
    return report_singularity(e, fallback);
}
