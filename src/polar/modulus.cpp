// Modulus, squared modulus and argument. Each classifies its operand before
// it computes; none reports or touches errno itself.
#include "polar/internal.h"

using zu::detail::argument;
using zu::detail::is_nan;
using zu::detail::modulus;
using zu::detail::nan;

// abs(z) and arg(z): the steps are in polar/internal.h.
double abs(const DComplex& z) { return modulus(z); }

// norm(z) = re*re + im*im, unscaled: parts above about 1.34e154 give +inf and
// tiny parts underflow.
//   a NaN part -> NaN; an infinite part -> +inf
double norm(const DComplex& z) {
    // Computed first, checked after: the sum of two squares is NaN exactly
    // when a part is NaN, and otherwise +inf whenever a part is infinite,
    // the very +inf of the library's table (only the NaN's bits must be
    // replaced by the table's).
    const double sum = z.re * z.re + z.im * z.im;
    if (is_nan(sum)) return nan();
    return sum;
}

double arg(const DComplex& z) { return argument(z); }
