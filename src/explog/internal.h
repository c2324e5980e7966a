// Shared by the exponential, logarithm, root and power functions, and by the
// inverse circular functions built on them.
#ifndef ZU_COMPLEX_SRC_EXPLOG_INTERNAL_H
#define ZU_COMPLEX_SRC_EXPLOG_INTERNAL_H

#include "zu_complex.h"

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
DComplex polar_form(double rho, double phi, FinalCheck check);

// log(z) for a z with no NaN part that is not zero, given modulus = abs(z):
// (log modulus, arg z), the last rung of log's ladder. For callers that
// already hold the modulus.
DComplex log_with_modulus(const DComplex& z, double modulus);

}  // namespace detail
}  // namespace zu

#endif  // ZU_COMPLEX_SRC_EXPLOG_INTERNAL_H
