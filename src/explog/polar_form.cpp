#include "explog/internal.h"

#include "fp/internal.h"

#include <cmath>

namespace zu {
namespace detail {

namespace {
// Within 2^-49 of zero a cosine or sine factor is the rounding residue of an
// angle that is a multiple of pi/2 in exact arithmetic: cos(pi/2) in doubles
// is 6.1e-17, not 0.
double snap(double factor) { return real::fabs(factor) <= kZeroSnap ? 0.0 : factor; }
}  // namespace

DComplex polar_form(double rho, double phi, FinalCheck check) {
    double c = real::cos(phi);
    double s = real::sin(phi);
    c = snap(c);
    s = snap(s);
    if (check == FinalCheck::yes && (is_nan(rho) || is_nan(phi) || is_infinite(phi))) return nan_pair();
    return DComplex(rho * c, rho * s);
}

}  // namespace detail
}  // namespace zu
