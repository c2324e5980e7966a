// Square root and the complex hypotenuse built on it. Neither reports.
#include "core/arith.h"
#include "explog/internal.h"
#include "fp/internal.h"

#include <cmath>

using namespace zu::detail;

// sqrt(z):
//   a NaN part      -> (NaN, NaN)
//   im == 0, re >= 0 -> (sqrt re, +0.0)
//   im == 0, re < 0  -> (+0.0, sqrt(-re))
//                      (the sign of a zero imaginary part is not used)
//   otherwise the polar form sqrt(abs z) * (cos h, sin h), h = arg(z) / 2,
//   with near-zero factors snapped, so an argument within about 2^-48 of 0
//   gives an exact +0.0 imaginary part and one near +-pi an exact +0.0 real
//   part. Both parts infinite give h = NaN and (NaN, NaN).
DComplex sqrt(const DComplex& z) {
    if (has_nan_part(z)) return nan_pair();
    if (z.im == 0.0) {
        if (z.re >= 0.0) return DComplex(real::sqrt(z.re), 0.0);
        return DComplex(0.0, real::sqrt(-z.re));
    }
    const double r = real::sqrt(abs(z));
    const double h = arg(z) / 2.0;
    return polar_form(r, h, FinalCheck::no);
}

// hypot(a, b) = sqrt(a*a + b*b) in complex arithmetic, b*b formed first and
// a*a the left operand of the sum. Unscaled, and not a modulus: for complex
// arguments the result is complex in general, and it can be zero for
// non-zero arguments (hypot((1,1), (1,-1)) = 0).
DComplex hypot(const DComplex& a, const DComplex& b) {
    const DComplex bb = mul(b, b);
    const DComplex aa = mul(a, a);
    return sqrt(add(aa, bb));
}
