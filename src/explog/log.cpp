// Natural and common logarithm, on abs and arg. Neither reports; whatever the
// real log does to errno (a pole error for the logarithm of zero) stays.
#include "core/arith.h"
#include "explog/internal.h"
#include "fp/internal.h"

using namespace zu::detail;

// log(z) = (log abs z, arg z):
//   a NaN part -> (NaN, NaN)
//   then as logarithm_of_non_nan (explog/internal.h)
DComplex log(const DComplex& z) {
    if (has_nan_part(z)) return nan_pair();
    return logarithm_of_non_nan(z);
}

// log10(z) = log10(e) * log(z) as a complex product: the constant is purely
// real, so a zero part of log(z) gives +0.0 without an inf * 0, and a NaN
// part of log(z) makes both parts NaN.
DComplex log10(const DComplex& z) { return mul_ladder(DComplex(kLog10e), log(z)); }
