// Natural and common logarithm, on abs and arg. Neither reports; whatever the
// real log does to errno (a pole error for the logarithm of zero) stays.
#include "core/arith.h"
#include "explog/internal.h"
#include "fp/internal.h"

#include <cmath>

using namespace zu::detail;

// log(z) = (log abs z, arg z):
//   a NaN part -> (NaN, NaN)
//   z == 0     -> (log 0, +0.0) = (-inf, +0.0): the argument of zero (NaN) is
//                 not used, and no report is made
// Infinite parts need no test: abs gives +inf, and arg gives NaN when both
// parts are infinite.
DComplex log(const DComplex& z) {
    if (has_nan_part(z)) return nan_pair();
    if (z.im == 0.0 && z.re == 0.0) return DComplex(real::log(abs(z)), 0.0);
    return log_with_modulus(z, abs(z));
}

DComplex zu::detail::log_with_modulus(const DComplex& z, double modulus) {
    const double modulus_log = real::log(modulus);
    return DComplex(modulus_log, arg(z));
}

// log10(z) = log10(e) * log(z) as a complex product: the constant is purely
// real, so a zero part of log(z) gives +0.0 without an inf * 0, and a NaN
// part of log(z) makes both parts NaN.
DComplex log10(const DComplex& z) { return mul(DComplex(kLog10e), log(z)); }
