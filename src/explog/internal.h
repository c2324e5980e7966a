// Shared by the exponential, logarithm, root and power functions, and by the
// inverse circular functions built on them: the steps of sqrt and log inline,
// so that a caller that knows its operand has no NaN part enters them past
// that test.
#ifndef ZU_COMPLEX_SRC_EXPLOG_INTERNAL_H
#define ZU_COMPLEX_SRC_EXPLOG_INTERNAL_H

#include "fp/internal.h"
#include "polar/internal.h"

namespace zu {
namespace detail {

// The polar evaluation shared by sqrt and the powers: a modulus factor times
// the cosine and sine of an angle, with near-zero factors made exactly zero.
enum class FinalCheck { no, yes };

// rho * (cos phi, sin phi):
//   1. c = cos phi, then s = sin phi (the real functions, which may set errno
//      for an infinite phi: they are called before any check);
//   2. c, then s, replaced by exactly +0.0 when |factor| <= 2^-49 (a NaN
//      factor stays NaN);
//   3. with FinalCheck::yes only: (NaN, NaN) if rho or phi is NaN or phi is
//      infinite;
//   4. (rho * c, rho * s).
// Within 2^-49 of zero a cosine or sine factor is the rounding residue of an
// angle that is a multiple of pi/2 in exact arithmetic: cos(pi/2) in doubles
// is 6.1e-17, not 0. Inline, so the caller's one argument serves the cosine
// and the sine at once where the platform can.
inline double snap_to_zero(double factor) { return real::fabs(factor) <= kZeroSnap ? 0.0 : factor; }
inline DComplex polar_form(double rho, double phi, FinalCheck check) {
    const real::SinCos sc = real::sincos(phi);
    const double c = snap_to_zero(sc.cos);
    const double s = snap_to_zero(sc.sin);
    if (check == FinalCheck::yes && (is_nan(rho) || is_nan(phi) || is_infinite(phi))) return nan_pair();
    return DComplex(rho * c, rho * s);
}

// sqrt(z):
//   a NaN part       -> (NaN, NaN)
//   im == 0, re >= 0 -> (sqrt re, +0.0)
//   im == 0, re < 0  -> (+0.0, sqrt(-re))
//                       (the sign of a zero imaginary part is not used)
//   otherwise the polar form sqrt(abs z) * (cos h, sin h), h = arg(z) / 2,
//   with near-zero factors snapped, so an argument within about 2^-48 of 0
//   gives an exact +0.0 imaginary part and one near +-pi an exact +0.0 real
//   part. Both parts infinite give h = NaN and (NaN, NaN).
inline DComplex square_root(const DComplex& z) {
    if (has_nan_part(z)) return nan_pair();
    if (z.im == 0.0) {
        if (z.re >= 0.0) return DComplex(real::sqrt(z.re), 0.0);
        return DComplex(0.0, real::sqrt(-z.re));
    }
    // No NaN part and im != 0: abs and arg of z can only take their rungs
    // from the infinity tests on.
    const double r = real::sqrt(modulus_off_real_axis(z));
    const double h = argument_of_nonzero(z) / 2.0;
    return polar_form(r, h, FinalCheck::no);
}

// log(z) = (log abs z, arg z) for a z with no NaN part (log's first rung
// tests for one), given modulus = abs(z):
//   z == 0 -> (log 0, +0.0) = (-inf, +0.0): the argument of zero (NaN) is
//             not used, and no report is made
// Infinite parts need no test: abs gives +inf, and arg gives NaN when both
// parts are infinite.
inline DComplex log_with_modulus(const DComplex& z, double modulus) {
    const double modulus_log = real::log(modulus);
    if (z.im == 0.0 && z.re == 0.0) return DComplex(modulus_log, 0.0);
    return DComplex(modulus_log, argument_of_nonzero(z));
}

inline DComplex logarithm_of_non_nan(const DComplex& z) { return log_with_modulus(z, modulus_of_non_nan(z)); }

}  // namespace detail
}  // namespace zu

#endif  // ZU_COMPLEX_SRC_EXPLOG_INTERNAL_H
