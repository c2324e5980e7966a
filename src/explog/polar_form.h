// The polar evaluation shared by sqrt and the powers: a modulus factor times
// the cosine and sine of an angle, with near-zero factors made exactly zero.
#ifndef ZU_COMPLEX_SRC_EXPLOG_POLAR_FORM_H
#define ZU_COMPLEX_SRC_EXPLOG_POLAR_FORM_H

#include "zu_complex.h"

namespace zu {
namespace detail {

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

}  // namespace detail
}  // namespace zu

#endif  // ZU_COMPLEX_SRC_EXPLOG_POLAR_FORM_H
